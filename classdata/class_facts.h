// A class file as facts: one `key: value` line per key of classcfg's text
// form, each read from the record alone, and the differences between two
// files in those terms. classcfg's dump, JSON and diff and the editor's
// questions about another program's change all say a file's content so.
// Reading the text back (classcfg's parsers) is not here: the editor never
// needs it.
#ifndef KESTRANE_CLASS_FACTS_H
#define KESTRANE_CLASS_FACTS_H

#include "class_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrane {

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

// A handful of items kept in place: a value never needs the heap, so the
// editor's copy of the facts stays small.
template <typename T, std::size_t N>
class Few {
public:
    void push_back(const T& item) {
        if (count_ < N) items_[count_++] = item;
    }
    void pop_back() { --count_; }
    template <typename It>
    void assign(It first, It last) {
        count_ = 0;
        for (; first != last; ++first) push_back(static_cast<T>(*first));
    }
    const T* begin() const { return items_; }
    const T* end() const { return items_ + count_; }
    const T* data() const { return items_; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const T& operator[](std::size_t i) const { return items_[i]; }
    const T& back() const { return items_[count_ - 1]; }

private:
    T items_[N]{};
    std::size_t count_ = 0;
};

// An entry of a list or a choice: its name, or its number when it has none
// (no name or an empty one). Every name is one of the tables' own.
struct Entry {
    const char* name = nullptr;
    unsigned number = 0;
    bool named() const { return name && *name; }
};

struct Value {
    Shape shape = Shape::Number;
    long long number = 0;     // Number, Hex, YesNo (0 or 1), Multiplier (16.16): all fit 32 bits
    int digits = 0;           // Hex
    Few<Entry, 12> entries;   // at most the ten materials
    Few<std::uint8_t, kClassNameSize> bytes;  // Bytes, and Name's raw text
};

// The value as the text form writes it.
std::string textOf(const Value& v);

std::string hexByte(std::uint8_t b);
std::string hexBytes(const std::uint8_t* p, std::size_t n);  // "0A FF"
std::string hexValue(unsigned v, int digits);                // "0x0A"

// What a key's value is made of; `FactKey::arg` tells which attribute,
// effect, bit or group.
enum class FactKind : std::uint8_t {
    Name, NameTail, Attribute, HitPoints, Multiplier, Skills,
    Effect,
    Weapon, Materials, Equipment,
    Magery, Absorption, AbilityBit, MageryPair,
    RapidHealing, Regeneration, Talents, Enemy,
    HiddenByte, HiddenBlock, EffectBit7, AbilityBits, MaterialBits, ExpertBits, EquipmentBits,
};

// One key of the text form and how its value is read from the record.
struct FactKey {
    const char* key;
    FactKind kind;
    unsigned arg;
    Value valueIn(const ClassData& c) const;
};
// Every key, in the order of the text form.
constexpr std::size_t kFactKeyCount = 52;
extern const FactKey kFactKeys[kFactKeyCount];

// "key: before -> after" for each fact in which the two files differ: the
// file size, then the keys in order, then any bytes past 74.
std::vector<std::string> factChanges(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after);

// What another program changed, for a question: the changed facts one a line,
// at most eight, then "and N more"; a file that is not 74 bytes long now is
// said in one line instead.
std::string changeSummary(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after);

}  // namespace kestrane

#endif
