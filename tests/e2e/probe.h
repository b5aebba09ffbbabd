// The block kdriver.exe hands to kdprobe.dll inside the program under test. A menu
// belongs to the process that made it and cannot be read from outside, nor can a
// control's font be measured there, so the probe does both in place. Both sides are
// built alike (32-bit or 64-bit).
#pragma once

#include <windows.h>

namespace kestrane {
namespace probe {

enum Op : LONG {
    OpSystemMenu = 1,  // items of hwnd's system menu
    OpFit = 2,         // hwnd's child controls whose text is wider than their room (a
                       // status bar's parts each, a list's cells each, a list that
                       // scrolls): ids, the width needed (types), the room (states), texts
};

const int MaxItems = 32;
const int MaxText = 64;

struct Block {
    LONG op;
    HWND hwnd;
    LONG result;  // 1 when the query worked
    LONG count;
    UINT ids[MaxItems];
    UINT types[MaxItems];
    UINT states[MaxItems];
    char texts[MaxItems][MaxText];
    LONG dpi;  // OpFit: the screen's pixels per inch, as the program sees them
};

}  // namespace probe
}  // namespace kestrane
