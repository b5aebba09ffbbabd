#include "printed.h"

#include <cstdarg>
#include <cstdio>

namespace kestrane {

std::string printed(const char* format, ...) {
    std::va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    if (size > 0) std::vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return text;
}

}  // namespace kestrane
