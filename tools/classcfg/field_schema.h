// The one description of every field of a class file that classcfg knows:
// its key in the text form, its place in the JSON form and how to read it
// back from text; its value comes from classdata's facts (class_facts.h),
// which the editor shares. The text form and the JSON form walk this list;
// the keys are defined page by page in keys_*.cpp.
#ifndef KESTRANE_CLASSCFG_FIELD_SCHEMA_H
#define KESTRANE_CLASSCFG_FIELD_SCHEMA_H

#include "class_facts.h"
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

using Parse = std::function<void(Draft&, const std::string&)>;  // throws ValueError

// A key of the text form as classcfg reads and writes it: how it is laid out
// and parsed here, its value read from the record by classdata's FactKey of
// the same key and place (class_facts.h).
struct KeyDef {
    std::string section;    // printed as a comment before the key when not empty
    std::string key;        // the text form's key
    std::string jsonGroup;  // the JSON object the value goes in; empty for the top level
    std::string jsonKey;
    Parse parse;
    // A comment the text form prints after the key (may be empty); build skips it.
    std::function<std::string(const ClassData&)> note = nullptr;
    const FactKey* fact = nullptr;  // set by keyDefs()

    Value valueIn(const ClassData& c) const { return fact->valueIn(c); }
};
using Keys = std::vector<KeyDef>;

// Every key, each joined to its FactKey; throws std::logic_error when the two
// tables disagree on a key or its place.
const Keys& keyDefs();

// The page groups, in the order of the text form.
void addBasicInfoKeys(Keys& k);
void addResistanceKeys(Keys& k);
void addWeaponsArmorKeys(Keys& k);
void addMagickaKeys(Keys& k);
void addMiscellaneousKeys(Keys& k);
void addKeptKeys(Keys& k);

// --- helpers for the key definitions -------------------------------------

std::vector<std::string> names(const char* const* p, std::size_t n);
// The tolerance names in the order of kToleranceBytes, and setting an
// effect's bit in exactly the bytes of `set`.
std::vector<std::string> toleranceNames();
void setTolerances(ClassData& c, std::uint8_t effectMask, unsigned set);
void setBits16(std::uint16_t& field, unsigned mask, unsigned value);
void setBits8(std::uint8_t& field, unsigned mask, unsigned value);

// A pair of bits given as one choice of "Normal", states[0] or states[1], or
// both; `set` takes bit 0 for the first, bit 1 for the second.
using SetPair = std::function<void(ClassData&, unsigned)>;
void addPairKey(Keys& k, const char* section, const std::string& key, const char* jsonGroup, const std::string& jsonKey,
                std::vector<std::string> states, const char* what, SetPair set);
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
