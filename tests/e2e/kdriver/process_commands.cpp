// Commands on the program's process and its windows: starting it, waiting for its
// windows and its end, keys, the caption's buttons and window menu, dropped files,
// switching to another program and back, commands sent to the window.
#include <windows.h>
#include <shlobj.h>  // DROPFILES

#include <algorithm>
#include <cstdlib>

#include "commands.h"

namespace kestrane {

void cmdTimeout(Driver& d, const Call& k) {
    d.timeoutMs = DWORD(atof(k.a(1).c_str()) * 1000);
    if (!d.timeoutMs) fail("the timeout must be positive");
}

void cmdStart(Driver& d, const Call& k) { d.start(k.a(1), k.argc > 1 ? k.a(2) : std::string()); }

void cmdStartCopy(Driver& d, const Call& k) {
    copyFile(k.a(1), k.a(2));
    d.start(k.a(2));
}

void cmdWaitWindow(Driver& d, const Call& k) {
    d.requireStarted();
    HWND found = nullptr;
    if (!d.waitFor([&] { return (found = d.findTop(k.a(1))) != nullptr; }, d.timeoutMs))
        fail("no window " + quote(k.a(1)) + " appeared; seen:" + d.windowsSummary());
    d.makeCurrent(found);
}

void cmdExpectNoWindow(Driver& d, const Call& k) {
    d.requireStarted();
    DWORD ms = k.argc > 1 ? DWORD(atof(k.a(2).c_str()) * 1000) : 1000;
    if (d.waitFor([&] { return d.findTop(k.a(1)) != nullptr; }, ms))
        fail("a window " + quote(k.a(1)) + " is shown:" + d.windowsSummary());
}

void cmdExpectNeverShown(Driver& d, const Call& k) {
    d.recordSeen();
    for (const std::string& seen : d.seenCaptions)
        if (Driver::captionNames(seen, k.a(1))) fail("a window " + quote(seen) + " was shown since start");
}

void cmdExpectCaption(Driver& d, const Call& k) {
    HWND w = d.requireCurrent();
    d.expectValue("caption", k.a(1), [&] { return Driver::caption(w); });
}

void cmdExpectStyle(Driver& d, const Call& k) {
    HWND w = d.requireCurrent();
    int which = k.name == "expect-style" ? GWL_STYLE : GWL_EXSTYLE;
    std::string want = format("0x%08lX", (unsigned long)parseNumber(k.a(1), "a style"));
    d.expectValue(k.name.substr(7), want, [&] { return format("0x%08lX", (unsigned long)GetWindowLongA(w, which)); });
}

void cmdWaitExit(Driver& d, const Call& k) {
    d.requireStarted();
    if (!d.waitFor([&] { return !d.running(); }, d.timeoutMs))
        fail(format("the program is still running after %lu s:", d.timeoutMs / 1000) + d.windowsSummary());
    DWORD code = 0;
    GetExitCodeProcess(d.proc.hProcess, &code);
    if (long(code) != parseNumber(k.a(1), "an exit code"))
        fail(format("exit code: expected %s, seen %lu", k.a(1).c_str(), code));
    d.cur = d.prev = nullptr;
}

void cmdExpectRunning(Driver& d, const Call&) {
    d.requireStarted();
    d.settle();
    if (!d.running()) fail("the program is not running:" + d.windowsSummary());
}

namespace {

struct KeyName {
    const char* name;
    WORD vk;
};

}  // namespace

void cmdKey(Driver& d, const Call& k) {
    static const KeyName names[] = {
        {"tab", VK_TAB},       {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},     {"enter", VK_RETURN},
        {"return", VK_RETURN}, {"space", VK_SPACE},   {"backspace", VK_BACK}, {"delete", VK_DELETE},
        {"up", VK_UP},         {"down", VK_DOWN},     {"left", VK_LEFT},      {"right", VK_RIGHT},
        {"home", VK_HOME},     {"end", VK_END},       {"pageup", VK_PRIOR},   {"pagedown", VK_NEXT},
    };
    const std::string& keys = k.a(1);
    std::vector<WORD> mods;
    WORD vk = 0;
    std::string rest = keys;
    for (std::string part : splitBar([&] {
             std::string s = rest;
             std::replace(s.begin(), s.end(), '+', '|');
             return s;
         }())) {
        std::transform(part.begin(), part.end(), part.begin(), ::tolower);
        if (vk) fail("the key must come last in " + quote(keys));
        if (part == "ctrl" || part == "control")
            mods.push_back(VK_CONTROL);
        else if (part == "shift")
            mods.push_back(VK_SHIFT);
        else if (part == "alt")
            mods.push_back(VK_MENU);
        else if (part.size() == 1 && isalnum((unsigned char)part[0]))
            vk = WORD(toupper(part[0]));
        else if (part.size() >= 2 && part[0] == 'f' && isdigit((unsigned char)part[1]))
            vk = WORD(VK_F1 + atoi(part.c_str() + 1) - 1);
        else {
            for (const auto& n : names)
                if (part == n.name) vk = n.vk;
            if (!vk) fail("unknown key " + quote(part));
        }
    }
    if (!vk) fail("no key in " + quote(keys));
    // Keyboard input goes to the foreground window's thread, with real key state.
    d.bringToForeground(d.requireCurrent());
    std::vector<INPUT> in;
    auto add = [&](WORD key, bool up) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        i.ki.wScan = WORD(MapVirtualKeyA(key, 0));
        bool extended = key == VK_DELETE || (key >= VK_PRIOR && key <= VK_DOWN);
        i.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        in.push_back(i);
    };
    for (WORD m : mods) add(m, false);
    add(vk, false);
    add(vk, true);
    for (auto it = mods.rbegin(); it != mods.rend(); ++it) add(*it, true);
    if (SendInput(UINT(in.size()), in.data(), sizeof(INPUT)) != in.size()) fail("SendInput failed");
    d.settle();
}

void cmdCloseBox(Driver& d, const Call&) {
    d.post(d.requireCurrent(), WM_SYSCOMMAND, SC_CLOSE, 0);
    d.settle();
}

// Files dropped on the current window, as Explorer drops them: a DROPFILES
// block with the full paths, handed over in WM_DROPFILES. The block is the
// program's to free (DragFinish), so it lives in the program's memory.
void cmdDropFiles(Driver& d, const Call& k) {
    HWND w = d.requireCurrent();
    std::wstring names;
    for (size_t i = 1; i <= k.argc; ++i) names += widen(fullPath(k.a(i))) + L'\0';
    names += L'\0';
    DROPFILES head = {};
    head.pFiles = sizeof head;
    head.fWide = TRUE;
    const size_t size = sizeof head + names.size() * sizeof(wchar_t);
    void* block = VirtualAllocEx(d.proc.hProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!block) fail("VirtualAllocEx failed in the program");
    SIZE_T done = 0;
    if (!WriteProcessMemory(d.proc.hProcess, block, &head, sizeof head, &done) ||
        !WriteProcessMemory(d.proc.hProcess, static_cast<char*>(block) + sizeof head, names.data(),
                            names.size() * sizeof(wchar_t), &done))
        fail("WriteProcessMemory failed");
    d.post(w, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    d.settle(100);
}

// The caption's minimise box and the system menu's Restore, then whether the
// window is shown minimised.
// Or a command of the program's own added to its window menu, by number.
void cmdSysCommand(Driver& d, const Call& k) {
    WPARAM code = k.a(1) == "minimize"  ? SC_MINIMIZE
                  : k.a(1) == "restore" ? SC_RESTORE
                                        : WPARAM(parseNumber(k.a(1), "minimize, restore or a menu id"));
    if (!code) fail("sys-command takes minimize, restore or a menu id");
    d.post(d.requireCurrent(), WM_SYSCOMMAND, code, 0);
    d.settle();
}

void cmdExpectMinimized(Driver& d, const Call& k) {
    HWND w = d.requireCurrent();
    d.expectValue("minimised", k.a(1), [&] { return std::string(IsIconic(w) ? "1" : "0"); });
}

// Another program becomes the active one (a window of the driver's own), and
// the program under test again: it sees WM_ACTIVATEAPP both ways.
void cmdSwitchAway(Driver& d, const Call&) {
    ShowWindow(d.ownWindow(), SW_SHOW);
    d.bringToForeground(d.away);
    d.settle();
}

void cmdSwitchBack(Driver& d, const Call&) {
    HWND target = d.requireCurrent();
    if (d.away) ShowWindow(d.away, SW_HIDE);
    d.bringToForeground(target);
    d.settle();
}

void cmdCommand(Driver& d, const Call& k) {
    // A command sent to the current window itself (not through a page's button).
    WPARAM wp = WPARAM(parseNumber(k.a(1), "a command id") & 0xFFFF);
    if (k.name == "command")
        d.send(d.requireCurrent(), WM_COMMAND, wp, 0);
    else
        d.post(d.requireCurrent(), WM_COMMAND, wp, 0), d.settle(100);
}

}  // namespace kestrane
