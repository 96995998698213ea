#ifndef ZKDB_TABLES_SQLSTATEMENT_H
#define ZKDB_TABLES_SQLSTATEMENT_H

// Statement forming for the access classes: a template with "%s" and "%d"
// placeholders filled in with quoted-safe texts and decimal integers.
// Internal: not installed, not exported.

#include <initializer_list>
#include <string>

namespace zkdb {
namespace frame {

/// One value for a statement template: a text or an integer.
///
/// A text value holds a pointer to the caller's string, not a copy, so the
/// string must outlive the formStatement() call that reads it. Passing a
/// temporary (a getter's return value) inside the braced list of the call is
/// safe: temporaries live until the end of the full expression. A SqlValue
/// is never to be kept beyond the call.
class SqlValue {
public:
    SqlValue(const std::string& text) : m_text(&text), m_number(0) {}  // NOLINT: implicit by design
    SqlValue(int number) : m_text(nullptr), m_number(number) {}        // NOLINT: implicit by design

    const std::string* text() const { return m_text; }
    int number() const { return m_number; }

private:
    const std::string* m_text;  // null for an integer
    int m_number;
};

/// Forms a statement from `pattern`, in which each "%s" or "%d" takes the
/// next value, in order, and "%%" stands for one '%'.
///
/// A text value contributes its characters up to its first NUL, with every
/// single quote doubled, so that it stands unchanged inside the quotes that
/// the pattern puts around it. An integer is written in decimal with a
/// leading '-' when negative. The result grows to fit: no value is refused
/// or cut for its length. A placeholder without a value writes nothing.
std::string formStatement(const char* pattern, std::initializer_list<SqlValue> values);

}  // namespace frame
}  // namespace zkdb

#endif  // ZKDB_TABLES_SQLSTATEMENT_H
