#include "csv_reader.h"

namespace kestrane {
namespace classcfg {

namespace {

// The separator: a semicolon when the first line has more of them than
// commas outside quotes; our headers hold neither.
char separatorOf(const std::string& text, std::size_t pos) {
    std::size_t commas = 0, semicolons = 0;
    bool quoted = false;
    for (; pos < text.size(); ++pos) {
        const char ch = text[pos];
        if (ch == '"') quoted = !quoted;
        if (quoted) continue;
        if (ch == '\r' || ch == '\n') break;
        commas += ch == ',';
        semicolons += ch == ';';
    }
    return semicolons > commas ? ';' : ',';
}

}  // namespace

std::vector<std::vector<std::string>> readCsv(const std::string& text) {
    std::size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const char sep = separatorOf(text, i);
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string cell;
    bool inQuotes = false, wasQuoted = false;
    auto endCell = [&] {
        row.push_back(cell);
        cell.clear();
        wasQuoted = false;
    };
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (inQuotes) {
            if (ch != '"')
                cell += ch;  // separators and line breaks included
            else if (i + 1 < text.size() && text[i + 1] == '"')
                cell += text[++i];
            else
                inQuotes = false;
        } else if (ch == sep) {
            endCell();
        } else if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endCell();
            rows.push_back(std::move(row));
            row.clear();
        } else if (wasQuoted) {
            throw CsvError{rows.size() + 1, "text after the closing quote of cell " + std::to_string(row.size() + 1) +
                                                "; a quote inside a quoted cell is written twice (\"\")"};
        } else if (ch == '"' && cell.empty()) {
            inQuotes = wasQuoted = true;
        } else {
            cell += ch;  // a quote inside an unquoted cell is taken as written
        }
    }
    if (inQuotes)
        throw CsvError{rows.size() + 1, "cell " + std::to_string(row.size() + 1) + " opens a quote that is never closed"};
    if (!row.empty() || !cell.empty() || wasQuoted) {
        endCell();
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace classcfg
}  // namespace kestrane
