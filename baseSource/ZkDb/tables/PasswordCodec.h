#ifndef ZKDB_TABLES_PASSWORDCODEC_H
#define ZKDB_TABLES_PASSWORDCODEC_H

// Base64 form of stored passwords, through the utility module's routines.
// Internal: not installed, not exported.

#include <string>

namespace zkdb {
namespace password {

/// The base64 text of every byte of `plain`.
std::string encode(const std::string& plain);

/// The bytes that `encoded` stands for, up to the first NUL among them;
/// empty text when `encoded` is not valid base64.
std::string decode(const std::string& encoded);

}  // namespace password
}  // namespace zkdb

#endif  // ZKDB_TABLES_PASSWORDCODEC_H
