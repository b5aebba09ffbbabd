#include "dialog_failure.h"

#include <gtest/gtest.h>

using kestrane::WString;
using kestrane::fileDialogFailureText;

namespace {

struct Case {
    unsigned long code;
    const wchar_t* digits;
};

// The dialog library's codes run from 0x0001 (CDERR_DIALOGFAILURE) to 0x3003
// (FNERR_BUFFERTOOSMALL), always shown with four digits or more.
const Case kCases[] = {
    {0x0001, L"0001"}, {0x0003, L"0003"}, {0x000C, L"000C"}, {0x3002, L"3002"},
    {0x3003, L"3003"}, {0xFFFF, L"FFFF"}, {0x12345, L"12345"},
};

TEST(DialogFailure, NamesTheDialogThenTheCodeInHex) {
    for (const Case& c : kCases) {
        const WString expected = WString(L"Cannot show the file dialog.\n\nError code 0x") + c.digits + L".";
        EXPECT_EQ(fileDialogFailureText(c.code), expected) << c.code;
    }
}

}  // namespace
