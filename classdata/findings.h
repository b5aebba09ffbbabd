// What the games will make of a class: one table of rules, each saying what
// it finds, which game it concerns and how much it matters. A finding only
// informs; nothing here stops a save or a build.
#ifndef KESTRANE_FINDINGS_H
#define KESTRANE_FINDINGS_H

#include "class_record.h"

#include <cstdint>
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
    Note,     // worth knowing, not a fault: listed, never counted
};

// A spot of the record a finding is about: a field of kFields by name and,
// within it, the bits concerned (of a flags byte or word, or a code's bits);
// for the attributes and skills, their entries (bit i for entry i); ~0 for a
// whole number.
struct Spot {
    const char* field;
    std::uint32_t mask;
};

struct Finding {
    std::string text;  // one line of plain words that names the game
    Game game;
    Severity severity;
    // Where in the record; none for a finding about the whole class (its
    // file's name, its folder, a renamed standard class, the maker's total).
    std::vector<Spot> spots;
};

// Whether what `shown` says of `control` (a button's check state, say) turns
// on the spot's bits: some other value of them, the rest of the record as it
// is, changes it. False for a spot of more than 8 bits (a whole number) or of
// a field longer than 4 bytes. The pages find the controls a finding marks by it.
bool showsSpot(const ClassData& record, const Spot& spot, bool (*shown)(const ClassData&, int), int control);

// The open engine's text under a key, for a caller that has its whole text
// table (engine_text.h: engineTextUnder); without it a renamed class's line
// says the text is the one under that key without quoting it.
using EngineTexts = bool (*)(const std::string& key, std::string& text);

// The findings for a record, in the order of the text form. `fileName` (a
// path or a bare name; may be empty) tells a standard file CLASS00-CLASS18.
std::vector<Finding> findClass(const ClassData& record, const std::string& fileName = "",
                               EngineTexts texts = nullptr);
// What a folder's class files mean together to the open engine, from their
// names alone (paths or bare names, any order): a standard file missing, or
// files that move its class list's places.
std::vector<Finding> findFolder(const std::vector<std::string>& classFileNames);

// The findings that count: all but the notes.
bool counts(const Finding& finding);
int findingCount(const std::vector<Finding>& found);
int findingCount(const ClassData& record, const std::string& fileName = "");

// "engine", "maker", "editor"; "breaks", "changes", "maker", "note".
const char* gameKey(Game game);
const char* severityKey(Severity severity);
// The severity a key names; false for no such key.
bool severityOfKey(const std::string& key, Severity& severity);
// "no findings", "1 finding", "2 findings".
std::string findingCountText(int count);
// The count and the notes: "2 findings", "1 finding and 1 note", "2 notes".
std::string findingsHeading(const std::vector<Finding>& found);

// The findings as the Check box lists them: together by the game they
// concern, the game with the most severe finding first (in the order of Game
// where two are alike), and within a game the most severe first, else in the
// order found.
std::vector<Finding> mostSevereFirst(std::vector<Finding> found);
// A game's name as the Check box heads its findings: "Open engine (Daggerfall
// Unity)", "Class maker", "Editor".
const char* gameHeading(Game game);

}  // namespace kestrane

#endif
