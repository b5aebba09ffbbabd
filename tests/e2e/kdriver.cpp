// kdriver.exe: runs one end-to-end scenario against the real program under Wine.
//
//   wine kdriver.exe SCENARIO_FILE      (current directory: the test's game directory)
//
// The scenario is one command per line (see README.md). Every command either passes or
// fails the run with its line number and what was expected against what was seen; every
// wait is bounded. Actions go through real window messages so the program's controls do
// their own work (limits, auto check boxes, notifications). Exit code 0 only when every
// line passed.
#include <windows.h>
#include <psapi.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>  // DROPFILES
#include <tlhelp32.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "probe.h"

namespace kestrane {
namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Checked like printf, so a width that differs between the two builds shows as a warning.
__attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2))) std::string format(const char* fmt, ...) {
    char buf[2048];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

[[noreturn]] void fail(const std::string& msg) { throw Failure(msg); }

// Text shown in messages: printable bytes as they are, the rest escaped.
std::string quote(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\')
            out += '\\', out += char(c);
        else if (c >= 32 && c < 127)
            out += char(c);
        else
            out += format("\\x%02X", c);
    }
    return out + "\"";
}

// Scenario files are UTF-8; so is every text the driver compares or sends.
std::wstring widen(const std::string& s) {
    if (s.empty()) return L"";
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), &w[0], n);
    return w;
}

std::string narrow(const std::wstring& w) {
    if (w.empty()) return "";
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::vector<std::string> splitBar(const std::string& s) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t bar = s.find('|', start);
        out.push_back(s.substr(start, bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return out;
}

std::string joinBar(const std::vector<std::string>& v) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) out += (i ? "|" : "") + v[i];
    return out;
}

long parseNumber(const std::string& s, const char* what) {
    char* end = nullptr;
    long v = long(strtoul(s.c_str(), &end, 0));  // ids and styles may use all 32 bits
    if (s.empty() || *end) fail(format("%s must be a number, got %s", what, quote(s).c_str()));
    return v;
}

std::vector<unsigned char> parseHex(const std::string& s) {
    std::vector<unsigned char> out;
    int half = -1;
    for (char c : s) {
        if (c == ' ' || c == '\t') continue;
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            fail(format("not a hex digit: '%c'", c));
        if (half < 0)
            half = v;
        else
            out.push_back((unsigned char)(half * 16 + v)), half = -1;
    }
    if (half >= 0) fail("odd number of hex digits");
    return out;
}

std::string hex(const unsigned char* p, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) out += format(i ? " %02X" : "%02X", p[i]);
    return out;
}

// A path as the scenario writes it: relative to the game directory, '/' or '\', or an
// absolute Unix path, which Wine reaches through drive Z:.
std::string winPath(const std::string& p) {
    std::string out = p;
    if (!out.empty() && out[0] == '/') out = "Z:" + out;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

// The full path, of any length: asked once for its size, then filled.
std::string fullPath(const std::string& p) {
    std::wstring w = widen(winPath(p));
    DWORD need = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    std::wstring buf(need ? need : 1, L'\0');
    DWORD n = need ? GetFullPathNameW(w.c_str(), need, &buf[0], nullptr) : 0;
    if (!n || n >= need) fail("cannot make a full path of " + quote(p));
    buf.resize(n);
    return narrow(buf);
}

// A path for the wide file functions, long ones included.
std::wstring filePath(const std::string& p) {
    std::wstring w = widen(fullPath(p));
    if (w.size() >= MAX_PATH - 12 && w.compare(0, 4, L"\\\\?\\") != 0) w = L"\\\\?\\" + w;
    return w;
}

// ---- scenario text ----------------------------------------------------------------

struct Line {
    int number;
    std::string text;
    std::vector<std::string> args;  // args[0] is the command
};

std::vector<std::string> tokenize(const std::string& line) {
    std::vector<std::string> out;
    size_t i = 0, n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n || line[i] == '#') break;
        std::string tok;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c != '\\') {
                    tok += c;
                    continue;
                }
                if (i >= n) fail("a backslash ends the line");
                char e = line[i++];
                if (e == '"' || e == '\\')
                    tok += e;
                else if (e == 'n')
                    tok += '\n';
                else if (e == 't')
                    tok += '\t';
                else if (e == 'x' && i + 2 <= n && isxdigit((unsigned char)line[i]) &&
                         isxdigit((unsigned char)line[i + 1])) {
                    tok += char(strtol(line.substr(i, 2).c_str(), nullptr, 16));
                    i += 2;
                } else
                    fail(format("unknown escape \\%c", e));
            }
            if (!closed) fail("a quoted string is not closed");
            if (i < n && line[i] != ' ' && line[i] != '\t') fail("text right after a closing quote");
        } else {
            while (i < n && line[i] != ' ' && line[i] != '\t') tok += line[i++];
        }
        out.push_back(tok);
    }
    return out;
}

// ---- windows of the program -----------------------------------------------------------

std::string className(HWND h) {
    char buf[64] = "";
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

int controlId(HWND h) { return GetDlgCtrlID(h) & 0xFFFF; }

BOOL CALLBACK collectWindow(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(
        parent,
        collectWindow,
        reinterpret_cast<LPARAM>(&out));
    return out;
}

std::vector<HWND> directChildren(HWND parent) {
    std::vector<HWND> out;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) out.push_back(h);
    return out;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string stripMnemonic(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

struct Driver {
    std::string scenarioName;
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

    // -- process and windows --

    void requireStarted() {
        if (!started) fail("no program started yet (use start)");
    }

    bool running() { return started && WaitForSingleObject(proc.hProcess, 0) == WAIT_TIMEOUT; }

    std::vector<HWND> topWindows() {
        std::vector<HWND> all, out;
        if (!started) return out;
        EnumWindows(
            collectWindow,
            reinterpret_cast<LPARAM>(&all));
        for (HWND h : all) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == proc.dwProcessId && IsWindowVisible(h)) out.push_back(h);
        }
        return out;
    }

    static std::string caption(HWND h) {
        wchar_t buf[512] = L"";
        GetWindowTextW(h, buf, 512);
        return narrow(buf);
    }

    // Whether a window's caption names `want`: the caption itself, or a
    // document window's "NAME - want".
    static bool captionNames(const std::string& shown, const std::string& want) {
        const std::string suffix = " - " + want;
        return shown == want ||
               (shown.size() > suffix.size() && shown.compare(shown.size() - suffix.size(), suffix.size(), suffix) == 0);
    }

    void recordSeen() {
        for (HWND h : topWindows()) seenCaptions.insert(caption(h));
    }

    LRESULT send(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_NORMAL, timeoutMs, &result)) {
            if (!IsWindow(h)) fail(format("the window (class %s) is gone", className(h).c_str()));
            fail(format("the program did not answer message 0x%04X within %lu s "
                        "(is a modal window open? use the -async form of the command)%s",
                        msg, timeoutMs / 1000, windowsSummary().c_str()));
        }
        return LRESULT(result);
    }

    void post(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (!PostMessageW(h, msg, wp, lp)) fail(format("cannot post message 0x%04X", msg));
    }

    // Text of a control in the program, through WM_GETTEXT.
    std::string controlText(HWND h) {
        LRESULT len = send(h, WM_GETTEXTLENGTH, 0, 0);
        std::wstring buf(size_t(len) + 2, L'\0');
        LRESULT got = send(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(&buf[0]));
        buf.resize(size_t(got));
        return narrow(buf);
    }

    bool isMessageBox(HWND h) {
        if (className(h) != "#32770") return false;
        for (HWND c : directChildren(h))
            if (controlId(c) == 0xFFFF && className(c) == "Static") return true;
        return false;
    }

    HWND messageBoxText(HWND h) {
        for (HWND c : directChildren(h))
            if (controlId(c) == 0xFFFF && className(c) == "Static") return c;
        return nullptr;
    }

    // -- resource use of the program under test, for the long-session budget --

    struct Usage {
        SIZE_T privateBytes = 0;
        int windows = 0;
        DWORD userObjects = 0;
        DWORD gdiObjects = 0;
    };

    static BOOL CALLBACK countChild(HWND, LPARAM count) {
        ++*reinterpret_cast<int*>(count);
        return TRUE;
    }

    Usage usageMark;

    Usage usage() {
        Usage u;
        PROCESS_MEMORY_COUNTERS_EX pmc = {};
        pmc.cb = sizeof pmc;
        // Wine fills the working set for other processes but not always the private bytes.
        if (K32GetProcessMemoryInfo(proc.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
            u.privateBytes = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.WorkingSetSize;
        for (HWND h : topWindows()) {
            ++u.windows;
            EnumChildWindows(h, countChild, reinterpret_cast<LPARAM>(&u.windows));
        }
        u.userObjects = GetGuiResources(proc.hProcess, GR_USEROBJECTS);
        u.gdiObjects = GetGuiResources(proc.hProcess, GR_GDIOBJECTS);
        return u;
    }

    void printUsage(const std::string& label, const Usage& u) {
        printf("@@usage %s memory_kib=%lu windows=%d user_objects=%lu gdi_objects=%lu\n", label.c_str(),
               (unsigned long)(u.privateBytes / 1024), u.windows, (unsigned long)u.userObjects,
               (unsigned long)u.gdiObjects);
        fflush(stdout);
    }

    // Milliseconds from CreateProcess to a visible top-level window with this caption,
    // for RUNS runs of EXE; the program is ended after each run. Prints the median.
    void benchStartup(const std::string& exe, const std::string& want, int runs) {
        std::string path = fullPath(exe);
        std::vector<double> times;
        LARGE_INTEGER freq;
        QueryPerformanceFrequency(&freq);
        for (int r = 0; r < runs; ++r) {
            std::string cmd = "\"" + path + "\"";
            STARTUPINFOA si = {};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi = {};
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            if (!CreateProcessA(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
                fail(format("CreateProcess %s failed (%lu)", path.c_str(), GetLastError()));
            if (job) AssignProcessToJobObject(job, pi.hProcess);
            bool shown = false;
            for (DWORD waited = 0; !shown && waited < timeoutMs; ++waited) {
                std::vector<HWND> all;
                EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&all));
                for (HWND h : all) {
                    DWORD pid = 0;
                    GetWindowThreadProcessId(h, &pid);
                    if (pid == pi.dwProcessId && IsWindowVisible(h) && captionNames(caption(h), want)) shown = true;
                }
                if (!shown) Sleep(1);
            }
            QueryPerformanceCounter(&t1);
            TerminateProcess(pi.hProcess, 0);
            WaitForSingleObject(pi.hProcess, timeoutMs);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
            if (!shown) fail(format("%s showed no window %s", exe.c_str(), quote(want).c_str()));
            times.push_back(double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(freq.QuadPart));
        }
        printf("@@startup %s median_ms=%.1f runs=%d\n", exe.c_str(), median(times), runs);
        fflush(stdout);
    }

    std::string windowsSummary() {
        if (!started) return "";
        std::string out;
        for (HWND h : topWindows()) {
            out += format("\n    window %s [%s]", quote(caption(h)).c_str(), className(h).c_str());
            if (HWND t = messageBoxText(h)) out += " text " + quote(caption(t));
        }
        if (!running()) {
            DWORD code = 0;
            GetExitCodeProcess(proc.hProcess, &code);
            out += format("\n    the program has exited with code %lu", code);
        } else if (out.empty())
            out = "\n    the program shows no window";
        return out;
    }

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

    // Lets the program work off what it was sent or posted; a key press is posted input,
    // so there is no message that could tell when it has been handled.
    void settle(DWORD ms = 300) {
        Sleep(ms);
        if (cur && IsWindow(cur)) {
            DWORD_PTR r;
            SendMessageTimeoutW(cur, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &r);
        }
        recordSeen();
    }

    HWND requireCurrent() {
        requireStarted();
        if (!cur || !IsWindow(cur)) fail("no current window (use wait-window or expect-msgbox first)" + windowsSummary());
        return cur;
    }

    HWND tabControl(HWND sheet) {
        for (HWND c : directChildren(sheet))
            if (className(c) == "SysTabControl32") return c;
        return nullptr;
    }

    HWND requireTabs() {
        HWND t = tabControl(requireCurrent());
        if (!t) fail(format("the current window %s has no tab row", quote(caption(cur)).c_str()));
        if (!IsWindowVisible(t)) fail(format("the tab row of %s is hidden", quote(caption(cur)).c_str()));
        return t;
    }

    // The active page: the sheet's visible child dialog.
    HWND activePage(HWND sheet) {
        for (HWND c : directChildren(sheet))
            if (className(c) == "#32770" && IsWindowVisible(c)) return c;
        return nullptr;
    }

    // Where controls are looked up: the active page of a sheet, else the window itself.
    HWND container() {
        HWND w = requireCurrent();
        if (tabControl(w)) {
            HWND page = activePage(w);
            if (!page) fail("the sheet shows no page");
            return page;
        }
        return w;
    }

    HWND control(const std::string& idText) {
        int id = int(parseNumber(idText, "a control id")) & 0xFFFF;
        HWND in = container();
        HWND hidden = nullptr;
        for (HWND c : children(in)) {
            if (controlId(c) != id) continue;
            if (IsWindowVisible(c)) return c;
            if (!hidden) hidden = c;
        }
        if (hidden) return hidden;
        fail(format("no control with id %d on %s", id, quote(caption(in)).c_str()));
    }

    HWND findTop(const std::string& want) {
        for (HWND h : topWindows())
            if (captionNames(caption(h), want)) return h;
        return nullptr;
    }

    void makeCurrent(HWND h) {
        if (h != cur) prev = cur;
        cur = h;
    }

    // After a box or dialog has gone, the commands act on the window from before it.
    void backToPrevious() {
        cur = (prev && IsWindow(prev) && IsWindowVisible(prev)) ? prev : nullptr;
        prev = nullptr;
    }

    // -- remote memory in the program, for messages that carry pointers --

    struct Remote {
        HANDLE process;
        void* address;
        Remote(HANDLE p, size_t size) : process(p) {
            address = VirtualAllocEx(p, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
            if (!address) fail("VirtualAllocEx failed in the program");
        }
        ~Remote() { VirtualFreeEx(process, address, 0, MEM_RELEASE); }
        void write(const void* data, size_t n, size_t offset = 0) {
            SIZE_T done = 0;
            if (!WriteProcessMemory(process, static_cast<char*>(address) + offset, data, n, &done) || done != n)
                fail("WriteProcessMemory failed");
        }
        void read(void* data, size_t n, size_t offset = 0) {
            SIZE_T done = 0;
            if (!ReadProcessMemory(process, static_cast<char*>(address) + offset, data, n, &done) || done != n)
                fail("ReadProcessMemory failed");
        }
        LPARAM at(size_t offset = 0) { return reinterpret_cast<LPARAM>(static_cast<char*>(address) + offset); }
    };

    // A control's item text asked with `msg`: the item and its text buffer lie
    // inside the program (the message carries pointers). False when the control
    // said no.
    template <typename Item>
    bool remoteItemText(HWND control, UINT msg, WPARAM index, Item item, std::string& text) {
        const size_t textChars = 512;
        Remote mem(proc.hProcess, sizeof(Item) + textChars * sizeof(wchar_t));
        item.pszText = reinterpret_cast<LPWSTR>(mem.at(sizeof(Item)));
        item.cchTextMax = textChars;
        wchar_t buffer[textChars] = {};
        mem.write(&item, sizeof item);
        mem.write(buffer, sizeof buffer, sizeof(Item));
        const bool answered = send(control, msg, index, mem.at()) != 0;
        mem.read(buffer, sizeof buffer, sizeof(Item));
        buffer[textChars - 1] = 0;
        text = narrow(buffer);
        return answered;
    }

    std::vector<std::string> tabCaptions(HWND tabs) {
        int n = int(send(tabs, TCM_GETITEMCOUNT, 0, 0));
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i) {
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            std::string text;
            if (!remoteItemText(tabs, TCM_GETITEMW, WPARAM(i), item, text)) fail(format("TCM_GETITEM failed for tab %d", i));
            out.push_back(text);
        }
        return out;
    }

    // -- a message box's icon, by what is on the screen --

    // Icon handles do not compare across processes, and a thread injected into the
    // program can stall there; so the icon's pixels are compared with the standard
    // icons drawn here on the same background.
    static BOOL CALLBACK findIconStatic(HWND child, LPARAM lp) {
        char cls[32] = "";
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child)) {
            *reinterpret_cast<HWND*>(lp) = child;
            return FALSE;
        }
        return TRUE;
    }

    static std::vector<DWORD> pixels(HDC source, int x, int y, int w, int h) {
        HDC mem = CreateCompatibleDC(source);
        HBITMAP bmp = CreateCompatibleBitmap(source, w, h);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, w, h, source, x, y, SRCCOPY);
        SelectObject(mem, old);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> out(size_t(w) * size_t(h));
        GetDIBits(mem, bmp, 0, UINT(h), out.data(), &bi, DIB_RGB_COLORS);
        DeleteObject(bmp);
        DeleteDC(mem);
        return out;
    }

    std::string messageBoxIcon(HWND box) {
        HWND icon = nullptr;
        EnumChildWindows(box, findIconStatic, reinterpret_cast<LPARAM>(&icon));
        if (!icon) return "none";
        RECT r;
        GetWindowRect(icon, &r);
        const int w = std::min<int>(r.right - r.left, GetSystemMetrics(SM_CXICON));
        const int h = std::min<int>(r.bottom - r.top, GetSystemMetrics(SM_CYICON));
        if (w <= 0 || h <= 0) return "none";
        HDC screen = GetDC(nullptr);
        std::vector<DWORD> shown = pixels(screen, r.left, r.top, w, h);
        struct Candidate {
            const char* name;
            LPCSTR id;
        } const candidates[] = {{"stop", IDI_HAND}, {"question", IDI_QUESTION},
                                {"exclamation", IDI_EXCLAMATION}, {"information", IDI_ASTERISK}};
        std::string best = "other";
        size_t bestDiff = size_t(w) * size_t(h) / 20;  // at most 5% of the pixels may differ
        for (const Candidate& k : candidates) {
            HDC mem = CreateCompatibleDC(screen);
            HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
            HGDIOBJ old = SelectObject(mem, bmp);
            // The box's own background: its top-left pixel, where no standard icon is opaque.
            DWORD c = shown[0];
            HBRUSH background = CreateSolidBrush(RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
            RECT all = {0, 0, w, h};
            FillRect(mem, &all, background);
            DeleteObject(background);
            DrawIconEx(mem, 0, 0, LoadIconA(nullptr, k.id), 0, 0, 0, nullptr, DI_NORMAL);
            std::vector<DWORD> drawn = pixels(mem, 0, 0, w, h);
            SelectObject(mem, old);
            DeleteObject(bmp);
            DeleteDC(mem);
            size_t diff = 0;
            for (size_t i = 0; i < shown.size(); ++i) diff += (shown[i] & 0xFFFFFF) != (drawn[i] & 0xFFFFFF);
            if (diff < bestDiff) {
                bestDiff = diff;
                best = k.name;
            }
        }
        ReleaseDC(nullptr, screen);
        return best;
    }

    // -- the probe inside the program --

    static HMODULE moduleOf(const void* address) {
        HMODULE m = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(address), &m);
        return m;
    }

    char* remoteModuleBase(const std::string& baseName) {
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, proc.dwProcessId);
        if (snap == INVALID_HANDLE_VALUE) return nullptr;
        MODULEENTRY32 me = {};
        me.dwSize = sizeof me;
        char* base = nullptr;
        for (BOOL ok = Module32First(snap, &me); ok; ok = Module32Next(snap, &me))
            if (lstrcmpiA(me.szModule, baseName.c_str()) == 0) base = reinterpret_cast<char*>(me.modBaseAddr);
        CloseHandle(snap);
        return base;
    }

    // Where a function of ours (in a module also loaded in the program) lives there.
    char* remoteAddress(const void* local) {
        HMODULE m = moduleOf(local);
        char path[MAX_PATH] = "";
        GetModuleFileNameA(m, path, sizeof path);
        const char* base = strrchr(path, '\\');
        base = base ? base + 1 : path;
        char* remote = remoteModuleBase(base);
        if (!remote) return static_cast<char*>(const_cast<void*>(local));  // same base in every process
        return remote + (static_cast<const char*>(local) - reinterpret_cast<const char*>(m));
    }

    struct RemoteStart {
        HANDLE process;
        void* function;
        LPARAM argument;
        HANDLE thread;
        DWORD error;
    };

    static DWORD WINAPI startRemote(void* p) {
        RemoteStart* r = static_cast<RemoteStart*>(p);
        r->thread = CreateRemoteThread(r->process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(r->function),
                                       reinterpret_cast<void*>(r->argument), 0, nullptr);
        r->error = GetLastError();
        return 0;
    }

    DWORD runRemote(void* function, LPARAM argument) {
        // Starting a thread in another process waits on that process under Wine, so it
        // is started from a thread of ours and given up on after the timeout.
        RemoteStart* r = new RemoteStart{proc.hProcess, function, argument, nullptr, 0};
        HANDLE starter = CreateThread(nullptr, 0, startRemote, r, 0, nullptr);
        if (!starter || WaitForSingleObject(starter, timeoutMs) != WAIT_OBJECT_0)
            fail("the program did not let the probe start within the timeout");  // r is left to the starter
        CloseHandle(starter);
        HANDLE t = r->thread;
        DWORD error = r->error;
        delete r;
        if (!t) fail(format("CreateRemoteThread failed (%lu)", error));
        DWORD w = WaitForSingleObject(t, timeoutMs);
        DWORD code = 0;
        GetExitCodeThread(t, &code);
        CloseHandle(t);
        if (w != WAIT_OBJECT_0) fail("the probe thread in the program did not finish");
        return code;
    }

    probe::Block runProbe(probe::Op op, HWND h) {
        std::string dll = exeDir + "kdprobe.dll";
        HMODULE local = LoadLibraryA(dll.c_str());
        if (!local) fail("cannot load " + dll);
        FARPROC query = GetProcAddress(local, "kdprobe_query");
        if (!query) fail("kdprobe.dll has no kdprobe_query");
        if (!remoteModuleBase("kdprobe.dll")) {
            Remote path(proc.hProcess, dll.size() + 1);
            path.write(dll.c_str(), dll.size() + 1);
            void* loadLibrary = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA"));
            if (!runRemote(remoteAddress(loadLibrary), path.at())) fail("the program could not load kdprobe.dll");
        }
        char* remoteBase = remoteModuleBase("kdprobe.dll");
        if (!remoteBase) fail("kdprobe.dll is not listed in the program");
        char* remoteQuery = remoteBase + (reinterpret_cast<char*>(query) - reinterpret_cast<char*>(local));
        probe::Block b = {};
        b.op = op;
        b.hwnd = h;
        Remote mem(proc.hProcess, sizeof b);
        mem.write(&b, sizeof b);
        runRemote(remoteQuery, mem.at());
        mem.read(&b, sizeof b);
        return b;
    }

    // -- commands --

    // One scenario command: its name, how many arguments it takes, what to
    // say when the count is wrong, and what runs it.
    struct Call {
        const std::string& name;
        const std::vector<std::string>& args;
        size_t argc;
        const std::string& a(size_t i) const { return args[i]; }
    };
    static constexpr size_t kAny = ~size_t(0);
    struct Command {
        const char* name;
        size_t minArgs, maxArgs;
        const char* usage;
        void (Driver::*run)(const Call&);
    };
    static const Command kCommands[];

    // `tail`, when given, follows the program's quoted path on its command line
    // as it stands (UTF-8), so a scenario writes the quoting a shell would.
    void start(const std::string& exe, const std::string& tail = std::string()) {
        if (started && running()) fail("a program is already running");
        std::string path = fullPath(exe);
        if (GetFileAttributesW(filePath(exe).c_str()) == INVALID_FILE_ATTRIBUTES) fail("no such program: " + path);
        job = CreateJobObjectA(nullptr, nullptr);
        if (job) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        }
        std::wstring cmd = L"\"" + widen(path) + L"\"";
        if (!tail.empty()) cmd += L" " + widen(tail);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        if (!CreateProcessW(widen(path).c_str(), &cmd[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                            &si, &proc))
            fail(format("CreateProcess %s failed (%lu)", path.c_str(), GetLastError()));
        if (job) AssignProcessToJobObject(job, proc.hProcess);
        ResumeThread(proc.hThread);
        started = true;
        cur = prev = nullptr;
        seenCaptions.clear();
    }

    void copyFile(const std::string& from, const std::string& to) {
        if (!CopyFileW(filePath(from).c_str(), filePath(to).c_str(), FALSE))
            fail(format("cannot copy %s to %s (%lu)", from.c_str(), to.c_str(), GetLastError()));
    }

    void makeDirs(const std::string& path) {
        std::wstring w = filePath(path);
        size_t root = w.compare(0, 4, L"\\\\?\\") == 0 ? 4 : 0;
        for (size_t i = root; i <= w.size(); ++i) {
            if (i == w.size() || w[i] == L'\\') {
                std::wstring part = w.substr(0, i);
                if (part.size() <= root || part.back() == L':') continue;
                CreateDirectoryW(part.c_str(), nullptr);
            }
        }
        DWORD a = GetFileAttributesW(w.c_str());
        if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) fail("cannot create directory " + path);
    }

    bool readFile(const std::string& path, std::vector<unsigned char>& out) {
        HANDLE f = CreateFileW(filePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return false;
        out.clear();
        unsigned char buf[4096];
        DWORD got;
        while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got) out.insert(out.end(), buf, buf + got);
        CloseHandle(f);
        return true;
    }

    std::vector<unsigned char> requireFile(const std::string& path) {
        std::vector<unsigned char> data;
        if (!readFile(path, data)) fail(format("cannot read %s (%lu)", path.c_str(), GetLastError()));
        return data;
    }

    void listTree(const std::string& dir, const std::string& prefix, std::vector<std::string>& out) {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((filePath(dir) + L"\\*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return;
        do {
            std::string n = narrow(fd.cFileName);
            if (n == "." || n == "..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                listTree(dir + "/" + n, prefix + n + "/", out);
            else
                out.push_back(prefix + n);
        } while (FindNextFileW(h, &fd));
        FindClose(h);
        std::sort(out.begin(), out.end());
    }

    struct KeyName {
        const char* name;
        WORD vk;
    };

    void key(const std::string& keys) {
        static const KeyName names[] = {
            {"tab", VK_TAB},       {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},     {"enter", VK_RETURN},
            {"return", VK_RETURN}, {"space", VK_SPACE},   {"backspace", VK_BACK}, {"delete", VK_DELETE},
            {"up", VK_UP},         {"down", VK_DOWN},     {"left", VK_LEFT},      {"right", VK_RIGHT},
            {"home", VK_HOME},     {"end", VK_END},       {"pageup", VK_PRIOR},   {"pagedown", VK_NEXT},
        };
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
                for (const auto& k : names)
                    if (part == k.name) vk = k.vk;
                if (!vk) fail("unknown key " + quote(part));
            }
        }
        if (!vk) fail("no key in " + quote(keys));
        // Keyboard input goes to the foreground window's thread, with real key state.
        bringToForeground(requireCurrent());
        std::vector<INPUT> in;
        auto add = [&](WORD k, bool up) {
            INPUT i = {};
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = k;
            i.ki.wScan = WORD(MapVirtualKeyA(k, 0));
            bool extended = k == VK_DELETE || (k >= VK_PRIOR && k <= VK_DOWN);
            i.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
            in.push_back(i);
        };
        for (WORD m : mods) add(m, false);
        add(vk, false);
        add(vk, true);
        for (auto it = mods.rbegin(); it != mods.rend(); ++it) add(*it, true);
        if (SendInput(UINT(in.size()), in.data(), sizeof(INPUT)) != in.size()) fail("SendInput failed");
        settle();
    }

    // Gives a control of the program the focus without changing its selection, as a user
    // clicking into it would.
    void focusControl(HWND c) {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof gti;
        DWORD tid = GetWindowThreadProcessId(c, nullptr);
        if (GetGUIThreadInfo(tid, &gti) && gti.hwndFocus == c) return;
        LRESULT sel = send(c, EM_GETSEL, 0, 0);
        send(GetParent(c), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
        send(c, EM_SETSEL, LOWORD(sel), HIWORD(sel));
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

    std::string comboItem(HWND combo, int index) {
        LRESULT len = send(combo, CB_GETLBTEXTLEN, index, 0);
        if (len == CB_ERR) fail(format("the list has no item %d", index));
        std::wstring buf(size_t(len) + 2, L'\0');
        LRESULT got = send(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&buf[0]));
        if (got == CB_ERR) fail(format("CB_GETLBTEXT failed for item %d", index));
        buf.resize(size_t(got));
        return narrow(buf);
    }

    HWND fileNameEdit() {
        HWND d = requireCurrent();
        for (HWND c : children(d))
            if (controlId(c) == 0x47c) {
                if (className(c) == "Edit") return c;
                for (HWND e : children(c))
                    if (className(e) == "Edit") return e;
            }
        fail(format("%s has no file-name field (id 0x47c)", quote(caption(d)).c_str()));
    }

    HWND dialogControl(int id, const char* cls) {
        HWND d = requireCurrent();
        for (HWND c : children(d))
            if (controlId(c) == id && lstrcmpiA(className(c).c_str(), cls) == 0 && IsWindowVisible(c)) return c;
        fail(format("%s has no visible %s with id %d", quote(caption(d)).c_str(), cls, id));
    }

    void clickAndWaitGone(HWND button) {
        HWND box = cur;
        post(button, BM_CLICK, 0, 0);
        if (!waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeoutMs))
            fail(format("%s did not close", quote(caption(box)).c_str()));
        backToPrevious();
    }

    void cmdTimeout(const Call& k) {
        timeoutMs = DWORD(atof(k.a(1).c_str()) * 1000);
        if (!timeoutMs) fail("the timeout must be positive");
    }

    void cmdSleep(const Call& k) {
        Sleep(DWORD(atof(k.a(1).c_str()) * 1000));
        recordSeen();
    }

    void cmdEcho(const Call& k) {
        std::string all;
        for (size_t i = 1; i <= k.argc; ++i) all += (i > 1 ? " " : "") + k.a(i);
        printf("   | %s\n", all.c_str());
    }

    void cmdStart(const Call& k) {
        start(k.a(1), k.argc > 1 ? k.a(2) : std::string());
    }

    void cmdStartCopy(const Call& k) {
        copyFile(k.a(1), k.a(2));
        start(k.a(2));
    }

    void cmdWaitWindow(const Call& k) {
        requireStarted();
        HWND found = nullptr;
        if (!waitFor([&] { return (found = findTop(k.a(1))) != nullptr; }, timeoutMs))
            fail("no window " + quote(k.a(1)) + " appeared; seen:" + windowsSummary());
        makeCurrent(found);
    }

    void cmdExpectNoWindow(const Call& k) {
        requireStarted();
        DWORD ms = k.argc > 1 ? DWORD(atof(k.a(2).c_str()) * 1000) : 1000;
        if (waitFor([&] { return findTop(k.a(1)) != nullptr; }, ms))
            fail("a window " + quote(k.a(1)) + " is shown:" + windowsSummary());
    }

    void cmdExpectNeverShown(const Call& k) {
        recordSeen();
        for (const std::string& seen : seenCaptions)
            if (captionNames(seen, k.a(1))) fail("a window " + quote(seen) + " was shown since start");
    }

    void cmdExpectCaption(const Call& k) {
        HWND w = requireCurrent();
        expectValue("caption", k.a(1), [&] { return caption(w); });
    }

    void cmdExpectStyle(const Call& k) {
        HWND w = requireCurrent();
        int which = k.name == "expect-style" ? GWL_STYLE : GWL_EXSTYLE;
        std::string want = format("0x%08lX", (unsigned long)parseNumber(k.a(1), "a style"));
        expectValue(k.name.substr(7), want, [&] { return format("0x%08lX", (unsigned long)GetWindowLongA(w, which)); });
    }

    void cmdExpectTabs(const Call& k) {
        HWND t = requireTabs();
        expectValue("tabs", k.a(1), [&] { return joinBar(tabCaptions(t)); });
    }

    void cmdExpectActiveTab(const Call& k) {
        HWND t = requireTabs();
        HWND sheet = cur;
        std::string want = k.a(1);
        parseNumber(want, "a tab index");
        expectValue("active tab", want, [&] { return format("%d", int(send(t, TCM_GETCURSEL, 0, 0))); });
        // The page in front must be the one whose tab is selected.
        std::string tabText = tabCaptions(t)[size_t(atoi(want.c_str()))];
        expectValue("caption of the page in front", tabText, [&] {
            HWND p = activePage(sheet);
            return p ? caption(p) : std::string("(no page)");
        });
    }

    void cmdExpectPage(const Call& k) {
        HWND sheet = requireCurrent();
        expectValue("page in front", k.a(1), [&] {
            HWND p = activePage(sheet);
            return p ? caption(p) : std::string("(no page)");
        });
    }

    // A click on tab N, as the user makes it: the tab control itself asks the
    // sheet (TCN_SELCHANGING) and tells it (TCN_SELCHANGE).
    void clickTab(HWND t, int n) {
        int count = int(send(t, TCM_GETITEMCOUNT, 0, 0));
        if (n < 0 || n >= count) fail(format("no tab %d (there are %d)", n, count));
        Remote mem(proc.hProcess, sizeof(RECT));
        if (!send(t, TCM_GETITEMRECT, n, mem.at())) fail(format("TCM_GETITEMRECT failed for tab %d", n));
        RECT r;
        mem.read(&r, sizeof r);
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        send(t, WM_LBUTTONDOWN, MK_LBUTTON, at);
        send(t, WM_LBUTTONUP, 0, at);
    }

    void cmdSelectTab(const Call& k) {
        HWND t = requireTabs();
        clickTab(t, int(parseNumber(k.a(1), "a tab index")));
        expectValue("active tab after the click", k.a(1),
                    [&] { return format("%d", int(send(t, TCM_GETCURSEL, 0, 0))); });
    }

    // Switches between tabs A and B COUNT times each and prints the median time
    // of a switch to each: from the click until the page has been filled and
    // painted (the sheet's pending paints are run before the clock stops).
    void cmdBenchSwitch(const Call& k) {
        HWND t = requireTabs();
        HWND sheet = cur;
        const int tabs[2] = {int(parseNumber(k.a(1), "a tab index")), int(parseNumber(k.a(2), "a tab index"))};
        long count = parseNumber(k.a(3), "a count");
        if (count < 1) fail("the count must be positive");
        LARGE_INTEGER freq;
        QueryPerformanceFrequency(&freq);
        std::vector<double> times[2];
        clickTab(t, tabs[1]);
        for (long i = 0; i < 2 * count; ++i) {
            const int which = int(i % 2);
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            clickTab(t, tabs[which]);
            RedrawWindow(sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            send(sheet, WM_NULL, 0, 0);
            QueryPerformanceCounter(&t1);
            if (int(send(t, TCM_GETCURSEL, 0, 0)) != tabs[which]) fail(format("tab %d did not come to the front", tabs[which]));
            times[which].push_back(double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(freq.QuadPart));
        }
        for (int which = 0; which < 2; ++which)
            printf("@@switch to=%d median_ms=%.2f switches=%zu\n", tabs[which], median(times[which]), times[which].size());
        fflush(stdout);
    }

    // Two modal boxes of the editor opened by their commands, taking turns COUNT times
    // each: the time from the command to the box shown and drawn; the box is closed with
    // Cancel before the next. Prints the medians.
    void cmdBenchBoxes(const Call& k) {
        HWND sheet = requireCurrent();
        const WPARAM ids[2] = {WPARAM(parseNumber(k.a(1), "a command id") & 0xFFFF),
                               WPARAM(parseNumber(k.a(3), "a command id") & 0xFFFF)};
        const std::string captions[2] = {k.a(2), k.a(4)};
        long count = parseNumber(k.a(5), "a count");
        if (count < 1) fail("the count must be positive");
        LARGE_INTEGER freq;
        QueryPerformanceFrequency(&freq);
        std::vector<double> times[2];
        for (long i = 0; i < 2 * count; ++i) {
            const int which = int(i % 2);
            LARGE_INTEGER t0, t1;
            HWND box = nullptr;
            QueryPerformanceCounter(&t0);
            post(sheet, WM_COMMAND, ids[which], 0);
            for (DWORD start = GetTickCount(); !box; Sleep(0)) {
                box = findTop(captions[which]);
                if (box && !IsWindowVisible(box)) box = nullptr;
                if (!box && GetTickCount() - start >= timeoutMs)
                    fail("no window " + quote(captions[which]) + " appeared; seen:" + windowsSummary());
            }
            RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            send(box, WM_NULL, 0, 0);
            QueryPerformanceCounter(&t1);
            times[which].push_back(double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(freq.QuadPart));
            post(box, WM_COMMAND, IDCANCEL, 0);
            if (!waitFor([&] { return !IsWindow(box) && IsWindowEnabled(sheet); }, timeoutMs))
                fail(quote(captions[which]) + " did not close on Cancel");
        }
        for (int which = 0; which < 2; ++which)
            printf("@@box %s median_ms=%.2f opened=%zu\n", quote(captions[which]).c_str(), median(times[which]),
                   times[which].size());
        fflush(stdout);
    }

    void cmdKey(const Call& k) {
        key(k.a(1));
    }

    // Every text of the page in front (or of the current window) shows whole in its
    // control's own font, and a sheet's tab row is one row.
    void cmdExpectFit(const Call&) {
        HWND w = requireCurrent();
        probe::Block b = runProbe(probe::OpFit, container());
        if (!b.result) fail("the texts of the window could not be measured");
        std::string cut;
        for (int i = 0; i < b.count; ++i)
            cut += format("%s%d %s needs %u px, has %u", cut.empty() ? "" : "; ", int(short(b.ids[i])),
                          quote(b.texts[i]).c_str(), b.types[i], b.states[i]);
        if (HWND t = tabControl(w)) {
            int rows = int(send(t, TCM_GETROWCOUNT, 0, 0));
            if (rows != 1) cut += format("%sthe tab row has %d rows", cut.empty() ? "" : "; ", rows);
        }
        if (!cut.empty()) fail(format("cut off at %d dpi: %s", int(b.dpi), cut.c_str()));
    }

    void cmdExpectSysmenu(const Call& k) {
        HWND w = requireCurrent();
        probe::Block b = runProbe(probe::OpSystemMenu, w);
        if (!b.result) fail("the program's system menu could not be read");
        std::vector<std::string> items;
        for (int i = 0; i < b.count; ++i) {
            if (b.types[i] & MFT_SEPARATOR) {
                items.push_back("-");
                continue;
            }
            switch (b.ids[i] & 0xFFF0) {
                case SC_RESTORE: items.push_back("Restore"); break;
                case SC_MOVE: items.push_back("Move"); break;
                case SC_SIZE: items.push_back("Size"); break;
                case SC_MINIMIZE: items.push_back("Minimize"); break;
                case SC_MAXIMIZE: items.push_back("Maximize"); break;
                case SC_CLOSE: items.push_back("Close"); break;
                default:
                    items.push_back(format("0x%X", b.ids[i]) + " " + quote(b.texts[i]) +
                                    (b.states[i] & MFS_GRAYED ? " grey" : ""));
            }
        }
        if (joinBar(items) != k.a(1))
            fail(format("system menu: expected %s, seen %s", quote(k.a(1)).c_str(), quote(joinBar(items)).c_str()));
    }

    void cmdCloseBox(const Call&) {
        post(requireCurrent(), WM_SYSCOMMAND, SC_CLOSE, 0);
        settle();
    }

    // The caption's minimise box and the system menu's Restore, then whether the
    // window is shown minimised.
    // Or a command of the program's own added to its window menu, by number.
    void cmdSysCommand(const Call& k) {
        WPARAM code = k.a(1) == "minimize"  ? SC_MINIMIZE
                      : k.a(1) == "restore" ? SC_RESTORE
                                            : WPARAM(parseNumber(k.a(1), "minimize, restore or a menu id"));
        if (!code) fail("sys-command takes minimize, restore or a menu id");
        post(requireCurrent(), WM_SYSCOMMAND, code, 0);
        settle();
    }

    // Another program becomes the active one (a window of the driver's own), and
    // the program under test again: it sees WM_ACTIVATEAPP both ways.
    // The driver's own window, made hidden on first use.
    HWND ownWindow() {
        if (!away) {
            away = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"kdriver", WS_POPUP | WS_BORDER, 0, 0, 40, 40, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
            if (!away) fail("cannot make a window of the driver's own");
        }
        return away;
    }

    void cmdSwitchAway(const Call&) {
        ShowWindow(ownWindow(), SW_SHOW);
        bringToForeground(away);
        settle();
    }

    void cmdSwitchBack(const Call&) {
        HWND target = requireCurrent();
        if (away) ShowWindow(away, SW_HIDE);
        bringToForeground(target);
        settle();
    }

    // Makes `target` the foreground window, handling the driver's own window's
    // messages meanwhile.
    void bringToForeground(HWND target) {
        if (!waitFor(
                [&] {
                    if (GetForegroundWindow() == target) return true;
                    SetForegroundWindow(target);
                    MSG msg;
                    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
                    return GetForegroundWindow() == target;
                },
                timeoutMs))
            fail(format("cannot bring %s to the foreground", quote(caption(target)).c_str()));
    }

    void cmdExpectMinimized(const Call& k) {
        HWND w = requireCurrent();
        expectValue("minimised", k.a(1), [&] { return std::string(IsIconic(w) ? "1" : "0"); });
    }

    // Files dropped on the current window, as Explorer drops them: a DROPFILES
    // block with the full paths, handed over in WM_DROPFILES. The block is the
    // program's to free (DragFinish), so it lives in the program's memory.
    void cmdDropFiles(const Call& k) {
        HWND w = requireCurrent();
        std::wstring names;
        for (size_t i = 1; i <= k.argc; ++i) names += widen(fullPath(k.a(i))) + L'\0';
        names += L'\0';
        DROPFILES head = {};
        head.pFiles = sizeof head;
        head.fWide = TRUE;
        const size_t size = sizeof head + names.size() * sizeof(wchar_t);
        void* block = VirtualAllocEx(proc.hProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!block) fail("VirtualAllocEx failed in the program");
        SIZE_T done = 0;
        if (!WriteProcessMemory(proc.hProcess, block, &head, sizeof head, &done) ||
            !WriteProcessMemory(proc.hProcess, static_cast<char*>(block) + sizeof head, names.data(),
                                names.size() * sizeof(wchar_t), &done))
            fail("WriteProcessMemory failed");
        post(w, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
        settle(100);
    }

    void cmdCommand(const Call& k) {
        // A command sent to the current window itself (not through a page's button).
        WPARAM wp = WPARAM(parseNumber(k.a(1), "a command id") & 0xFFFF);
        if (k.name == "command")
            send(requireCurrent(), WM_COMMAND, wp, 0);
        else
            post(requireCurrent(), WM_COMMAND, wp, 0), settle(100);
    }

    void cmdExpectNoButton(const Call& k) {
        HWND w = requireCurrent();
        std::string want = k.a(1);
        std::vector<int> ids;
        if (want == "OK") ids = {IDOK};
        if (want == "Cancel") ids = {IDCANCEL};
        if (want == "Apply") ids = {0x3021};
        if (want == "Help") ids = {IDHELP, 0x3021 + 2};
        for (HWND b : children(w)) {
            if (lstrcmpiA(className(b).c_str(), "Button") || !IsWindowVisible(b)) continue;
            std::string text = stripMnemonic(caption(b));
            bool byText = lstrcmpiA(text.c_str(), want.c_str()) == 0 ||
                          (want == "Apply" && lstrcmpiA(text.c_str(), "Apply Now") == 0);
            bool byId = GetParent(b) == w && std::find(ids.begin(), ids.end(), controlId(b)) != ids.end();
            if (byText || byId)
                fail(format("a visible button %s (id %d) is in %s", quote(caption(b)).c_str(), controlId(b),
                            quote(caption(w)).c_str()));
        }
    }

    void cmdClick(const Call& k) {
        HWND b = control(k.a(1));
        if (k.name == "click") {
            send(b, BM_CLICK, 0, 0);
        } else {
            post(b, BM_CLICK, 0, 0);
            settle(100);
        }
    }

    void cmdType(const Call& k) {
        HWND e = control(k.a(1));
        focusControl(e);
        for (wchar_t w : widen(k.a(2))) send(e, WM_CHAR, w, 1);
    }

    // TEXT on the clipboard, then WM_PASTE to the focused field: the field reads the
    // clipboard itself, as on Ctrl+V. The clipboard is owned by a window of the driver's.
    void cmdPaste(const Call& k) {
        HWND e = control(k.a(1));
        const std::wstring text = widen(k.a(2));
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        if (!data) fail("GlobalAlloc failed");
        memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(data);
        bool opened = false;
        waitFor([&] { return opened = OpenClipboard(ownWindow()) != FALSE; }, timeoutMs);
        if (!opened) {
            GlobalFree(data);
            fail(format("cannot open the clipboard (%lu)", GetLastError()));
        }
        const bool put = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
        if (!put) {
            GlobalFree(data);
            fail("cannot put the text on the clipboard");
        }
        focusControl(e);
        send(e, WM_PASTE, 0, 0);
    }

    void cmdSelectAll(const Call& k) {
        HWND e = control(k.a(1));
        focusControl(e);
        send(e, EM_SETSEL, 0, -1);
    }

    void cmdBackspace(const Call& k) {
        HWND e = control(k.a(1));
        long n = k.argc > 1 ? parseNumber(k.a(2), "a count") : 1;
        focusControl(e);
        for (long i = 0; i < n; ++i) send(e, WM_CHAR, VK_BACK, 1);
    }

    void cmdExpectText(const Call& k) {
        HWND w = control(k.a(1));
        expectValue(format("text of control %s", k.a(1).c_str()), k.a(2), [&] { return controlText(w); });
    }

    void cmdExpectFirstShown(const Call& k) {
        HWND w = control(k.a(1));
        expectValue(format("first shown character of control %s", k.a(1).c_str()), k.a(2),
                    [&] { return format("%d", int(send(w, EM_GETFIRSTVISIBLELINE, 0, 0))); });
    }

    // "tabs" for the tab row, else the id of the focused control, marked when
    // it is not on the page in front.
    void cmdExpectFocus(const Call& k) {
        HWND tabs = requireTabs();
        HWND page = container();
        DWORD tid = GetWindowThreadProcessId(tabs, nullptr);
        expectValue("keyboard focus", k.a(1), [&]() -> std::string {
            GUITHREADINFO gti = {};
            gti.cbSize = sizeof gti;
            if (!GetGUIThreadInfo(tid, &gti) || !gti.hwndFocus) return "nothing";
            if (gti.hwndFocus == tabs) return "tabs";
            std::string id = format("%d", controlId(gti.hwndFocus));
            return IsChild(page, gti.hwndFocus) ? id : id + " (not on the page in front)";
        });
    }

    // Control ID's answer to `msg`, a number, against `want`.
    void expectAnswer(const Call& k, const char* what, UINT msg, const std::string& want) {
        HWND h = control(k.a(1));
        expectValue(format("%s %s", what, k.a(1).c_str()), want, [&] { return format("%d", int(send(h, msg, 0, 0))); });
    }

    void cmdExpectChecked(const Call& k) { expectAnswer(k, "check state of control", BM_GETCHECK, k.a(2)); }

    void cmdExpectEnabled(const Call& k) {
        HWND w = control(k.a(1));
        expectValue(format("enabled state of control %s", k.a(1).c_str()), k.a(2),
                    [&] { return IsWindowEnabled(w) ? std::string("1") : std::string("0"); });
    }

    void cmdChoose(const Call& k) {
        HWND combo = control(k.a(1));
        long index = parseNumber(k.a(2), "a list index");
        long count = long(send(combo, CB_GETCOUNT, 0, 0));
        if (index < 0 || index >= count) fail(format("the list has %ld entries, no %ld", count, index));
        if (send(combo, CB_SETCURSEL, index, 0) != index) fail("CB_SETCURSEL failed");
        // CB_SETCURSEL notifies nobody; a user's choice sends CBN_SELCHANGE.
        WPARAM wp = MAKEWPARAM(controlId(combo), CBN_SELCHANGE);
        if (k.name == "choose")
            send(GetParent(combo), WM_COMMAND, wp, reinterpret_cast<LPARAM>(combo));
        else
            post(GetParent(combo), WM_COMMAND, wp, reinterpret_cast<LPARAM>(combo)), settle(100);
    }

    void cmdExpectSelection(const Call& k) {
        expectAnswer(k, "selection of list", CB_GETCURSEL, k.a(2) == "none" ? "-1" : k.a(2));
    }

    void cmdExpectCount(const Call& k) { expectAnswer(k, "entries of list", CB_GETCOUNT, k.a(2)); }

    void cmdExpectItem(const Call& k) {
        HWND combo = control(k.a(1));
        int index = int(parseNumber(k.a(2), "a list index"));
        expectValue(format("entry %d of list %s", index, k.a(1).c_str()), k.a(3), [&] { return comboItem(combo, index); });
    }

    // -- list-views (a report list's rows and cells) --

    HWND listView(const std::string& idText) {
        HWND h = control(idText);
        if (className(h) != "SysListView32") fail(format("control %s is a %s, not a list-view", idText.c_str(), className(h).c_str()));
        return h;
    }

    // A cell's text.
    std::string listCell(HWND lv, int row, int column) {
        LVITEMW item = {};
        item.iSubItem = column;
        std::string text;
        remoteItemText(lv, LVM_GETITEMTEXTW, WPARAM(row), item, text);  // the text's length; 0 for an empty cell
        return text;
    }

    void cmdExpectListRows(const Call& k) { expectAnswer(k, "rows of list-view", LVM_GETITEMCOUNT, k.a(2)); }

    void cmdExpectListCell(const Call& k) {
        HWND lv = listView(k.a(1));
        int row = int(parseNumber(k.a(2), "a row")), column = int(parseNumber(k.a(3), "a column"));
        expectValue(format("cell %d,%d of list-view %s", row, column, k.a(1).c_str()), k.a(4), [&] {
            int rows = int(send(lv, LVM_GETITEMCOUNT, 0, 0));
            return row < rows ? listCell(lv, row, column) : format("(no row %d: %d rows)", row, rows);
        });
    }

    void cmdExpectListSelected(const Call& k) {
        HWND lv = listView(k.a(1));
        std::string want = k.a(2) == "none" ? "-1" : k.a(2);
        expectValue(format("selected row of list-view %s", k.a(1).c_str()), want,
                    [&] { return format("%d", int(send(lv, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED))); });
    }

    // As a user's click on the row: it alone selected, and the focus on it.
    void cmdSelectListRow(const Call& k) {
        HWND lv = listView(k.a(1));
        long row = parseNumber(k.a(2), "a row");
        long rows = long(send(lv, LVM_GETITEMCOUNT, 0, 0));
        if (row < 0 || row >= rows) fail(format("the list-view has %ld rows, no %ld", rows, row));
        Remote mem(proc.hProcess, sizeof(LVITEMW));
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        mem.write(&item, sizeof item);
        send(lv, LVM_SETITEMSTATE, WPARAM(-1), mem.at());  // every row cleared
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        mem.write(&item, sizeof item);
        if (!send(lv, LVM_SETITEMSTATE, row, mem.at())) fail(format("LVM_SETITEMSTATE failed for row %ld", row));
        send(lv, LVM_ENSUREVISIBLE, row, FALSE);
    }

    void cmdScroll(const Call& k) {
        HWND bar = control(k.a(1));
        long code = parseNumber(k.a(2), "a scroll code");
        long n = k.name == "scroll" ? 1 : parseNumber(k.a(3), "a count");
        DWORD style = GetWindowLongA(bar, GWL_STYLE);
        UINT msg = (className(bar) == "ScrollBar" && !(style & SBS_VERT)) ? WM_HSCROLL : WM_VSCROLL;
        for (long i = 0; i < n; ++i)
            send(GetParent(bar), msg, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bar));
    }

    void cmdExpectMsgbox(const Call& k) {
        requireStarted();
        HWND found = nullptr;
        if (!waitFor(
                [&] {
                    for (HWND h : topWindows())
                        if (isMessageBox(h) && caption(messageBoxText(h)) == k.a(1)) return (found = h) != nullptr;
                    return false;
                },
                timeoutMs))
            fail("no message box " + quote(k.a(1)) + " appeared; seen:" + windowsSummary());
        makeCurrent(found);
    }

    void cmdExpectMsgboxIcon(const Call& k) {
        HWND box = requireCurrent();
        expectValue("message box icon", k.a(1), [&] { return messageBoxIcon(box); });
    }

    void cmdAnswer(const Call& k) {
        static const std::map<std::string, int> ids = {{"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
        auto it = ids.find(k.a(1));
        if (it == ids.end()) fail("answer yes, no, ok or cancel");
        HWND box = requireCurrent();
        HWND button = nullptr;
        for (HWND b : directChildren(box))
            if (controlId(b) == it->second && className(b) == "Button" && IsWindowVisible(b)) button = b;
        if (!button) fail(format("%s has no %s button", quote(caption(box)).c_str(), k.a(1).c_str()));
        clickAndWaitGone(button);
    }

    void cmdExpectFilename(const Call& k) {
        HWND e = fileNameEdit();
        expectValue("file name field", k.a(1), [&] { return controlText(e); });
    }

    void cmdSetFilename(const Call& k) {
        HWND e = fileNameEdit();
        std::string p = k.a(1);
        p = winPath(p);  // the dialog refuses '/' in a name
        std::wstring w = widen(p);
        send(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
        expectValue("file name field after setting it", p, [&] { return controlText(e); });
    }

    void cmdSetFilenameFull(const Call& k) {
        HWND e = fileNameEdit();
        std::wstring w = widen(fullPath(k.a(1)));
        send(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
    }

    void cmdExpectFilterSelected(const Call& k) {
        HWND combo = dialogControl(0x470, "ComboBox");
        expectValue("selected file type", k.a(1), [&] { return format("%d", int(send(combo, CB_GETCURSEL, 0, 0))); });
    }

    void cmdExpectFilterText(const Call& k) {
        HWND combo = dialogControl(0x470, "ComboBox");
        int index = int(parseNumber(k.a(1), "a list index"));
        expectValue(format("file type %d", index), k.a(2), [&] { return comboItem(combo, index); });
    }

    void cmdExpectFilterCount(const Call& k) {
        HWND combo = dialogControl(0x470, "ComboBox");
        expectValue("number of file types", k.a(1), [&] { return format("%d", int(send(combo, CB_GETCOUNT, 0, 0))); });
    }

    // How many entries (folders and the files the selected type lets through)
    // the file dialog's list shows.
    void cmdExpectDialogEntries(const Call& k) {
        HWND d = requireCurrent();
        expectValue("entries in the file list", k.a(1), [&] {
            for (HWND h : children(d))
                if (className(h) == "SysListView32" && IsWindowVisible(h))
                    return format("%d", int(send(h, LVM_GETITEMCOUNT, 0, 0)));
            return std::string("(no file list)");
        });
    }

    void cmdDialogButton(const Call& k) {
        // Posted: what the click sets off may be a message box or the end of the dialog.
        post(dialogControl(k.name == "dialog-ok" ? IDOK : IDCANCEL, "Button"), BM_CLICK, 0, 0);
        settle(100);
    }

    void cmdWaitExit(const Call& k) {
        requireStarted();
        if (!waitFor([&] { return !running(); }, timeoutMs))
            fail(format("the program is still running after %lu s:", timeoutMs / 1000) + windowsSummary());
        DWORD code = 0;
        GetExitCodeProcess(proc.hProcess, &code);
        if (long(code) != parseNumber(k.a(1), "an exit code"))
            fail(format("exit code: expected %s, seen %lu", k.a(1).c_str(), code));
        cur = prev = nullptr;
    }

    void cmdExpectRunning(const Call&) {
        requireStarted();
        settle();
        if (!running()) fail("the program is not running:" + windowsSummary());
    }

    // The bytes given from argument `first` on, as one hex text.
    static std::vector<unsigned char> hexArgs(const Call& k, size_t first) {
        std::string hexText;
        for (size_t i = first; i <= k.argc; ++i) hexText += k.a(i);
        return parseHex(hexText);
    }

    // Replaces the whole file's bytes (`create`: and makes it, and its folders).
    void writeBytes(const std::string& path, const std::vector<unsigned char>& data, bool create) {
        if (create) {
            std::string w = winPath(path);
            size_t slash = w.rfind('\\');
            if (slash != std::string::npos && slash > 0) makeDirs(w.substr(0, slash));
        }
        HANDLE f = CreateFileW(filePath(path).c_str(), GENERIC_WRITE, 0, nullptr, create ? CREATE_ALWAYS : TRUNCATE_EXISTING,
                               0, nullptr);
        DWORD done = 0;
        if (f == INVALID_HANDLE_VALUE)
            fail(format("cannot %s %s (%lu)", create ? "create" : "open", path.c_str(), GetLastError()));
        BOOL ok = WriteFile(f, data.data(), DWORD(data.size()), &done, nullptr);
        CloseHandle(f);
        if (!ok || done != data.size()) fail("cannot write " + path);
    }

    void cmdWriteFile(const Call& k) { writeBytes(k.a(1), hexArgs(k, 2), true); }

    // New bytes under the old last-write time, to the 100 ns: a change that a
    // look at the time alone misses (as FAT's 2-second times would hide it).
    void cmdWriteFileSameTime(const Call& k) {
        const std::wstring path = filePath(k.a(1));
        WIN32_FILE_ATTRIBUTE_DATA before;
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &before))
            fail(format("cannot read the times of %s (%lu)", k.a(1).c_str(), GetLastError()));
        writeBytes(k.a(1), hexArgs(k, 2), false);
        HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) fail(format("cannot open %s (%lu)", k.a(1).c_str(), GetLastError()));
        BOOL ok = SetFileTime(f, nullptr, nullptr, &before.ftLastWriteTime);
        CloseHandle(f);
        WIN32_FILE_ATTRIBUTE_DATA after;
        if (!ok || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &after) ||
            CompareFileTime(&after.ftLastWriteTime, &before.ftLastWriteTime) != 0)
            fail("cannot set the last-write time of " + k.a(1) + " back");
    }

    void cmdDeleteFile(const Call& k) {
        if (!DeleteFileW(filePath(k.a(1)).c_str()))
            fail(format("cannot delete %s (%lu)", k.a(1).c_str(), GetLastError()));
    }

    void cmdExpectFile(const Call& k) {
        eventually([&] {
            std::vector<unsigned char> want = hexArgs(k, 2), seen = requireFile(k.a(1));
            if (seen != want) {
                size_t at = 0;
                while (at < want.size() && at < seen.size() && want[at] == seen[at]) ++at;
                fail(format("%s: %zu bytes expected, %zu seen, first difference at offset %zu\n    expected %s\n    seen     %s",
                            k.a(1).c_str(), want.size(), seen.size(), at, hex(want.data(), want.size()).c_str(),
                            hex(seen.data(), seen.size()).c_str()));
            }
        });
    }

    void cmdExpectFileBytes(const Call& k) {
        eventually([&] {
            std::vector<unsigned char> want = hexArgs(k, 3), seen = requireFile(k.a(1));
            size_t off = size_t(parseNumber(k.a(2), "an offset"));
            if (off + want.size() > seen.size())
                fail(format("%s has %zu bytes, too few for %zu at offset %zu", k.a(1).c_str(), seen.size(), want.size(), off));
            if (!std::equal(want.begin(), want.end(), seen.begin() + off))
                fail(format("%s at offset %zu: expected %s, seen %s", k.a(1).c_str(), off, hex(want.data(), want.size()).c_str(),
                            hex(seen.data() + off, want.size()).c_str()));
        });
    }

    void cmdExpectFileSize(const Call& k) {
        eventually([&] {
            size_t seen = requireFile(k.a(1)).size();
            if (long(seen) != parseNumber(k.a(2), "a size"))
                fail(format("%s: expected %s bytes, seen %zu", k.a(1).c_str(), k.a(2).c_str(), seen));
        });
    }

    void cmdExpectNoFile(const Call& k) {
        eventually([&] {
            if (GetFileAttributesW(filePath(k.a(1)).c_str()) != INVALID_FILE_ATTRIBUTES) fail(k.a(1) + " exists");
        });
    }

    void cmdExpectTree(const Call& k) {
        eventually([&] {
            std::vector<std::string> files;
            listTree(k.a(1), "", files);
            if (joinBar(files) != k.a(2))
                fail(format("files under %s: expected %s, seen %s", k.a(1).c_str(), quote(k.a(2)).c_str(),
                            quote(joinBar(files)).c_str()));
        });
    }

    // hold-file: without sharing, so the program can neither read nor replace it;
    // hold-file-shared: open for writing but sharing everything, as a game or a
    // script that keeps the file open does.
    void cmdHoldFile(const Call& k) {
        if (heldFiles.count(k.a(1))) fail(k.a(1) + " is already held");
        const bool shared = k.name == "hold-file-shared";
        HANDLE f = CreateFileW(filePath(k.a(1)).c_str(), shared ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                               shared ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) fail(format("cannot open %s (%lu)", k.a(1).c_str(), GetLastError()));
        heldFiles[k.a(1)] = f;
    }

    void cmdReleaseFile(const Call& k) {
        auto it = heldFiles.find(k.a(1));
        if (it == heldFiles.end()) fail(k.a(1) + " is not held");
        CloseHandle(it->second);
        heldFiles.erase(it);
    }

    void cmdSetWritability(const Call& k) {
        // Wine keeps the read-only attribute as the file's Unix write bits.
        DWORD attrs = GetFileAttributesW(filePath(k.a(1)).c_str());
        if (attrs == INVALID_FILE_ATTRIBUTES) fail(k.a(1) + " does not exist");
        attrs = k.name == "set-readonly" ? (attrs | FILE_ATTRIBUTE_READONLY) : (attrs & ~FILE_ATTRIBUTE_READONLY);
        if (!SetFileAttributesW(filePath(k.a(1)).c_str(), attrs))
            fail(format("cannot change the attributes of %s (%lu)", k.a(1).c_str(), GetLastError()));
    }

    void cmdFillDisk(const Call& k) {
        // Another program takes every free byte of the disk that holds PATH.
        HANDLE f = CreateFileW(filePath(k.a(1)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) fail(format("cannot create %s (%lu)", k.a(1).c_str(), GetLastError()));
        std::vector<unsigned char> block(4096, 0xAA);
        for (size_t size = block.size(); size > 0; size /= 2) {
            DWORD done = 0;
            while (WriteFile(f, block.data(), DWORD(size), &done, nullptr) && done == size) {}
        }
        CloseHandle(f);
    }

    void cmdBenchStartup(const Call& k) {
        if (!job) {
            job = CreateJobObjectA(nullptr, nullptr);
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        }
        benchStartup(k.a(1), k.a(2), int(parseNumber(k.a(3), "a number of runs")));
    }

    void cmdUsageMark(const Call&) {
        requireStarted();
        usageMark = usage();
        printUsage("mark", usageMark);
    }

    void cmdExpectUsageNearMark(const Call& k) {
        requireStarted();
        Usage now = usage();
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

    void cmdMkdir(const Call& k) {
        makeDirs(k.a(1));
    }

    // FROM may start with "@driver/": a file built beside the driver.
    void cmdCopyFile(const Call& k) {
        std::string from = k.a(1);
        if (from.compare(0, 8, "@driver/") == 0) from = exeDir + from.substr(8);
        copyFile(from, k.a(2));
    }

    void cmdScreenshot(const Call& k) {
        // The harness takes the picture (X11 is out of reach from here) and answers
        // by creating the file named on the marker line.
        settle(500);  // let the windows paint
        std::string done = fullPath(".screenshot-" + k.a(1) + ".done");
        printf("@@screenshot %s %s\n", k.a(1).c_str(), done.c_str());
        fflush(stdout);
        if (!waitFor([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs))
            printf("   (no screenshot taken: run the scenario through run-scenario.sh)\n");
        DeleteFileA(done.c_str());
    }

    void run(const Line& l);

    void cleanup() {
        for (auto& h : heldFiles) CloseHandle(h.second);
        heldFiles.clear();
        if (started && running()) {
            TerminateProcess(proc.hProcess, 1);
            WaitForSingleObject(proc.hProcess, 5000);
        }
        if (job) CloseHandle(job);
        job = nullptr;
    }
};

const Driver::Command Driver::kCommands[] = {
    {"timeout", 1, 1, "timeout SECONDS", &Driver::cmdTimeout},
    {"sleep", 1, 1, "sleep SECONDS", &Driver::cmdSleep},
    {"echo", 0, kAny, "", &Driver::cmdEcho},
    {"start", 1, 2, "start EXE [ARGUMENTS]", &Driver::cmdStart},
    {"start-copy", 2, 2, "start-copy EXE NEWNAME", &Driver::cmdStartCopy},
    {"wait-window", 1, 1, "wait-window CAPTION", &Driver::cmdWaitWindow},
    {"expect-no-window", 1, 2, "expect-no-window CAPTION [SECONDS]", &Driver::cmdExpectNoWindow},
    {"expect-never-shown", 1, 1, "expect-never-shown CAPTION", &Driver::cmdExpectNeverShown},
    {"expect-caption", 1, 1, "expect-caption TEXT", &Driver::cmdExpectCaption},
    {"expect-style", 1, 1, "expect-style HEX | expect-exstyle HEX", &Driver::cmdExpectStyle},
    {"expect-exstyle", 1, 1, "expect-style HEX | expect-exstyle HEX", &Driver::cmdExpectStyle},
    {"expect-tabs", 1, 1, "expect-tabs \"A|B|...\"", &Driver::cmdExpectTabs},
    {"expect-active-tab", 1, 1, "expect-active-tab N", &Driver::cmdExpectActiveTab},
    {"expect-page", 1, 1, "expect-page CAPTION", &Driver::cmdExpectPage},
    {"select-tab", 1, 1, "select-tab N", &Driver::cmdSelectTab},
    {"bench-switch", 3, 3, "bench-switch TAB_A TAB_B COUNT", &Driver::cmdBenchSwitch},
    {"bench-boxes", 5, 5, "bench-boxes ID_A CAPTION_A ID_B CAPTION_B COUNT", &Driver::cmdBenchBoxes},
    {"key", 1, 1, "key ctrl+tab|escape|enter|alt+f4|...", &Driver::cmdKey},
    {"expect-sysmenu", 1, 1, "expect-sysmenu \"Move|Close\"", &Driver::cmdExpectSysmenu},
    {"expect-fit", 0, 0, "expect-fit", &Driver::cmdExpectFit},
    {"close-box", 0, 0, "close-box", &Driver::cmdCloseBox},
    {"drop-files", 1, 8, "drop-files PATH...", &Driver::cmdDropFiles},
    {"sys-command", 1, 1, "sys-command minimize|restore|ID", &Driver::cmdSysCommand},
    {"switch-away", 0, 0, "switch-away", &Driver::cmdSwitchAway},
    {"switch-back", 0, 0, "switch-back", &Driver::cmdSwitchBack},
    {"expect-minimized", 1, 1, "expect-minimized 0|1", &Driver::cmdExpectMinimized},
    {"command", 1, 1, "command ID", &Driver::cmdCommand},
    {"command-async", 1, 1, "command ID", &Driver::cmdCommand},
    {"expect-no-button", 1, 1, "expect-no-button OK|Cancel|Apply|Help|TEXT", &Driver::cmdExpectNoButton},
    {"click", 1, 1, "click ID", &Driver::cmdClick},
    {"click-async", 1, 1, "click ID", &Driver::cmdClick},
    {"type", 2, 2, "type ID TEXT", &Driver::cmdType},
    {"paste", 2, 2, "paste ID TEXT", &Driver::cmdPaste},
    {"select-all", 1, 1, "select-all ID", &Driver::cmdSelectAll},
    {"backspace", 1, 2, "backspace ID [COUNT]", &Driver::cmdBackspace},
    {"expect-text", 2, 2, "expect-text ID TEXT", &Driver::cmdExpectText},
    {"expect-first-shown", 2, 2, "expect-first-shown ID N", &Driver::cmdExpectFirstShown},
    {"expect-focus", 1, 1, "expect-focus tabs|ID", &Driver::cmdExpectFocus},
    {"expect-checked", 2, 2, "expect-checked ID 0|1", &Driver::cmdExpectChecked},
    {"expect-enabled", 2, 2, "expect-enabled ID 0|1", &Driver::cmdExpectEnabled},
    {"choose", 2, 2, "choose ID INDEX", &Driver::cmdChoose},
    {"choose-async", 2, 2, "choose ID INDEX", &Driver::cmdChoose},
    {"expect-selection", 2, 2, "expect-selection ID INDEX|none", &Driver::cmdExpectSelection},
    {"expect-count", 2, 2, "expect-count ID N", &Driver::cmdExpectCount},
    {"expect-item", 3, 3, "expect-item ID INDEX TEXT", &Driver::cmdExpectItem},
    {"expect-list-rows", 2, 2, "expect-list-rows ID N", &Driver::cmdExpectListRows},
    {"expect-list-cell", 4, 4, "expect-list-cell ID ROW COLUMN TEXT", &Driver::cmdExpectListCell},
    {"expect-list-selected", 2, 2, "expect-list-selected ID ROW|none", &Driver::cmdExpectListSelected},
    {"select-list-row", 2, 2, "select-list-row ID ROW", &Driver::cmdSelectListRow},
    {"scroll", 2, 2, "scroll ID CODE", &Driver::cmdScroll},
    {"scroll-repeat", 3, 3, "scroll-repeat ID CODE COUNT", &Driver::cmdScroll},
    {"expect-msgbox", 1, 1, "expect-msgbox TEXT", &Driver::cmdExpectMsgbox},
    {"expect-msgbox-icon", 1, 1, "expect-msgbox-icon stop|question|exclamation|information|none", &Driver::cmdExpectMsgboxIcon},
    {"answer", 1, 1, "answer yes|no|ok|cancel", &Driver::cmdAnswer},
    {"expect-filename", 1, 1, "expect-filename TEXT", &Driver::cmdExpectFilename},
    {"set-filename", 1, 1, "set-filename PATH", &Driver::cmdSetFilename},
    {"set-filename-full", 1, 1, "set-filename-full RELATIVE_PATH", &Driver::cmdSetFilenameFull},
    {"expect-filter-selected", 1, 1, "expect-filter-selected INDEX", &Driver::cmdExpectFilterSelected},
    {"expect-filter-text", 2, 2, "expect-filter-text INDEX TEXT", &Driver::cmdExpectFilterText},
    {"expect-filter-count", 1, 1, "expect-filter-count N", &Driver::cmdExpectFilterCount},
    {"expect-dialog-entries", 1, 1, "expect-dialog-entries N", &Driver::cmdExpectDialogEntries},
    {"dialog-ok", 0, 0, "dialog-ok | dialog-cancel", &Driver::cmdDialogButton},
    {"dialog-cancel", 0, 0, "dialog-ok | dialog-cancel", &Driver::cmdDialogButton},
    {"wait-exit", 1, 1, "wait-exit CODE", &Driver::cmdWaitExit},
    {"expect-running", 0, 0, "expect-running", &Driver::cmdExpectRunning},
    {"write-file", 1, kAny, "write-file PATH HEX...", &Driver::cmdWriteFile},
    {"write-file-same-time", 1, kAny, "write-file-same-time PATH HEX...", &Driver::cmdWriteFileSameTime},
    {"delete-file", 1, 1, "delete-file PATH", &Driver::cmdDeleteFile},
    {"expect-file", 1, kAny, "expect-file PATH HEX...", &Driver::cmdExpectFile},
    {"expect-file-bytes", 2, kAny, "expect-file-bytes PATH OFFSET HEX...", &Driver::cmdExpectFileBytes},
    {"expect-file-size", 2, 2, "expect-file-size PATH N", &Driver::cmdExpectFileSize},
    {"expect-no-file", 1, 1, "expect-no-file PATH", &Driver::cmdExpectNoFile},
    {"expect-tree", 2, 2, "expect-tree DIR \"file|dir/file|...\"", &Driver::cmdExpectTree},
    {"hold-file", 1, 1, "hold-file PATH", &Driver::cmdHoldFile},
    {"hold-file-shared", 1, 1, "hold-file-shared PATH", &Driver::cmdHoldFile},
    {"release-file", 1, 1, "release-file PATH", &Driver::cmdReleaseFile},
    {"set-readonly", 1, 1, "set-readonly|set-writable PATH", &Driver::cmdSetWritability},
    {"set-writable", 1, 1, "set-readonly|set-writable PATH", &Driver::cmdSetWritability},
    {"fill-disk", 1, 1, "fill-disk PATH", &Driver::cmdFillDisk},
    {"bench-startup", 3, 3, "bench-startup EXE CAPTION RUNS", &Driver::cmdBenchStartup},
    {"usage-mark", 0, 0, "usage-mark", &Driver::cmdUsageMark},
    {"expect-usage-near-mark", 1, 1, "expect-usage-near-mark MAX_GROWTH_KIB", &Driver::cmdExpectUsageNearMark},
    {"mkdir", 1, 1, "mkdir PATH", &Driver::cmdMkdir},
    {"copy-file", 2, 2, "copy-file FROM|@driver/FILE TO", &Driver::cmdCopyFile},
    {"screenshot", 1, 1, "screenshot NAME", &Driver::cmdScreenshot},
};

void Driver::run(const Line& l) {
    const std::string& name = l.args[0];
    const Command* cmd = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return name == c.name; });
    if (cmd == std::end(kCommands)) fail("unknown command " + quote(name));
    Call call{name, l.args, l.args.size() - 1};
    if (call.argc < cmd->minArgs || call.argc > cmd->maxArgs) fail(format("usage: %s", cmd->usage));
    (this->*cmd->run)(call);
    recordSeen();
}

int runScenario(const char* file) {
    std::string path = winPath(file);
    std::vector<unsigned char> bytes;
    Driver d;
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    d.exeDir = self;
    d.exeDir.erase(d.exeDir.rfind('\\') + 1);
    if (!d.readFile(path, bytes)) {
        printf("FAIL cannot read scenario %s\n", file);
        return 2;
    }
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    std::vector<Line> lines;
    std::string text(bytes.begin(), bytes.end());
    int number = 0;
    for (size_t pos = 0; pos <= text.size();) {
        size_t nl = text.find('\n', pos);
        std::string raw = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? text.size() + 1 : nl + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        try {
            Line l{number, raw, tokenize(raw)};
            if (!l.args.empty()) lines.push_back(l);
        } catch (const Failure& e) {
            printf("FAIL %s:%d: %s\n  %s\n", name.c_str(), number, raw.c_str(), e.what());
            return 1;
        }
    }
    // ${GAME} in an argument stands for the game directory's full path, which is new
    // for every run (the dialogs report full paths).
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    std::string game = cwd;
    if (!game.empty() && game.back() == '\\') game.pop_back();
    for (Line& l : lines)
        for (std::string& arg : l.args)
            for (size_t at; (at = arg.find("${GAME}")) != std::string::npos;) arg.replace(at, 7, game);
    for (const Line& l : lines) {
        try {
            d.run(l);
            printf("ok   %s:%d: %s\n", name.c_str(), l.number, l.text.c_str());
            fflush(stdout);
        } catch (const Failure& e) {
            printf("FAIL %s:%d: %s\n  %s\n", name.c_str(), l.number, l.text.c_str(), e.what());
            fflush(stdout);
            d.cleanup();
            return 1;
        }
    }
    if (d.running()) printf("note: the program was still running at the end of the scenario; stopped it\n");
    d.cleanup();
    printf("PASS %s (%zu commands)\n", name.c_str(), lines.size());
    return 0;
}

}  // namespace
}  // namespace kestrane

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // plain \n lines for the harness
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc != 2) {
        printf("usage: kdriver SCENARIO_FILE   (run in the game directory)\n");
        return 2;
    }
    return kestrane::runScenario(argv[1]);
}
