// What every part of the driver uses: failures and their messages, UTF-8 text,
// numbers and hex bytes, paths as a scenario writes them, and the program's windows
// told apart by class and id.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "driver.h"

namespace kestrane {

[[noreturn]] void fail(const std::string& msg) { throw Failure(msg); }

std::string format(const char* fmt, ...) {
    char buf[2048];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

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

// ---- paths ----------------------------------------------------------------------------

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

// ---- windows --------------------------------------------------------------------------

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

}  // namespace kestrane
