// The block kdriver.exe hands to kdprobe.dll inside the program under test. A menu
// belongs to the process that made it and cannot be read from outside, so the probe
// reads it in place. Both sides are 32-bit.
#pragma once

#include <windows.h>

namespace kestrane {
namespace probe {

enum Op : LONG {
    OpSystemMenu = 1,  // items of hwnd's system menu
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
};

}  // namespace probe
}  // namespace kestrane
