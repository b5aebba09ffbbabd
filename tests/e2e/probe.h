// The block kdriver.exe hands to kdprobe.dll inside the program under test. Some
// things (menus, icon handles) belong to the process that made them and cannot be
// read from outside, so the probe reads them in place. Both sides are 32-bit.
#pragma once

#include <windows.h>

namespace kestrane {
namespace probe {

enum Op : LONG {
    OpSystemMenu = 1,   // items of hwnd's system menu
    OpMessageBoxIcon,   // which standard icon a message box shows
};

enum Icon : LONG { IconNone = 0, IconStop, IconQuestion, IconExclamation, IconInformation, IconOther };

const int MaxItems = 32;
const int MaxText = 64;

struct Block {
    LONG op;
    HWND hwnd;
    LONG result;  // 1 when the query worked; Icon for OpMessageBoxIcon
    LONG count;
    UINT ids[MaxItems];
    UINT types[MaxItems];
    char texts[MaxItems][MaxText];
};

}  // namespace probe
}  // namespace kestrane
