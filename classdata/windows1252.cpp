#include "windows1252.h"

namespace kestrane {

namespace {

// 0x80 to 0x9F; the rest of the bytes are the characters of their own number.
const char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

char32_t windows1252Char(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b; }

int windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == c) return 0x80 + i;
    return -1;
}

bool nextUtf8(const std::string& s, std::size_t& pos, char32_t& c) {
    auto at = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char b = at(pos);
    int more = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (more < 0 || pos + static_cast<std::size_t>(more) >= s.size()) return false;
    char32_t v = more == 0 ? b : b & (0x3F >> more);
    for (int i = 1; i <= more; ++i) {
        unsigned char t = at(pos + static_cast<std::size_t>(i));
        if ((t & 0xC0) != 0x80) return false;
        v = (v << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    static const char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
    if (v < kLeast[more] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return false;
    c = v;
    pos += static_cast<std::size_t>(more) + 1;
    return true;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string windows1252ToUtf8(const std::string& bytes) {
    std::string out;
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        char32_t c = windows1252Char(b);
        appendUtf8(out, c != 0 || b == 0 ? c : b);
    }
    return out;
}

std::string utf8ToWindows1252(const std::string& utf8) {
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t c = 0;
        if (!nextUtf8(utf8, pos, c)) {
            out += '?';
            ++pos;
            continue;
        }
        int b = windows1252Byte(c);
        if (b < 0 && c >= 0x80 && c < 0xA0 && windows1252Char(static_cast<unsigned char>(c)) == 0) b = static_cast<int>(c);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

}  // namespace kestrane
