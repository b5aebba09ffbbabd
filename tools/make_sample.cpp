// Writes our demo class, defined below, as a class file.
#include "class_record.h"

#include <cstdio>
#include <cstring>

using namespace kestrane;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTPUT\n");
        return 2;
    }
    ClassData c;
    const char name[] = "Spellsword";
    std::memcpy(c.className.data(), name, sizeof name);
    c.attributes = {55, 60, 50, 45, 50, 40, 45, 50};
    c.hitPointsPerLevel = 14;
    c.advancementMultiplier = 98304;  // 1.50
    c.skills = {22, 29, 25, 24, 23, 33, 16, 20, 21, 27, 2, 14};
    c.resistFlags = 0x08;           // Fire
    c.lowToleranceFlags = 0x10;     // Frost
    c.abilityFlags = 0x0C00 | 0x0002;  // 1.5 X INT, Athleticism
    c.spellAbsorption = 1;
    c.regeneration = 0;
    c.forbiddenMaterials = 0x0001;  // Iron
    c.expertWeapons = 0x02;         // Long Blades
    c.forbiddenEquipment = 0x0100 | 0x1000;  // Plate, Tower Shield
    c.bonusPhobiaFlags = 0x01;      // bonus against Undead
    c.classFilePath = argv[1];
    try {
        c.writeClassFile();
    } catch (const FileError& e) {
        std::fprintf(stderr, "make_sample: %s\n", e.what());
        return 1;
    }
    return 0;
}
