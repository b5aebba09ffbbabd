// `classcfg table`: one row per class file, for a look over a whole arena2
// folder, a spreadsheet (CSV), a post (Markdown) or a script (JSON).
#include "classcfg.h"

#include "table_columns.h"
#include "standard_classes.h"
#include "tables.h"
#include "tally.h"
#include "value_readers.h"
#include "findings.h"
#include "windows1252.h"

// The cross build sees only nlohmann's own directory (see CMakeLists.txt).
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <stdexcept>

namespace kestrane {
namespace classcfg {

namespace {

enum class Kind { Text, Integer, Decimal };

struct Cell {
    std::string text;
    Kind kind;
};

// The key the text form gives under `name`.
const KeyDef& keyNamed(const std::string& name) {
    for (const KeyDef& k : keyDefs())
        if (k.key == name) return k;
    throw std::logic_error("no key " + name);
}

// The name as text, its control characters shown as '?' so that no row
// breaks its line (dump gives the exact bytes): control bytes, and the five
// bytes Windows-1252 leaves undefined, which read as C1 controls.
std::string nameCell(const ClassData& c) {
    const std::string text = c.nameUtf8();
    std::string out;
    std::size_t pos = 0;
    char32_t ch = 0;
    while (pos < text.size() && nextUtf8(text, pos, ch)) appendUtf8(out, ch < 0x20 || (ch >= 0x7F && ch < 0xA0) ? U'?' : ch);
    return out;
}

// The CSV form spells every key as the text form does, so that apply reads
// each byte back; the other forms keep a name and the multiplier as shown.
std::vector<Cell> rowOf(const std::vector<TableColumn>& cols, bool csv, const std::string& file, const ClassData& c,
                        std::size_t findings) {
    const ClassTally t = tallyClass(c);
    std::vector<Cell> row;
    for (const TableColumn& col : cols) {
        switch (col.role) {
        case ColumnRole::File: row.push_back({file, Kind::Text}); break;
        case ColumnRole::Derived:
            if (col.header == "standard")
                row.push_back({standardClassFor(file), Kind::Text});
            else if (col.header == "maker points")
                row.push_back({std::to_string(t.total), Kind::Integer});
            else if (col.header == "maker multiplier")
                row.push_back({t.beyondMaker.empty() ? twoDecimals(t.makerMultiplier) : "", Kind::Decimal});
            else
                row.push_back({std::to_string(findings), Kind::Integer});
            break;
        case ColumnRole::Skill: {
            const Entry e = col.key->valueIn(c).entries[col.slot];
            row.push_back({e.named() ? std::string(e.name) : std::to_string(e.number), Kind::Text});
            break;
        }
        case ColumnRole::Key:
            if (csv)
                row.push_back({csvKeyCell(*col.key, c), Kind::Text});
            else if (col.key->key == "name")
                row.push_back({nameCell(c), Kind::Text});
            else if (col.key->key == "multiplier")
                row.push_back({multiplierText(c.advancementMultiplier), Kind::Decimal});
            else
                row.push_back({textOf(col.key->valueIn(c)), Kind::Integer});
            break;
        }
    }
    return row;
}

}  // namespace

std::vector<TableColumn> tableColumns(bool everyKey) {
    std::vector<TableColumn> cols = {
        {"file", ColumnRole::File},
        {"name", ColumnRole::Key, &keyNamed("name")},
        {"standard", ColumnRole::Derived},
        {"hit points per level", ColumnRole::Key, &keyNamed("hit points per level")},
        {"multiplier", ColumnRole::Key, &keyNamed("multiplier")},
        {"maker points", ColumnRole::Derived},
        {"maker multiplier", ColumnRole::Derived},
        {"findings", ColumnRole::Derived},
    };
    for (const char* a : kAttributeNames) cols.push_back({a, ColumnRole::Key, &keyNamed(a)});
    const struct {
        const char* prefix;
        const char* key;
        std::size_t count;
    } groups[] = {{"primary ", "primary skills", 3}, {"major ", "major skills", 3}, {"minor ", "minor skills", 6}};
    for (const auto& g : groups)
        for (std::size_t i = 0; i < g.count; ++i)
            cols.push_back({g.prefix + std::to_string(i + 1), ColumnRole::Skill, &keyNamed(g.key), i});
    if (!everyKey) return cols;
    for (const KeyDef& k : keyDefs()) {
        bool given = false;
        for (const TableColumn& col : cols) given = given || col.key == &k;
        if (!given) cols.push_back({k.key, ColumnRole::Key, &k});
    }
    return cols;
}

std::string csvKeyCell(const KeyDef& key, const ClassData& c) {
    const std::string text = textOf(key.valueIn(c));
    if (key.key != "name") return text;
    // Inside the quotes: an escaped quote is bare in the cell, the other escapes stay.
    std::string cell;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '\\' && text[i + 1] == '"') continue;
        if (text[i] == '\\') cell += text[i++];
        cell += text[i];
    }
    return cell;
}

std::string keyValueOfCell(const KeyDef& key, const std::string& cell) {
    if (key.key != "name") return cell;
    // A bare quote is the name's own; an escape (\\, \", \xNN) is taken as written.
    std::string value = "\"";
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '"') value += '\\';
        if (cell[i] == '\\' && i + 1 < cell.size()) value += cell[i++];
        value += cell[i];
    }
    return value + "\"";
}

namespace {

// A file that is not 74 bytes long: listed, marked in the name's place,
// without the numbers a read of it would make up.
std::vector<Cell> markedRow(const std::vector<TableColumn>& cols, const std::string& file, std::size_t size,
                            std::size_t findings) {
    std::vector<Cell> row;
    for (const TableColumn& col : cols) {
        if (col.role == ColumnRole::File)
            row.push_back({file, Kind::Text});
        else if (col.header == "name")
            row.push_back({"(" + std::to_string(size) + " bytes long, not 74)", Kind::Text});
        else if (col.header == "standard")
            row.push_back({standardClassFor(file), Kind::Text});
        else if (col.header == "findings")
            row.push_back({std::to_string(findings), Kind::Integer});
        else if (col.header == "multiplier" || col.header == "maker multiplier")
            row.push_back({"", Kind::Decimal});
        else
            row.push_back({"", col.role == ColumnRole::Skill ? Kind::Text : Kind::Integer});
    }
    return row;
}

// Characters on screen: UTF-8 continuation bytes take no column.
std::size_t columns(const std::string& s) {
    std::size_t n = 0;
    for (char ch : s)
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
    return n;
}

void plain(const std::vector<std::vector<std::string>>& lines, std::ostream& out) {
    std::vector<std::size_t> width(lines[0].size(), 0);
    for (const auto& l : lines)
        for (std::size_t i = 0; i < l.size(); ++i) width[i] = std::max(width[i], columns(l[i]));
    for (const auto& l : lines) {
        std::string text;
        for (std::size_t i = 0; i < l.size(); ++i)
            text += l[i] + (i + 1 < l.size() ? std::string(width[i] - columns(l[i]) + 2, ' ') : "");
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out << text << "\n";
    }
}

// RFC 4180: fields with a comma, quote or line break in quotes, quotes
// doubled, lines ended by CR LF.
void csv(const std::vector<std::vector<std::string>>& lines, std::ostream& out) {
    for (const auto& l : lines) {
        for (std::size_t i = 0; i < l.size(); ++i) {
            const std::string& f = l[i];
            if (i) out << ',';
            // A semicolon too, for spreadsheets that take it as the separator.
            if (f.find_first_of(",;\"\r\n") == std::string::npos) {
                out << f;
                continue;
            }
            out << '"';
            for (char ch : f) out << (ch == '"' ? "\"\"" : std::string(1, ch));
            out << '"';
        }
        out << "\r\n";
    }
}

void markdown(const std::vector<std::vector<std::string>>& lines, std::ostream& out) {
    auto cell = [](const std::string& f) {
        std::string s;
        for (char ch : f) s += ch == '|' ? std::string("\\|") : std::string(1, ch);
        return s;
    };
    for (std::size_t r = 0; r < lines.size(); ++r) {
        out << "|";
        for (const std::string& f : lines[r]) out << " " << cell(f) << " |";
        out << "\n";
        if (r == 0) {
            out << "|";
            for (std::size_t i = 0; i < lines[r].size(); ++i) out << "---|";
            out << "\n";
        }
    }
}

void json(const std::vector<std::string>& head, const std::vector<std::vector<Cell>>& rows, std::ostream& out) {
    using Json = nlohmann::ordered_json;
    Json all = Json::array();
    for (const auto& row : rows) {
        Json o = Json::object();
        for (std::size_t i = 0; i < row.size(); ++i) {
            const Cell& c = row[i];
            if (c.kind == Kind::Text)
                o[head[i]] = c.text;
            else if (c.text.empty())
                o[head[i]] = nullptr;
            else if (c.kind == Kind::Integer)
                o[head[i]] = std::strtoll(c.text.c_str(), nullptr, 10);
            else
                o[head[i]] = std::strtod(c.text.c_str(), nullptr);
        }
        all.push_back(o);
    }
    // A file name that is not UTF-8 (possible on Linux) must not stop the table.
    out << all.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

}  // namespace

int table(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string form;
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (a == "--csv" || a == "--json" || a == "--markdown") {
            if (!form.empty() && form != a) {
                err << "classcfg: table: give one of --csv, --json and --markdown\nTry 'classcfg --help'.\n";
                return 2;
            }
            form = a;
        } else if (a.size() > 1 && a[0] == '-') {
            err << "classcfg: table: unknown option '" << a << "'\nTry 'classcfg --help'.\n";
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        err << "classcfg: table: no class file given\nTry 'classcfg --help'.\n";
        return 2;
    }
    bool failed = false;
    const std::vector<TableColumn> cols = tableColumns(form == "--csv");
    std::vector<std::vector<Cell>> rows;
    for (const std::string& f : expandFolders(files, err, failed)) {
        try {
            const std::vector<std::uint8_t> bytes = readWholeFile(f);
            const auto findings = static_cast<std::size_t>(findingCount(checkFindings(bytes, f)));
            const std::string problem = sizeProblem(f, bytes.size());
            if (problem.empty()) {
                rows.push_back(rowOf(cols, form == "--csv", f, recordOf(bytes), findings));
                continue;
            }
            err << "classcfg: " << problem << "\n";
            failed = true;
            rows.push_back(markedRow(cols, f, bytes.size(), findings));
        } catch (const ReadError& e) {
            err << "classcfg: " << e.what() << "\n";
            failed = true;
        }
    }
    std::vector<std::string> head;
    for (const TableColumn& col : cols) head.push_back(col.header);
    if (form == "--json") {
        json(head, rows, out);
    } else {
        std::vector<std::vector<std::string>> lines = {head};
        for (const auto& row : rows) {
            lines.emplace_back();
            for (const Cell& c : row) lines.back().push_back(c.text);
        }
        if (form == "--csv")
            csv(lines, out);
        else if (form == "--markdown")
            markdown(lines, out);
        else
            plain(lines, out);
    }
    return failed ? 1 : 0;
}

}  // namespace classcfg
}  // namespace kestrane
