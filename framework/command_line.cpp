#include "command_line.h"

namespace kestrane::fw {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program's name: up to the first blank outside quotes; quotes only group,
// and backslashes are plain characters there.
const wchar_t* skipProgramName(const wchar_t* p, WString& out) {
    bool quoted = false;
    for (; *p && (quoted || !isBlank(*p)); ++p) {
        if (*p == L'"')
            quoted = !quoted;
        else
            out += *p;
    }
    return p;
}

// One further argument: blanks end it outside quotes; 2n backslashes before a
// quote give n and the quote opens or closes, 2n+1 give n and a literal quote;
// "" inside quotes is a literal quote.
const wchar_t* nextArgument(const wchar_t* p, WString& out) {
    bool quoted = false;
    while (*p && (quoted || !isBlank(*p))) {
        if (*p == L'\\') {
            std::size_t n = 0;
            while (*p == L'\\') ++n, ++p;
            if (*p == L'"') {
                out.append(n / 2, L'\\');
                if (n % 2) {
                    out += L'"';
                    ++p;
                }
            } else {
                out.append(n, L'\\');
            }
        } else if (*p == L'"') {
            if (quoted && p[1] == L'"') {
                out += L'"';
                p += 2;
            } else {
                quoted = !quoted;
                ++p;
            }
        } else {
            out += *p++;
        }
    }
    return p;
}

}  // namespace

std::optional<WString> commandLineArgument(const wchar_t* commandLine, int index) {
    if (!commandLine || index < 0) return std::nullopt;
    WString arg;
    const wchar_t* p = skipProgramName(commandLine, arg);
    for (int i = 1; i <= index; ++i) {
        while (isBlank(*p)) ++p;
        if (!*p) return std::nullopt;
        arg.clear();
        p = nextArgument(p, arg);
    }
    return arg;
}

}  // namespace kestrane::fw
