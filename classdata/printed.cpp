#include "printed.h"

#include <cstdarg>
#include <cstdio>

namespace kestrane {

std::string printed(const char* format, ...) {
    std::va_list args, again;
    va_start(args, format);
    va_copy(again, args);
#ifdef _WIN32
    // The C library's own: MinGW's standard printf would bring its floating-
    // point code into the editor, and no format here prints a float.
    const int size = _vscprintf(format, args);
#else
    const int size = std::vsnprintf(nullptr, 0, format, args);
#endif
    va_end(args);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
#ifdef _WIN32
    if (size > 0) _vsnprintf(&text[0], text.size() + 1, format, again);
#else
    if (size > 0) std::vsnprintf(&text[0], text.size() + 1, format, again);
#endif
    va_end(again);
    return text;
}

}  // namespace kestrane
