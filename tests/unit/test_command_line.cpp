#include "command_line.h"

#include <gtest/gtest.h>

using kestrane::WString;
using kestrane::fw::commandLineArgument;

namespace {

struct Case {
    const wchar_t* line;
    int index;
    const wchar_t* expected;  // nullptr: no such argument
};

// What the C runtime makes of each line: Explorer quotes both paths, a console
// may quote neither, and quotes and backslashes follow the runtime's rules.
const Case kCases[] = {
    {L"kestrane.exe arena2\\class01.cfg", 1, L"arena2\\class01.cfg"},
    {L"kestrane.exe", 1, nullptr},
    {L"kestrane.exe   ", 1, nullptr},
    {L"\"C:\\Program Files\\Kestrane\\kestrane.exe\" \"C:\\My Games\\class 01.cfg\"", 0,
     L"C:\\Program Files\\Kestrane\\kestrane.exe"},
    {L"\"C:\\Program Files\\Kestrane\\kestrane.exe\" \"C:\\My Games\\class 01.cfg\"", 1,
     L"C:\\My Games\\class 01.cfg"},
    {L"\"C:\\a b\\k.exe\"x \t first second", 0, L"C:\\a b\\k.exex"},
    {L"\"C:\\a b\\k.exe\"x \t first second", 2, L"second"},
    {L"k.exe \"D:\\Spiele\\Dägger fall\\класс.cfg\" ignored", 1, L"D:\\Spiele\\Dägger fall\\класс.cfg"},
    {L"k.exe \"C:\\dir\\\\\" next", 1, L"C:\\dir\\"},
    {L"k.exe a\\\\\\\"b", 1, L"a\\\"b"},
    {L"k.exe a\\\\b", 1, L"a\\\\b"},
    {L"k.exe \"say \"\"hi\"\"\"", 1, L"say \"hi\""},
    {L"k.exe pre\"mid dle\"post", 1, L"premid dlepost"},
    {L"k.exe \"\"", 1, L""},
};

TEST(CommandLine, SplitsAsTheRuntimeDoes) {
    for (const Case& c : kCases) {
        std::optional<WString> got = commandLineArgument(c.line, c.index);
        if (!c.expected) {
            EXPECT_FALSE(got.has_value()) << "argument " << c.index << " of case " << (&c - kCases);
        } else {
            ASSERT_TRUE(got.has_value()) << "argument " << c.index << " of case " << (&c - kCases);
            EXPECT_TRUE(*got == c.expected) << "argument " << c.index << " of case " << (&c - kCases);
        }
    }
}

}  // namespace
