#include "standard_classes.h"

#include "file_paths.h"

#include <array>
#include <cctype>

namespace kestrane {

namespace {

// The file numbers as the open reimplementation Daggerfall Unity reads them
// (github.com/Interkarma/daggerfall-unity): DaggerfallEntity.cs
// GetClassCareerTemplate loads "CLASS{0:00}.CFG" for a ClassCareers value,
// whose order (Mage = 0 ... Knight = 17) is in Entities/EntityEnums.cs; its
// human enemies are MobileTypes Mage = 128 ... Knight = 145 and
// Knight_CityWatch = 146 ("just called Knight in-game"), and EnemyEntity.cs
// takes the file as the enemy's id - 128, so the watch is file 18.
// CreateCharClassSelect.cs lists every CLASS*.CFG but the last for the player.
const std::array<const char*, kStandardClassCount> kStandardClasses = {
    "Mage",     "Spellsword", "Battlemage", "Sorcerer", "Healer",    "Nightblade", "Bard",
    "Burglar",  "Rogue",      "Acrobat",    "Thief",    "Assassin",  "Monk",       "Archer",
    "Ranger",   "Barbarian",  "Warrior",    "Knight",   "Knight (city watch)",
};

bool sameLetters(const std::string& s, std::size_t at, const char* lower) {
    for (std::size_t i = 0; lower[i]; ++i)
        if (at + i >= s.size() || std::tolower(static_cast<unsigned char>(s[at + i])) != lower[i]) return false;
    return true;
}

}  // namespace

std::string standardClassName(int number) {
    return number >= 0 && number < kStandardClassCount ? kStandardClasses[static_cast<std::size_t>(number)] : "";
}

int classFileNumber(const std::string& fileName) {
    const std::string name = fileNameOf(fileName);
    if (name.size() != 11 || !sameLetters(name, 0, "class") || !sameLetters(name, 7, ".cfg")) return -1;
    if (!std::isdigit(static_cast<unsigned char>(name[5])) || !std::isdigit(static_cast<unsigned char>(name[6])))
        return -1;
    return (name[5] - '0') * 10 + (name[6] - '0');
}

std::string standardClassFor(const std::string& fileName) { return standardClassName(classFileNumber(fileName)); }

bool looksLikeClassFile(const std::string& fileName) {
    const std::string name = fileNameOf(fileName);
    return name.size() >= 9 && sameLetters(name, 0, "class") && sameLetters(name, name.size() - 4, ".cfg");
}

}  // namespace kestrane
