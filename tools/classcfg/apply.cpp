// `classcfg apply`: a table written by `table --csv`, edited in a spreadsheet,
// written back to the class files its rows name. Each row is read as the text
// form reads a class: the file's own text with the row's cells in place of
// their keys' values. Every row is checked before any file is written, and
// only files whose bytes change are written, each as the editor saves.
#include "classcfg.h"

#include "csv_reader.h"
#include "class_facts.h"
#include "table_columns.h"
#include "value_readers.h"

#include <map>
#include <ostream>

namespace kestrane {
namespace classcfg {

namespace {

// Why nothing is written: names the row, the column and what is wrong.
struct Refusal {
    std::string message;
};

struct Change {
    std::string file;
    std::vector<std::uint8_t> before;
    ClassData after;
};

std::string rowOfFile(std::size_t row, const std::string& file) {
    return "row " + std::to_string(row) + (file.empty() ? "" : " (" + file + ")");
}

std::size_t indexOf(const KeyDef* key) { return static_cast<std::size_t>(key - keyDefs().data()); }

// The table's columns by header: each names exactly one column of table --csv.
std::vector<const TableColumn*> columnsOf(const std::vector<std::string>& header, const std::vector<TableColumn>& known) {
    std::vector<const TableColumn*> cols;
    for (std::size_t j = 0; j < header.size(); ++j) {
        const TableColumn* found = nullptr;
        for (const TableColumn& col : known)
            if (normalName(col.header) == normalName(header[j])) found = &col;
        if (!found)
            throw Refusal{"row 1: unknown column '" + header[j] + "' (apply takes the columns of classcfg table --csv)"};
        for (std::size_t i = 0; i < j; ++i)
            if (cols[i] == found)
                throw Refusal{"row 1: the column '" + found->header + "' is given twice (columns " + std::to_string(i + 1) +
                              " and " + std::to_string(j + 1) + ")"};
        cols.push_back(found);
    }
    return cols;
}

// The text form's message for a value, with the cell when it does not say what it found.
std::string refusedCell(const std::string& where, const std::string& column, const std::string& cell,
                        const std::string& message) {
    const bool quotesCell = message.find("'" + trim(cell) + "'") != std::string::npos;
    return where + ", column " + column + ": " + message + (quotesCell ? "" : " (the cell holds '" + cell + "')");
}

// The class a row describes, read over the file's own class; throws Refusal.
ClassData classOfRow(const std::vector<std::string>& cells, const std::vector<const TableColumn*>& cols,
                     const std::string& where, const ClassData& file) {
    const Keys& keys = keyDefs();
    std::vector<std::string> values;
    for (const KeyDef& k : keys) values.push_back(textOf(k.valueIn(file)));
    std::map<std::size_t, std::vector<std::string>> lists;  // skill keys given cell by cell
    for (std::size_t j = 0; j < cols.size(); ++j) {
        const TableColumn& col = *cols[j];
        if (col.role != ColumnRole::Key && col.role != ColumnRole::Skill) continue;
        if (cells[j].find_first_of("\r\n") != std::string::npos)
            throw Refusal{where + ", column " + col.header + ": the cell holds a line break, which no value does" +
                          (col.header == "name" ? " (a name writes its control bytes as \\x0A)" : "")};
        const std::size_t k = indexOf(col.key);
        if (col.role == ColumnRole::Key) {
            values[k] = keyValueOfCell(*col.key, cells[j]);
            continue;
        }
        if (!lists.count(k)) lists[k] = splitList(values[k]);
        lists[k].at(col.slot) = cells[j];
    }
    for (const auto& l : lists) values[l.first] = joinList(l.second, "");

    std::string text;
    for (std::size_t k = 0; k < keys.size(); ++k) text += keys[k].key + ": " + values[k] + "\n";
    try {
        return parseText(text, "");
    } catch (const TextError& e) {
        // Line n is key n - 1: name the column that gives it.
        const std::size_t k = static_cast<std::size_t>(e.line() - 1);
        std::string message = e.what();
        message.erase(0, (":" + std::to_string(e.line()) + ": ").size());
        if (message.compare(0, keys[k].key.size() + 2, keys[k].key + ": ") == 0) message.erase(0, keys[k].key.size() + 2);
        std::size_t culprit = cols.size();
        // The name and its tail share 19 bytes: a longer name is what overflows them.
        if (message.compare(0, 10, "the name (") == 0)
            for (std::size_t j = 0; j < cols.size(); ++j)
                if (cols[j]->key && cols[j]->key->key == "name") culprit = j;
        for (std::size_t j = 0; j < cols.size() && culprit == cols.size(); ++j) {
            if (cols[j]->key != &keys[k]) continue;
            if (cols[j]->role == ColumnRole::Key) {
                culprit = j;
                continue;
            }
            // A skill: the cell that the file's other skills do not take.
            std::vector<std::string> alone = splitList(textOf(keys[k].valueIn(file)));
            alone.at(cols[j]->slot) = cells[j];
            try {
                parseText(keys[k].key + ": " + joinList(alone, "") + "\n", "");
            } catch (const TextError&) {
                culprit = j;
            }
        }
        if (culprit == cols.size()) throw Refusal{where + ", key " + keys[k].key + ": " + message};
        throw Refusal{refusedCell(where, cols[culprit]->header, cells[culprit], message)};
    }
}

std::vector<std::uint8_t> bytesOf(const ClassData& c) {
    const auto a = c.toBytes();
    return std::vector<std::uint8_t>(a.begin(), a.end());
}

// Every row read and checked; the files whose bytes change.
std::vector<Change> changesOf(const std::vector<std::vector<std::string>>& rows, std::size_t& files) {
    if (rows.empty()) throw Refusal{"the table is empty; apply needs the header row of classcfg table --csv"};
    const std::vector<TableColumn> known = tableColumns(true);
    const std::vector<const TableColumn*> cols = columnsOf(rows[0], known);
    std::size_t fileColumn = cols.size();
    for (std::size_t j = 0; j < cols.size(); ++j)
        if (cols[j]->role == ColumnRole::File) fileColumn = j;
    if (fileColumn == cols.size()) throw Refusal{"row 1: no column 'file', which names each row's class file"};

    std::vector<Change> changes;
    std::map<std::string, std::size_t> seen;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& cells = rows[r];
        const std::size_t row = r + 1;
        bool blank = true;
        for (const std::string& c : cells) blank = blank && c.empty();
        if (blank) continue;  // a spreadsheet's empty row
        if (cells.size() != cols.size())
            throw Refusal{"row " + std::to_string(row) + ": " + std::to_string(cells.size()) + " cells where the header has " +
                          std::to_string(cols.size())};
        const std::string& file = cells[fileColumn];
        const std::string where = rowOfFile(row, file);
        if (file.empty()) throw Refusal{where + ", column file: empty; each row names its class file"};
        if (seen.count(file))
            throw Refusal{where + ", column file: the file is also on row " + std::to_string(seen[file])};
        seen[file] = row;
        std::vector<std::uint8_t> bytes;
        try {
            bytes = readWholeFile(file);
        } catch (const ReadError& e) {
            throw Refusal{where + ", column file: " + e.what()};
        }
        const std::string problem = sizeProblem(file, bytes.size());
        if (!problem.empty()) throw Refusal{where + ", column file: " + problem};
        ++files;
        const ClassData after = classOfRow(cells, cols, where, recordOf(bytes));
        if (bytesOf(after) != bytes) changes.push_back({file, bytes, after});
    }
    return changes;
}

}  // namespace

int apply(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string table;
    bool dryRun = false;
    for (const std::string& a : args) {
        if (a == "--dry-run") {
            dryRun = true;
        } else if (a.size() > 1 && a[0] == '-') {
            err << "classcfg: apply: unknown option '" << a << "'\nTry 'classcfg --help'.\n";
            return 2;
        } else if (!table.empty()) {
            err << "classcfg: apply: one table at a time\nTry 'classcfg --help'.\n";
            return 2;
        } else {
            table = a;
        }
    }
    if (table.empty()) {
        err << "classcfg: apply: no table given\nTry 'classcfg --help'.\n";
        return 2;
    }
    const std::string source = table == "-" ? "<stdin>" : table;
    std::vector<Change> changes;
    std::size_t files = 0;
    try {
        const std::vector<std::uint8_t> bytes = readWholeFile(table);
        changes = changesOf(readCsv(std::string(bytes.begin(), bytes.end())), files);
    } catch (const ReadError& e) {
        err << "classcfg: " << e.what() << "\n";
        return 1;
    } catch (const CsvError& e) {
        err << "classcfg: " << source << ": row " << e.row << ": " << e.message << "\nclasscfg: no file written\n";
        return 1;
    } catch (const Refusal& e) {
        err << "classcfg: " << source << ": " << e.message << "\nclasscfg: no file written\n";
        return 1;
    }

    std::size_t written = 0;
    for (const Change& c : changes) {
        // The lines classcfg diff prints, each headed by its file.
        for (const std::string& line : factChanges(c.before, bytesOf(c.after))) out << c.file << ": " << line << "\n";
        if (dryRun) continue;
        ClassData record = c.after;
        record.classFilePath = c.file;
        try {
            record.writeClassFile();
        } catch (const FileError& e) {
            err << "classcfg: cannot write " << c.file << ": " << e.what() << "\nclasscfg: " << written << " of "
                << changes.size() << " changed files written before it, the others not\n";
            return 1;
        }
        ++written;
    }
    if (dryRun)
        out << "dry run: " << changes.size() << " of " << files << " class files would change; nothing written\n";
    else
        out << written << " of " << files << " class files changed" << (written ? " and written\n" : "; nothing written\n");
    return 0;
}

}  // namespace classcfg
}  // namespace kestrane
