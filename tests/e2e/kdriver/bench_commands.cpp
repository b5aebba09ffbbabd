// Commands for bench/run-bench.sh: start-up, page-switch and box-opening times as
// medians (@@startup, @@switch, @@box lines), and the program's resource use against
// a mark (@@usage lines).
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>

#include "commands.h"

namespace kestrane {

namespace {

double millisecondsBetween(const LARGE_INTEGER& t0, const LARGE_INTEGER& t1) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(freq.QuadPart);
}

// Milliseconds from CreateProcess to a visible top-level window with this caption,
// for RUNS runs of EXE; the program is ended after each run. Prints the median.
void benchStartup(Driver& d, const std::string& exe, const std::string& want, int runs) {
    std::string path = fullPath(exe);
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        std::string cmd = "\"" + path + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        if (!CreateProcessA(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            fail(format("CreateProcess %s failed (%lu)", path.c_str(), GetLastError()));
        if (d.job) AssignProcessToJobObject(d.job, pi.hProcess);
        bool shown = false;
        for (DWORD waited = 0; !shown && waited < d.timeoutMs; ++waited) {
            std::vector<HWND> all;
            EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&all));
            for (HWND h : all) {
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid == pi.dwProcessId && IsWindowVisible(h) && Driver::captionNames(Driver::caption(h), want))
                    shown = true;
            }
            if (!shown) Sleep(1);
        }
        QueryPerformanceCounter(&t1);
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, d.timeoutMs);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        if (!shown) fail(format("%s showed no window %s", exe.c_str(), quote(want).c_str()));
        times.push_back(millisecondsBetween(t0, t1));
    }
    printf("@@startup %s median_ms=%.1f runs=%d\n", exe.c_str(), median(times), runs);
    fflush(stdout);
}

// ---- resource use of the program under test, for the long-session budget ----

struct Usage {
    SIZE_T privateBytes = 0;
    int windows = 0;
    DWORD userObjects = 0;
    DWORD gdiObjects = 0;
};

Usage usageMark;  // one driver runs one scenario: the mark is that run's

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

Usage usage(Driver& d) {
    Usage u;
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    // Wine fills the working set for other processes but not always the private bytes.
    if (K32GetProcessMemoryInfo(d.proc.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        u.privateBytes = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.WorkingSetSize;
    for (HWND h : d.topWindows()) {
        ++u.windows;
        EnumChildWindows(h, countChild, reinterpret_cast<LPARAM>(&u.windows));
    }
    u.userObjects = GetGuiResources(d.proc.hProcess, GR_USEROBJECTS);
    u.gdiObjects = GetGuiResources(d.proc.hProcess, GR_GDIOBJECTS);
    return u;
}

void printUsage(const std::string& label, const Usage& u) {
    printf("@@usage %s memory_kib=%lu windows=%d user_objects=%lu gdi_objects=%lu\n", label.c_str(),
           (unsigned long)(u.privateBytes / 1024), u.windows, (unsigned long)u.userObjects,
           (unsigned long)u.gdiObjects);
    fflush(stdout);
}

}  // namespace

void cmdBenchStartup(Driver& d, const Call& k) {
    if (!d.job) d.job = Driver::killOnCloseJob();
    benchStartup(d, k.a(1), k.a(2), int(parseNumber(k.a(3), "a number of runs")));
}

// Switches between tabs A and B COUNT times each and prints the median time
// of a switch to each: from the click until the page has been filled and
// painted (the sheet's pending paints are run before the clock stops).
void cmdBenchSwitch(Driver& d, const Call& k) {
    HWND t = d.requireTabs();
    HWND sheet = d.cur;
    const int tabs[2] = {int(parseNumber(k.a(1), "a tab index")), int(parseNumber(k.a(2), "a tab index"))};
    long count = parseNumber(k.a(3), "a count");
    if (count < 1) fail("the count must be positive");
    std::vector<double> times[2];
    clickTab(d, t, tabs[1]);
    for (long i = 0; i < 2 * count; ++i) {
        const int which = int(i % 2);
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        clickTab(d, t, tabs[which]);
        RedrawWindow(sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        d.send(sheet, WM_NULL, 0, 0);
        QueryPerformanceCounter(&t1);
        if (int(d.send(t, TCM_GETCURSEL, 0, 0)) != tabs[which]) fail(format("tab %d did not come to the front", tabs[which]));
        times[which].push_back(millisecondsBetween(t0, t1));
    }
    for (int which = 0; which < 2; ++which)
        printf("@@switch to=%d median_ms=%.2f switches=%zu\n", tabs[which], median(times[which]), times[which].size());
    fflush(stdout);
}

// Two modal boxes of the editor opened by their commands, taking turns COUNT times
// each: the time from the command to the box shown and drawn; the box is closed with
// Cancel before the next. Prints the medians.
void cmdBenchBoxes(Driver& d, const Call& k) {
    HWND sheet = d.requireCurrent();
    const WPARAM ids[2] = {WPARAM(parseNumber(k.a(1), "a command id") & 0xFFFF),
                           WPARAM(parseNumber(k.a(3), "a command id") & 0xFFFF)};
    const std::string captions[2] = {k.a(2), k.a(4)};
    long count = parseNumber(k.a(5), "a count");
    if (count < 1) fail("the count must be positive");
    std::vector<double> times[2];
    for (long i = 0; i < 2 * count; ++i) {
        const int which = int(i % 2);
        LARGE_INTEGER t0, t1;
        HWND box = nullptr;
        QueryPerformanceCounter(&t0);
        d.post(sheet, WM_COMMAND, ids[which], 0);
        for (DWORD start = GetTickCount(); !box; Sleep(0)) {
            box = d.findTop(captions[which]);
            if (box && !IsWindowVisible(box)) box = nullptr;
            if (!box && GetTickCount() - start >= d.timeoutMs)
                fail("no window " + quote(captions[which]) + " appeared; seen:" + d.windowsSummary());
        }
        RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        d.send(box, WM_NULL, 0, 0);
        QueryPerformanceCounter(&t1);
        times[which].push_back(millisecondsBetween(t0, t1));
        d.post(box, WM_COMMAND, IDCANCEL, 0);
        if (!d.waitFor([&] { return !IsWindow(box) && IsWindowEnabled(sheet); }, d.timeoutMs))
            fail(quote(captions[which]) + " did not close on Cancel");
    }
    for (int which = 0; which < 2; ++which)
        printf("@@box %s median_ms=%.2f opened=%zu\n", quote(captions[which]).c_str(), median(times[which]),
               times[which].size());
    fflush(stdout);
}

void cmdUsageMark(Driver& d, const Call&) {
    d.requireStarted();
    usageMark = usage(d);
    printUsage("mark", usageMark);
}

void cmdExpectUsageNearMark(Driver& d, const Call& k) {
    d.requireStarted();
    Usage now = usage(d);
    printUsage("now", now);
    long growth = long(now.privateBytes / 1024) - long(usageMark.privateBytes / 1024);
    if (growth > parseNumber(k.a(1), "a size in KiB"))
        fail(format("memory grew by %ld KiB since the mark", growth));
    if (now.windows != usageMark.windows)
        fail(format("window count %d, at the mark %d", now.windows, usageMark.windows));
    if (now.userObjects > usageMark.userObjects || now.gdiObjects > usageMark.gdiObjects)
        fail(format("USER/GDI objects %lu/%lu, at the mark %lu/%lu", (unsigned long)now.userObjects,
                    (unsigned long)now.gdiObjects, (unsigned long)usageMark.userObjects,
                    (unsigned long)usageMark.gdiObjects));
}

}  // namespace kestrane
