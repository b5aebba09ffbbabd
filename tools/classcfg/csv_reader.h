// Reading a CSV table as spreadsheets write it: RFC 4180 quoting, CR LF, LF or
// CR line ends, a UTF-8 byte-order mark, and a semicolon as the separator
// where the first line uses it (as a spreadsheet set for decimal commas does).
#ifndef KESTRANE_CLASSCFG_CSV_READER_H
#define KESTRANE_CLASSCFG_CSV_READER_H

#include <cstddef>
#include <string>
#include <vector>

namespace kestrane {
namespace classcfg {

struct CsvError {
    std::size_t row;  // counted from 1, as a spreadsheet numbers its rows
    std::string message;
};

// The rows of a CSV text, each its list of cells. Throws CsvError.
std::vector<std::vector<std::string>> readCsv(const std::string& text);

}  // namespace classcfg
}  // namespace kestrane

#endif
