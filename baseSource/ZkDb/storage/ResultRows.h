#ifndef ZKDB_STORAGE_RESULTROWS_H
#define ZKDB_STORAGE_RESULTROWS_H

/// @file
/// The rows of a query.

#include <map>
#include <string>
#include <vector>

/// The rows of a query in the order SQLite delivers them. Each row maps a
/// column name, exactly as SQLite reports it (the column's name or its `AS`
/// alias), to the column's value as text. A column holding SQL NULL has no
/// entry; an empty text has an entry with the empty string. When two columns
/// of one row share a name, the later column's value stands.
using ResultRows = std::vector<std::map<std::string, std::string>>;

#endif  // ZKDB_STORAGE_RESULTROWS_H
