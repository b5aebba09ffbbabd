// Screenshots, taken by the harness on the driver's word, and the pause and note
// meant for debugging a scenario.
#include <cstdio>
#include <cstdlib>

#include "commands.h"

namespace kestrane {

void cmdScreenshot(Driver& d, const Call& k) {
    // The harness takes the picture (X11 is out of reach from here) and answers
    // by creating the file named on the marker line.
    d.settle(500);  // let the windows paint
    std::string done = fullPath(".screenshot-" + k.a(1) + ".done");
    printf("@@screenshot %s %s\n", k.a(1).c_str(), done.c_str());
    fflush(stdout);
    if (!d.waitFor([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, d.timeoutMs))
        printf("   (no screenshot taken: run the scenario through run-scenario.sh)\n");
    DeleteFileA(done.c_str());
}

void cmdSleep(Driver& d, const Call& k) {
    Sleep(DWORD(atof(k.a(1).c_str()) * 1000));
    d.recordSeen();
}

void cmdEcho(Driver&, const Call& k) {
    std::string all;
    for (size_t i = 1; i <= k.argc; ++i) all += (i > 1 ? " " : "") + k.a(i);
    printf("   | %s\n", all.c_str());
}

}  // namespace kestrane
