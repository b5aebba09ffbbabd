// The class name field's rules, shared by every page.
#include "class_name_rules.h"
#include "class_record.h"
#include "test_support.h"
#include "windows1252.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

using namespace kestrane;

namespace {

class ClassNameRules : public FreshRecord {};

std::array<char, kClassNameSize> nameBytes(const char* bytes, std::size_t n) {
    std::array<char, kClassNameSize> out{};
    std::memcpy(out.data(), bytes, n);
    return out;
}

}  // namespace

TEST_F(ClassNameRules, TypingOverASelectedNameLeavesItsTailBehindTheNul) {
    ClassRecord.className = nameBytes("Warrior", 7);
    // The field's whole text is selected and typed over, one letter at a time.
    for (const char* text : {"W", "Wa", "War"}) storeClassName(ClassRecord, text);
    EXPECT_EQ(ClassRecord.className, nameBytes("War\0ior\0", 8));
    EXPECT_EQ(classNameForDisplay(ClassRecord), "War");
}

TEST_F(ClassNameRules, BackspacingClearsEachDeletedLetter) {
    ClassRecord.className = nameBytes("Warrior", 7);
    for (const char* text : {"Warrio", "Warri", "Warr", "War"}) storeClassName(ClassRecord, text);
    EXPECT_EQ(ClassRecord.className, nameBytes("War", 3));
}

TEST_F(ClassNameRules, ShorterNameKeepsTheBytesBehindItsTerminator) {
    // Ten letters, a NUL and eight more bytes; then four letters typed over it.
    ClassRecord.className = nameBytes("Nightblade\0ABCDEFGH", 19);
    for (const char* text : {"M", "Ma", "Mag", "Mage"}) storeClassName(ClassRecord, text);
    EXPECT_EQ(ClassRecord.className, nameBytes("Mage\0blade\0ABCDEFGH", 19));
}

TEST_F(ClassNameRules, NameWithoutNulShowsEighteenCharacters) {
    ClassRecord.className = nameBytes("ABCDEFGHIJKLMNOPQRS", 19);
    const std::string shown = classNameForDisplay(ClassRecord);
    EXPECT_EQ(shown, "ABCDEFGHIJKLMNOPQR");
    // The refill hands the shown text back: 18 characters and a NUL.
    storeClassName(ClassRecord, shown);
    EXPECT_EQ(ClassRecord.className, nameBytes("ABCDEFGHIJKLMNOPQR\0", 19));
}

TEST_F(ClassNameRules, NamesThatFitRoundTripUnchanged) {
    ClassRecord.className = nameBytes("Spellsword\0\0\0\0\0\0\0\x7f", 19);
    const auto before = ClassRecord.className;
    storeClassName(ClassRecord, classNameForDisplay(ClassRecord));
    EXPECT_EQ(ClassRecord.className, before);

    ClassRecord.className = nameBytes("EighteenCharacters", 18);
    EXPECT_EQ(classNameForDisplay(ClassRecord), "EighteenCharacters");
}

TEST_F(ClassNameRules, NeverStoresMoreThanEighteenCharacters) {
    storeClassName(ClassRecord, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(ClassRecord.className, nameBytes("ABCDEFGHIJKLMNOPQR\0", 19));
    storeClassName(ClassRecord, "");
    EXPECT_EQ(ClassRecord.className[0], '\0');
    EXPECT_EQ(ClassRecord.className[1], 'B');
    // Shown and stored back by characters: Windows-1252 "é" is two bytes of UTF-8.
    ClassRecord.className.fill('\xE9');
    std::string eighteen;
    for (int i = 0; i < 18; ++i) eighteen += "\xC3\xA9";
    EXPECT_EQ(classNameForDisplay(ClassRecord), eighteen);
    storeClassName(ClassRecord, utf8ToWindows1252(classNameForDisplay(ClassRecord)));
    EXPECT_EQ(ClassRecord.className, nameBytes("\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\0", 19));
}
