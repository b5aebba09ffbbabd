// The columns of `classcfg table`, shared by the writer (table_form.cpp) and
// by `classcfg apply`, which reads the CSV form back into the class files.
#ifndef KESTRANE_CLASSCFG_TABLE_COLUMNS_H
#define KESTRANE_CLASSCFG_TABLE_COLUMNS_H

#include "field_schema.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace kestrane {
namespace classcfg {

enum class ColumnRole {
    File,     // the class file's path
    Derived,  // worked out from the class (standard, maker's price, findings); not read back
    Key,      // one key of the text form
    Skill,    // one of the skills of a skill-group key
};

struct TableColumn {
    std::string header;
    ColumnRole role;
    const KeyDef* key = nullptr;  // Key and Skill: the text form's key
    std::size_t slot = 0;         // Skill: its place in the key's list
};

// The table's columns; with `everyKey` (the CSV form) followed by one for each
// key of the text form that none of them gives already.
std::vector<TableColumn> tableColumns(bool everyKey);

// A key's cell in the CSV form: the text form's spelling of the value, a name
// without its enclosing quotes and with its own quotes bare ("Roof, "Runner"",
// control bytes still \xNN).
std::string csvKeyCell(const KeyDef& key, const ClassData& c);
// The text form's value that a CSV cell of `key` stands for.
std::string keyValueOfCell(const KeyDef& key, const std::string& cell);

// `classcfg apply`: the CSV table's rows written back to their files (apply.cpp).
int apply(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace classcfg
}  // namespace kestrane

#endif
