// Windows entry: the command line comes as UTF-16 and is handed on as UTF-8
// (the file layer widens paths again). Output is UTF-8; on a console it is
// written as UTF-16 so that names outside the code page show correctly.
#include "classcfg.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <sstream>

namespace {

std::string toUtf8(const wchar_t* w) {
    int len = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (len <= 1) return std::string();
    std::string out(static_cast<std::size_t>(len - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, -1, &out[0], len, nullptr, nullptr);
    return out;
}

void emit(DWORD which, const std::string& text) {
    if (text.empty()) return;
    HANDLE h = GetStdHandle(which);
    DWORD mode = 0;
    if (h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode)) {
        int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring w(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &w[0], n);
        DWORD written = 0;
        WriteConsoleW(h, w.data(), static_cast<DWORD>(w.size()), &written, nullptr);
        return;
    }
    // A pipe or a file gets the UTF-8 bytes, with Windows line ends; a CR LF
    // already there (CSV) is not doubled by the text-mode stream.
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
    std::FILE* f = which == STD_OUTPUT_HANDLE ? stdout : stderr;
    std::fwrite(lines.data(), 1, lines.size(), f);
    std::fflush(f);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 1; argv && i < argc; ++i) args.push_back(toUtf8(argv[i]));
    if (argv) LocalFree(argv);
    std::ostringstream out, err;
    int status = kestrane::classcfg::run(args, out, err);
    emit(STD_OUTPUT_HANDLE, out.str());
    emit(STD_ERROR_HANDLE, err.str());
    return status;
}
