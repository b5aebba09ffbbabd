// What the games will make of a class: one table of rules, each saying what
// it finds, which game it concerns and how much it matters. A finding only
// informs; nothing here stops a save or a build.
#ifndef KESTRANE_FINDINGS_H
#define KESTRANE_FINDINGS_H

#include "class_record.h"

#include <string>
#include <vector>

namespace kestrane {

enum class Game {
    Engine,   // the open engine reimplementation (Daggerfall Unity)
    Maker,    // the game's own class maker
    Editor,   // past what this editor's controls write
};

enum class Severity {
    Breaks,   // the game fails on it
    Changes,  // the game reads it otherwise, or ignores it
    Maker,    // the class maker would not make it
    Note,
};

struct Finding {
    std::string text;  // one line of plain words that names the game
    Game game;
    Severity severity;
};

// The findings for a record, in the order of the text form. `fileName` (a
// path or a bare name; may be empty) tells a standard file CLASS00-CLASS18.
std::vector<Finding> findClass(const ClassData& record, const std::string& fileName = "");
int findingCount(const ClassData& record, const std::string& fileName = "");

// "engine", "maker", "editor"; "breaks", "changes", "maker", "note".
const char* gameKey(Game game);
const char* severityKey(Severity severity);
// "no findings", "1 finding", "2 findings".
std::string findingCountText(int count);

}  // namespace kestrane

#endif
