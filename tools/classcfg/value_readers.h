// Reading and writing the values of the text form: numbers, names, lists of
// names, bytes and the multiplier. Each reader throws ValueError with a
// message for the user; the caller adds the file and line.
#ifndef KESTRANE_CLASSCFG_VALUE_READERS_H
#define KESTRANE_CLASSCFG_VALUE_READERS_H

#include "class_facts.h"
#include "tables.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrane {
namespace classcfg {

struct ValueError {
    std::string message;
};
[[noreturn]] void bad(const std::string& message);

std::string trim(const std::string& s);
// Lower case with runs of blanks made one, so "1 x int" finds "1  X INT".
std::string normalName(const std::string& s);

// hexByte, hexBytes and hexValue come with the facts (class_facts.h).
std::string multiplierText(std::int32_t raw);  // as the editor shows it: "1.50"
std::string joinList(const std::vector<std::string>& items, const char* empty);

// Decimal or 0x-hex, 0 to max.
unsigned long parseNumber(const std::string& text, unsigned long max);
// Comma-separated entries; "none" or nothing is the empty list.
std::vector<std::string> splitList(const std::string& value);
// Index of `item` among `names` (matched by normalName), or a clear error.
std::size_t pick(const std::string& item, const std::vector<std::string>& names, const char* what);
bool parseYesNo(const std::string& value);
// A set of flags given as a list of names (bit i for names[i]), "Normal" standing for none.
unsigned parseStates(const std::string& value, const std::vector<std::string>& names, const char* what);
// A list of names each standing for one mask; "none" for no names.
unsigned parseMaskList(const std::string& value, const std::vector<std::string>& names,
                       const std::vector<unsigned>& masks, const char* what);
// A number that may only use the bits of `mask`.
unsigned parseMasked(const std::string& value, unsigned mask, int digits);
std::vector<std::uint8_t> parseHexBytes(const std::string& value);
// A double-quoted name in UTF-8 with \\, \" and \xHH escapes, as Windows-1252
// bytes (at most 19); text that is not UTF-8, or a character Windows-1252
// lacks, is refused.
std::string parseQuoted(const std::string& value);
// "1.50", or "1.50 (98304)" whose two parts must agree.
std::int32_t parseMultiplier(const std::string& value);
// One of the codes by name, or any byte by number.
std::uint8_t parseCode(const std::string& value, const CodeName* codes, std::size_t n);

}  // namespace classcfg
}  // namespace kestrane

#endif
