// The program under test as the commands see it: its process in a kill-on-close job,
// its top-level windows and the current one, the sheet's page in front and its
// controls, messages sent with a bounded wait, and the waits themselves.
#include "driver.h"

namespace kestrane {

// ---- the process and its job ----------------------------------------------------------

// A job that ends its processes when the driver ends, whatever way it ends.
HANDLE Driver::killOnCloseJob() {
    HANDLE j = CreateJobObjectA(nullptr, nullptr);
    if (j) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return j;
}

// `tail`, when given, follows the program's quoted path on its command line
// as it stands (UTF-8), so a scenario writes the quoting a shell would.
void Driver::start(const std::string& exe, const std::string& tail) {
    if (started && running()) fail("a program is already running");
    std::string path = fullPath(exe);
    if (GetFileAttributesW(filePath(exe).c_str()) == INVALID_FILE_ATTRIBUTES) fail("no such program: " + path);
    job = killOnCloseJob();
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

void Driver::requireStarted() {
    if (!started) fail("no program started yet (use start)");
}

bool Driver::running() { return started && WaitForSingleObject(proc.hProcess, 0) == WAIT_TIMEOUT; }

void Driver::cleanup() {
    for (auto& h : heldFiles) CloseHandle(h.second);
    heldFiles.clear();
    if (started && running()) {
        TerminateProcess(proc.hProcess, 1);
        WaitForSingleObject(proc.hProcess, 5000);
    }
    if (job) CloseHandle(job);
    job = nullptr;
}

// ---- its windows ----------------------------------------------------------------------

std::vector<HWND> Driver::topWindows() {
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

std::string Driver::caption(HWND h) {
    wchar_t buf[512] = L"";
    GetWindowTextW(h, buf, 512);
    return narrow(buf);
}

// Whether a window's caption names `want`: the caption itself, or a
// document window's "NAME - want".
bool Driver::captionNames(const std::string& shown, const std::string& want) {
    const std::string suffix = " - " + want;
    return shown == want ||
           (shown.size() > suffix.size() && shown.compare(shown.size() - suffix.size(), suffix.size(), suffix) == 0);
}

// A message box's text: the static control with id 0xFFFF; null for other windows.
HWND Driver::messageBoxText(HWND h) {
    for (HWND c : directChildren(h))
        if (controlId(c) == 0xFFFF && className(c) == "Static") return c;
    return nullptr;
}

HWND Driver::findTop(const std::string& want) {
    for (HWND h : topWindows())
        if (captionNames(caption(h), want)) return h;
    return nullptr;
}

void Driver::recordSeen() {
    for (HWND h : topWindows()) seenCaptions.insert(caption(h));
}

std::string Driver::windowsSummary() {
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

HWND Driver::requireCurrent() {
    requireStarted();
    if (!cur || !IsWindow(cur)) fail("no current window (use wait-window or expect-msgbox first)" + windowsSummary());
    return cur;
}

void Driver::makeCurrent(HWND h) {
    if (h != cur) prev = cur;
    cur = h;
}

// After a box or dialog has gone, the commands act on the window from before it.
void Driver::backToPrevious() {
    cur = (prev && IsWindow(prev) && IsWindowVisible(prev)) ? prev : nullptr;
    prev = nullptr;
}

HWND Driver::tabControl(HWND sheet) {
    for (HWND c : directChildren(sheet))
        if (className(c) == "SysTabControl32") return c;
    return nullptr;
}

HWND Driver::requireTabs() {
    HWND t = tabControl(requireCurrent());
    if (!t) fail(format("the current window %s has no tab row", quote(caption(cur)).c_str()));
    if (!IsWindowVisible(t)) fail(format("the tab row of %s is hidden", quote(caption(cur)).c_str()));
    return t;
}

// The active page: the sheet's visible child dialog.
HWND Driver::activePage(HWND sheet) {
    for (HWND c : directChildren(sheet))
        if (className(c) == "#32770" && IsWindowVisible(c)) return c;
    return nullptr;
}

// Where controls are looked up: the active page of a sheet, else the window itself.
HWND Driver::container() {
    HWND w = requireCurrent();
    if (tabControl(w)) {
        HWND page = activePage(w);
        if (!page) fail("the sheet shows no page");
        return page;
    }
    return w;
}

HWND Driver::control(const std::string& idText) {
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

// The driver's own window, made hidden on first use.
HWND Driver::ownWindow() {
    if (!away) {
        away = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"kdriver", WS_POPUP | WS_BORDER, 0, 0, 40, 40, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!away) fail("cannot make a window of the driver's own");
    }
    return away;
}

// Makes `target` the foreground window, handling the driver's own window's
// messages meanwhile.
void Driver::bringToForeground(HWND target) {
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

// Gives a control of the program the focus without changing its selection, as a user
// clicking into it would.
void Driver::focusControl(HWND c) {
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof gti;
    DWORD tid = GetWindowThreadProcessId(c, nullptr);
    if (GetGUIThreadInfo(tid, &gti) && gti.hwndFocus == c) return;
    LRESULT sel = send(c, EM_GETSEL, 0, 0);
    send(GetParent(c), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
    send(c, EM_SETSEL, LOWORD(sel), HIWORD(sel));
}

// ---- messages -------------------------------------------------------------------------

LRESULT Driver::send(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_NORMAL, timeoutMs, &result)) {
        if (!IsWindow(h)) fail(format("the window (class %s) is gone", className(h).c_str()));
        fail(format("the program did not answer message 0x%04X within %lu s "
                    "(is a modal window open? use the -async form of the command)%s",
                    msg, timeoutMs / 1000, windowsSummary().c_str()));
    }
    return LRESULT(result);
}

void Driver::post(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (!PostMessageW(h, msg, wp, lp)) fail(format("cannot post message 0x%04X", msg));
}

// Text of a control in the program, through WM_GETTEXT.
std::string Driver::controlText(HWND h) {
    LRESULT len = send(h, WM_GETTEXTLENGTH, 0, 0);
    std::wstring buf(size_t(len) + 2, L'\0');
    LRESULT got = send(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(&buf[0]));
    buf.resize(size_t(got));
    return narrow(buf);
}

// ---- waits ----------------------------------------------------------------------------

// Lets the program work off what it was sent or posted; a key press is posted input,
// so there is no message that could tell when it has been handled.
void Driver::settle(DWORD ms) {
    Sleep(ms);
    if (cur && IsWindow(cur)) {
        DWORD_PTR r;
        SendMessageTimeoutW(cur, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &r);
    }
    recordSeen();
}

}  // namespace kestrane
