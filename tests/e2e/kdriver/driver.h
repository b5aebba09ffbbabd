// The driver's core, shared by every part of kdriver.exe: how a failure is told,
// the text and path helpers, and the program under test as the commands see it
// (its process and job, its windows, the current window, messages and waits).
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrane {

// A command that did not hold: the message says what was expected and what was seen.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& msg);

// Checked like printf, so a width that differs between the two builds shows as a warning.
__attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2))) std::string format(const char* fmt, ...);

std::string quote(const std::string& s);
std::wstring widen(const std::string& s);
std::string narrow(const std::wstring& w);
std::vector<std::string> splitBar(const std::string& s);
std::string joinBar(const std::vector<std::string>& v);
long parseNumber(const std::string& s, const char* what);
std::vector<unsigned char> parseHex(const std::string& s);
std::string hex(const unsigned char* p, size_t n);
double median(std::vector<double> v);
std::string stripMnemonic(const std::string& s);

// Paths as a scenario writes them (see common.cpp).
std::string winPath(const std::string& p);
std::string fullPath(const std::string& p);
std::wstring filePath(const std::string& p);

std::string className(HWND h);
int controlId(HWND h);
BOOL CALLBACK collectWindow(HWND h, LPARAM lp);
std::vector<HWND> children(HWND parent);
std::vector<HWND> directChildren(HWND parent);

// One run of a scenario against the program under test (program.cpp).
struct Driver {
    DWORD timeoutMs = 10000;
    HANDLE job = nullptr;
    PROCESS_INFORMATION proc = {};
    bool started = false;
    HWND cur = nullptr;   // the window the following commands act on
    HWND away = nullptr;  // the driver's own window: takes the activation away, owns the clipboard
    HWND prev = nullptr;  // the window that was current before a box or dialog came up
    std::set<std::string> seenCaptions;
    std::map<std::string, HANDLE> heldFiles;
    std::string exeDir;

    // -- the process and its job --
    static HANDLE killOnCloseJob();
    void start(const std::string& exe, const std::string& tail = std::string());
    void requireStarted();
    bool running();
    void cleanup();

    // -- its windows --
    std::vector<HWND> topWindows();
    static std::string caption(HWND h);
    static bool captionNames(const std::string& shown, const std::string& want);
    static HWND messageBoxText(HWND h);
    HWND findTop(const std::string& want);
    void recordSeen();
    std::string windowsSummary();
    HWND requireCurrent();
    void makeCurrent(HWND h);
    void backToPrevious();
    HWND tabControl(HWND sheet);
    HWND requireTabs();
    HWND activePage(HWND sheet);
    HWND container();
    HWND control(const std::string& idText);
    HWND ownWindow();
    void bringToForeground(HWND target);
    void focusControl(HWND c);

    // -- messages --
    LRESULT send(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void post(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    std::string controlText(HWND h);

    // -- waits, each bounded --
    void settle(DWORD ms = 300);

    template <class F>
    bool waitFor(F condition, DWORD ms) {
        DWORD t0 = GetTickCount();
        for (;;) {
            recordSeen();
            if (condition()) return true;
            if (GetTickCount() - t0 >= ms) return false;
            Sleep(20);
        }
    }

    // Repeats a check that fails by throwing until it passes or the time is up: files
    // are written after a dialog has gone, so a check right after one must wait too.
    template <class F>
    void eventually(F check) {
        DWORD t0 = GetTickCount();
        for (;;) {
            try {
                check();
                return;
            } catch (const Failure&) {
                if (GetTickCount() - t0 >= timeoutMs) throw;
            }
            Sleep(20);
        }
    }

    template <class Get>
    void expectValue(const std::string& what, const std::string& want, Get get) {
        std::string seen;
        if (!waitFor(
                [&] {
                    seen = get();
                    return seen == want;
                },
                timeoutMs))
            fail(format("%s: expected %s, seen %s", what.c_str(), quote(want).c_str(), quote(seen).c_str()));
    }
};

}  // namespace kestrane
