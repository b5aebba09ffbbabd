#include "class_record.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    kestrane::ClassRecord.classFilePath = "arena2\\class00.cfg";
    return kestrane::ClassRecord.readClassFile() ? 0 : 1;
}
