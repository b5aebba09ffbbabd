// Basic Info: the name and the bytes behind it, attributes, hit points, the
// multiplier and the twelve skills.
#include "basic_numbers.h"
#include "field_schema.h"
#include "tally.h"
#include "value_readers.h"

#include <algorithm>
#include <cctype>

namespace kestrane {
namespace classcfg {

namespace {

// The three skill groups: where each starts in `skills`, how many it has.
struct SkillGroup {
    const char* key;
    const char* jsonKey;
    std::size_t first, count;
};
const SkillGroup kSkillGroups[] = {
    {"primary skills", "primary", 0, 3}, {"major skills", "major", 3, 3}, {"minor skills", "minor", 6, 6}};

void parseSkills(ClassData& c, const std::string& value, std::size_t first, std::size_t count) {
    std::vector<std::string> items = splitList(value);
    if (items.size() != count)
        bad("expected " + std::to_string(count) + " skills separated by commas, got " + std::to_string(items.size()));
    const std::vector<std::string> all = names(SkillNames.data(), SkillNames.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& item = items[i];
        bool number = std::all_of(item.begin(), item.end(), [](char ch) {
            return std::isdigit(static_cast<unsigned char>(ch)) != 0;
        });
        // Text written before the editor's spelling was mended says "Ettiqette".
        const std::string name = normalName(item) == "ettiqette" ? std::string(SkillNames[1]) : item;
        c.skills[first + i] = static_cast<std::uint8_t>(number ? parseNumber(item, 255) : pick(name, all, "skill"));
    }
}

}  // namespace

void addBasicInfoKeys(Keys& k) {
    k.push_back({"Basic Info", "name", "", "name",
                 [](Draft& d, const std::string& v) {
                     d.name = parseQuoted(v);
                     d.nameLine = d.currentLine;
                 }});
    k.push_back({"", "name tail", "", "nameTail",
                 [](Draft& d, const std::string& v) {
                     d.tail = parseHexBytes(v);
                     d.tailLine = d.currentLine;
                 }});
    for (std::size_t i = 0; i < kAttributeNames.size(); ++i)
        k.push_back({"", kAttributeNames[i], "attributes", kAttributeNames[i],
                     [i](Draft& d, const std::string& v) {
                         d.data.attributes[i] = static_cast<std::uint16_t>(parseNumber(v, 0xFFFF));
                     }});
    k.push_back({"", "hit points per level", "", "hitPointsPerLevel",
                 [](Draft& d, const std::string& v) {
                     d.data.hitPointsPerLevel = static_cast<std::uint16_t>(parseNumber(v, 0xFFFF));
                 }});
    k.push_back({"", "multiplier", "", "multiplier",
                 [](Draft& d, const std::string& v) { d.data.advancementMultiplier = parseMultiplier(v); }});
    k.back().note = [](const ClassData& c) {
        ClassTally t = tallyClass(c);
        return tallySummary(t) + (t.beyondMaker.empty() ? "" : ": see classcfg tally");
    };
    for (const SkillGroup& g : kSkillGroups) {
        k.push_back({"", g.key, "skills", g.jsonKey,
                     [g](Draft& d, const std::string& v) { parseSkills(d.data, v, g.first, g.count); }});
    }
}

}  // namespace classcfg
}  // namespace kestrane
