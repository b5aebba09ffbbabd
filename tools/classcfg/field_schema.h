// The one description of every field of a class file that classcfg knows:
// its key in the text form, its place in the JSON form, how to read it from
// the record as a typed value, how to read it back from text, and what the
// checker says about it. The text form, the JSON form and `check` all walk
// this list; the keys are defined page by page in keys_*.cpp.
#ifndef KESTRANE_CLASSCFG_FIELD_SCHEMA_H
#define KESTRANE_CLASSCFG_FIELD_SCHEMA_H

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

// How a value is written in each form.
enum class Shape {
    Number,      // 12                       12
    Hex,         // 0x00 (`digits` wide)      0
    YesNo,       // yes, no                   true, false
    Choice,      // a name, or the number     "name" or 12
    States,      // names, or Normal          ["name", ...] or ["Normal"]
    Names,       // names, or none            ["name", ...] or []
    Bytes,       // 0A FF, or none            [10, 255]
    Name,        // "quoted \x01"             Latin-1 text
    Multiplier,  // 1.50 (98304)              {"value", "shown", "fixed"}
};

// An entry of a list or a choice: its name, or its number when it has none.
struct Entry {
    std::string name;
    unsigned number = 0;
};

struct Value {
    Shape shape = Shape::Number;
    long long number = 0;  // Number, Hex, YesNo (0 or 1), Multiplier (16.16)
    int digits = 0;        // Hex
    std::vector<Entry> entries;
    std::vector<std::uint8_t> bytes;  // Bytes, and Name's raw text
};

using Get = std::function<Value(const ClassData&)>;
using Parse = std::function<void(Draft&, const std::string&)>;  // throws ValueError

struct KeyDef {
    std::string section;    // printed as a comment before the key when not empty
    std::string key;        // the text form's key
    std::string jsonGroup;  // the JSON object the value goes in; empty for the top level
    std::string jsonKey;
    Get get;
    Parse parse;
    // A comment the text form prints after the key (may be empty); build skips it.
    std::function<std::string(const ClassData&)> note = nullptr;
};
using Keys = std::vector<KeyDef>;

const Keys& keyDefs();

// The page groups, in the order of the text form.
void addBasicInfoKeys(Keys& k);
void addResistanceKeys(Keys& k);
void addWeaponsArmorKeys(Keys& k);
void addMagickaKeys(Keys& k);
void addMiscellaneousKeys(Keys& k);
void addKeptKeys(Keys& k);

// --- helpers for the key definitions -------------------------------------

Value numberValue(long long n);
Value hexFieldValue(unsigned v, int digits);
Value yesNoValue(bool on);
// The names of the set bits of `set` (bit i for names[i]).
Value namesValue(Shape shape, unsigned set, const std::vector<std::string>& names);
// A code among `codes`: its name, or its number.
Value codeValue(const CodeName* codes, std::size_t n, unsigned v);
std::string textOf(const Value& v);

std::vector<std::string> names(const char* const* p, std::size_t n);
// The tolerance names in the order of kToleranceBytes, and setting an
// effect's bit in exactly the bytes of `set`.
std::vector<std::string> toleranceNames();
void setTolerances(ClassData& c, std::uint8_t effectMask, unsigned set);
void setBits16(std::uint16_t& field, unsigned mask, unsigned value);
void setBits8(std::uint8_t& field, unsigned mask, unsigned value);

// A pair of bits shown as one choice of "Normal", states[0] or states[1];
// both set is shown as both.
struct BitPair {
    std::function<unsigned(const ClassData&)> get;  // bit 0: first, bit 1: second
    std::function<void(ClassData&, unsigned)> set;
};
void addPairKey(Keys& k, const char* section, const std::string& key, const char* jsonGroup, const std::string& jsonKey,
                std::vector<std::string> states, const char* what, BitPair bits);
void addYesNoKey(Keys& k, const char* section, const char* key, const char* jsonKey, std::uint16_t bit);
// A condition byte: one of its codes, shown by name.
void addCodeKey(Keys& k, const char* section, const char* key, const char* jsonKey, std::uint8_t ClassData::*field,
                const CodeName* codes, std::size_t n);
// A list of named bits of a 16-bit field.
void addMaskListKey(Keys& k, const char* key, const char* jsonKey, std::uint16_t ClassData::*field,
                    std::vector<std::string> items, std::vector<unsigned> masks, const char* what);

}  // namespace classcfg
}  // namespace kestrane

#endif
