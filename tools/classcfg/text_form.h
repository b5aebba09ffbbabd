// Internals shared by the text, JSON and check code of classcfg.
#ifndef KESTRANE_CLASSCFG_TEXT_FORM_H
#define KESTRANE_CLASSCFG_TEXT_FORM_H

#include "class_record.h"
#include "tables.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrane {
namespace classcfg {

// A record being built from text; the name and its tail are joined at the end.
struct Draft {
    ClassData data;
    std::string name;
    std::vector<std::uint8_t> tail;
    int nameLine = 0;
    int tailLine = 0;
    int currentLine = 0;
};

using Show = std::function<std::string(const ClassData&)>;
using Parse = std::function<void(Draft&, const std::string&)>;  // throws on a bad value

// One line of the text form. `section`, when not empty, is printed as a
// comment before the key.
struct KeyDef {
    std::string section;
    std::string key;
    Show show;
    Parse parse;
};

const std::vector<KeyDef>& keyDefs();

std::string normalName(const std::string& s);
std::string hexByte(std::uint8_t b);
std::string hexBytes(const std::uint8_t* p, std::size_t n);
std::string multiplierText(std::int32_t raw);  // "%.2f" of raw / 65536
std::vector<std::uint8_t> nameTail(const ClassData& c);  // trailing zeros dropped
// The name of `value` among the codes, or null when it is none of them.
const char* conditionName(const CodeName* codes, std::size_t n, std::uint8_t value);
std::string sizeNote(const std::vector<std::uint8_t>& fileBytes);

}  // namespace classcfg
}  // namespace kestrane

#endif
