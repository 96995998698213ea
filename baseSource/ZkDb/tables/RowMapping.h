#ifndef ZKDB_TABLES_ROWMAPPING_H
#define ZKDB_TABLES_ROWMAPPING_H

// Mapping of result rows to records by column name: each table describes
// its columns once, as a list of Column entries, and a RowMapper sets a
// record's fields from a row by those names. Internal: not installed, not
// exported.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

#include "ZkDb/storage/ResultRows.h"

namespace zkdb {
namespace frame {

/// Reads an integer column's text the way a string stream's `int`
/// extraction does: leading white space skipped, an optional sign, decimal
/// digits up to the first other character; text that does not begin with a
/// number gives 0, and a number out of range gives the nearest bound.
int parseInt(const std::string& text);

/// How one column of a row reaches a record of type Po.
template <class Po>
struct Column {
    const char* name;
    void (Po::*setText)(std::string);  // text column, or null
    void (Po::*setInt)(int);           // integer column, or null
    const char* whenEmpty;             // text stored instead of empty text, or null
};

/// A text column: set through its setter, empty text included.
template <class Po>
constexpr Column<Po> text(const char* name, void (Po::*setter)(std::string)) {
    return Column<Po>{name, setter, nullptr, nullptr};
}

/// A text column whose empty (or missing) text is read as `whenEmpty`.
template <class Po>
constexpr Column<Po> textOr(const char* name, void (Po::*setter)(std::string),
                            const char* whenEmpty) {
    return Column<Po>{name, setter, nullptr, whenEmpty};
}

/// An integer column: set only from non-empty text, by parseInt().
template <class Po>
constexpr Column<Po> integer(const char* name, void (Po::*setter)(int)) {
    return Column<Po>{name, nullptr, setter, nullptr};
}

/// Maps rows into records of type Po by column name.
///
/// A row's map keeps its keys in name order, so the mapper sorts the
/// columns by name once and then matches a whole row in one ordered walk,
/// instead of one tree look-up per column. The fields are then set in the
/// order the columns are given. A column missing from the row reads as empty
/// text: a text field is set to "" (or to the column's `whenEmpty` text), an
/// integer field is left as it was.
template <class Po, std::size_t N>
class RowMapper {
public:
    using Row = ResultRows::value_type;

    explicit RowMapper(const Column<Po> (&columns)[N]) : m_columns(columns) {
        for (std::size_t i = 0; i < N; ++i) {
            m_byName[i] = i;
            m_length[i] = std::strlen(columns[i].name);
        }
        // Ties keep the order given, so the last of several columns with
        // one name is the last to read its text.
        std::sort(m_byName.begin(), m_byName.end(), [&columns](std::size_t a, std::size_t b) {
            const int order = std::strcmp(columns[a].name, columns[b].name);
            return order < 0 || (order == 0 && a < b);
        });
        for (std::size_t k = 0; k < N; ++k) {
            m_lastReader[m_byName[k]] =
                k + 1 == N ||
                std::strcmp(columns[m_byName[k]].name, columns[m_byName[k + 1]].name) != 0;
        }
    }

    /// Maps `row` into `record`; `row` is only read.
    void copy(const Row& row, Po& record) const {
        const std::string* values[N] = {};
        locate(row, values);
        apply(values, record);
    }

    /// Maps `row` into `record`, moving texts out of `row` instead of
    /// copying them; use it for a row that is not read again.
    void consume(Row& row, Po& record) const {
        std::string* values[N] = {};
        locate(row, values);
        apply(values, record);
    }

private:
    // values[i] becomes the row's text for column i, or stays null when the
    // row has no such column. compare() orders like the map.
    template <class RowType, class Text>
    void locate(RowType& row, Text* (&values)[N]) const {
        auto entry = row.begin();
        const auto end = row.end();
        std::size_t k = 0;
        while (entry != end && k < N) {
            const std::size_t column = m_byName[k];
            const int order = compare(entry->first, m_columns[column].name, m_length[column]);
            if (order < 0) {
                ++entry;
            } else {
                if (order == 0) values[column] = &entry->second;
                ++k;
            }
        }
    }

    // std::string::compare() against a name whose length is known.
    static int compare(const std::string& key, const char* name, std::size_t length) {
        const std::size_t common = key.size() < length ? key.size() : length;
        const int order = std::char_traits<char>::compare(key.data(), name, common);
        if (order != 0) return order;
        return key.size() < length ? -1 : (key.size() > length ? 1 : 0);
    }

    template <class Text>
    void apply(Text* const (&values)[N], Po& record) const {
        for (std::size_t i = 0; i < N; ++i) {
            const Column<Po>& column = m_columns[i];
            Text* value = values[i];
            const bool empty = value == nullptr || value->empty();
            if (column.setText != nullptr) {
                if (empty && column.whenEmpty != nullptr) {
                    (record.*column.setText)(column.whenEmpty);
                } else if (value == nullptr) {
                    (record.*column.setText)(std::string());
                } else if (m_lastReader[i]) {
                    (record.*column.setText)(std::move(*value));  // a copy when Text is const
                } else {
                    (record.*column.setText)(*value);
                }
            } else if (!empty) {
                (record.*column.setInt)(parseInt(*value));
            }
        }
    }

    const Column<Po> (&m_columns)[N];
    std::array<std::size_t, N> m_length;  // of each column's name
    std::array<std::size_t, N> m_byName;  // column indexes in name order
    std::array<bool, N> m_lastReader;     // no later column reads the same name
};

/// Maps one row into `record`, column by column in the order given. A column
/// missing from the row reads as empty text.
template <class Po, std::size_t N>
void mapRow(const ResultRows::value_type& row, Po& record, const Column<Po> (&columns)[N]) {
    RowMapper<Po, N>(columns).copy(row, record);
}

}  // namespace frame
}  // namespace zkdb

#endif  // ZKDB_TABLES_ROWMAPPING_H
