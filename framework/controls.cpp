#include "controls.h"

#include <vector>

namespace kestrane::fw {

std::string EditField::line(std::size_t maxChars) const {
    // EM_GETLINE takes the buffer's size in its first WORD and copies no NUL.
    std::vector<char> buf(maxChars + 2 > sizeof(WORD) ? maxChars + 2 : sizeof(WORD), '\0');
    *reinterpret_cast<WORD*>(buf.data()) = static_cast<WORD>(maxChars);
    LRESULT n = send(EM_GETLINE, 0, reinterpret_cast<LPARAM>(buf.data()));
    if (n < 0) n = 0;
    if (static_cast<std::size_t>(n) > maxChars) n = static_cast<LRESULT>(maxChars);
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

}  // namespace kestrane::fw
