#include "dialog_failure.h"

#include <gtest/gtest.h>

using kestrane::WString;
using kestrane::dialogFailureText;

namespace {

struct Case {
    const wchar_t* dialog;
    unsigned long code;
    const wchar_t* digits;
};

// The file dialog library's codes run from 0x0001 (CDERR_DIALOGFAILURE) to
// 0x3003 (FNERR_BUFFERTOOSMALL); the folder dialog gives the system's error
// (0x007E: its library not found) or COM's result (eight digits). Always four
// digits or more.
const Case kCases[] = {
    {L"file", 0x0001, L"0001"},   {L"file", 0x0003, L"0003"},   {L"file", 0x000C, L"000C"},
    {L"file", 0x3002, L"3002"},   {L"file", 0x3003, L"3003"},   {L"file", 0xFFFF, L"FFFF"},
    {L"file", 0x12345, L"12345"}, {L"folder", 0x7E, L"007E"}, {L"folder", 0x80004005, L"80004005"},
};

TEST(DialogFailure, NamesTheDialogThenTheCodeInHex) {
    for (const Case& c : kCases) {
        const WString expected =
            WString(L"Cannot show the ") + c.dialog + L" dialog.\n\nError code 0x" + c.digits + L".";
        EXPECT_EQ(dialogFailureText(c.dialog, c.code), expected) << c.code;
    }
}

}  // namespace
