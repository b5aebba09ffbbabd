#include "value_readers.h"

#include "basic_numbers.h"
#include "class_record.h"
#include "windows1252.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace kestrane {
namespace classcfg {

void bad(const std::string& message) { throw ValueError{message}; }

namespace {

std::string choices(const std::vector<std::string>& names) { return joinList(names, ""); }

}  // namespace

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}


std::string normalName(const std::string& s) {
    std::string out;
    bool blank = false;
    for (char c : trim(s)) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            blank = true;
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}


std::string multiplierText(std::int32_t raw) { return multiplierShown(raw); }

std::string joinList(const std::vector<std::string>& items, const char* empty) {
    if (items.empty()) return empty;
    std::string out;
    for (const auto& s : items) out += (out.empty() ? "" : ", ") + s;
    return out;
}


unsigned long parseNumber(const std::string& text, unsigned long max) {
    std::string t = trim(text);
    bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
    std::string digits = hex ? t.substr(2) : t;
    bool ok = !digits.empty() &&
              std::all_of(digits.begin(), digits.end(), [hex](char ch) {
                  return hex ? std::isxdigit(static_cast<unsigned char>(ch)) != 0
                             : std::isdigit(static_cast<unsigned char>(ch)) != 0;
              });
    unsigned long v = 0;
    if (ok) {
        errno = 0;
        v = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
        ok = errno == 0 && v <= max;
    }
    if (!ok) bad("expected a number from 0 to " + std::to_string(max) + ", got '" + t + "'");
    return v;
}

std::vector<std::string> splitList(const std::string& value) {
    std::vector<std::string> items;
    std::string t = trim(value);
    if (t.empty() || normalName(t) == "none") return items;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = t.find(',', start);
        std::string item = trim(t.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (item.empty()) bad("empty entry in the list '" + t + "'");
        items.push_back(item);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return items;
}



// Index of `item` among `names` (matched by normalName), or a clear error.
std::size_t pick(const std::string& item, const std::vector<std::string>& names, const char* what) {
    std::string n = normalName(item);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (normalName(names[i]) == n) return i;
    bad("unknown " + std::string(what) + " '" + item + "' (one of: " + choices(names) + ")");
}


bool parseYesNo(const std::string& value) {
    std::string n = normalName(value);
    if (n == "yes") return true;
    if (n == "no") return false;
    bad("expected yes or no, got '" + trim(value) + "'");
}

// A set of flags given as a list of names, "Normal" standing for none of them.
unsigned parseStates(const std::string& value, const std::vector<std::string>& names, const char* what) {
    std::vector<std::string> items = splitList(value);
    if (items.empty()) bad("expected Normal or one of: " + choices(names));
    if (items.size() == 1 && normalName(items[0]) == "normal") return 0;
    unsigned set = 0;
    for (const auto& item : items) {
        if (normalName(item) == "normal") bad("Normal cannot be combined with other states");
        std::size_t i = pick(item, names, what);
        if (set & (1u << i)) bad("'" + item + "' is listed twice");
        set |= 1u << i;
    }
    return set;
}


// A list of names each standing for one mask; "none" for no names.
unsigned parseMaskList(const std::string& value, const std::vector<std::string>& names,
                       const std::vector<unsigned>& masks, const char* what) {
    unsigned set = 0;
    for (const auto& item : splitList(value)) {
        std::size_t i = pick(item, names, what);
        if (set & masks[i]) bad("'" + item + "' is listed twice");
        set |= masks[i];
    }
    return set;
}


unsigned parseMasked(const std::string& value, unsigned mask, int digits) {
    unsigned v = static_cast<unsigned>(parseNumber(value, 0xFFFF));
    if (v & ~mask) bad("'" + trim(value) + "' has bits outside " + hexValue(mask, digits));
    return v;
}


std::vector<std::uint8_t> parseHexBytes(const std::string& value) {
    std::vector<std::uint8_t> out;
    std::string t = trim(value);
    if (normalName(t) == "none") return out;
    std::size_t i = 0;
    while (i < t.size()) {
        if (std::isspace(static_cast<unsigned char>(t[i]))) {
            ++i;
            continue;
        }
        if (i + 1 >= t.size() || !std::isxdigit(static_cast<unsigned char>(t[i])) ||
            !std::isxdigit(static_cast<unsigned char>(t[i + 1])) ||
            (i + 2 < t.size() && !std::isspace(static_cast<unsigned char>(t[i + 2]))))
            bad("expected bytes as two hex digits each, separated by blanks (or none), got '" + t + "'");
        out.push_back(static_cast<std::uint8_t>(std::strtoul(t.substr(i, 2).c_str(), nullptr, 16)));
        i += 2;
    }
    return out;
}

std::string parseQuoted(const std::string& value) {
    std::string t = trim(value);
    if (t.size() < 2 || t.front() != '"' || t.back() != '"')
        bad("the name goes in double quotes, e.g. \"Lamplighter\"");
    std::string out;
    for (std::size_t i = 1; i + 1 < t.size(); ++i) {
        char ch = t[i];
        if (ch == '"') bad("a double quote inside the name is written \\\"");
        if (ch != '\\') {
            // UTF-8 text, stored as the Windows-1252 byte of each character.
            std::size_t at = i;
            char32_t c = 0;
            if (!nextUtf8(t, at, c)) bad("the name is not UTF-8 text");
            int b = windows1252Byte(c);
            if (b < 0)
                bad("Windows-1252 has no '" + t.substr(i, at - i) + "'; a class name holds only its characters");
            out += static_cast<char>(b);
            i = at - 1;
            continue;
        }
        if (i + 2 >= t.size()) bad("the name ends in a lone backslash");
        char e = t[++i];
        if (e == '\\' || e == '"') {
            out += e;
        } else if (e == 'x' && i + 3 < t.size() && std::isxdigit(static_cast<unsigned char>(t[i + 1])) &&
                   std::isxdigit(static_cast<unsigned char>(t[i + 2]))) {
            auto b = static_cast<char>(std::strtoul(t.substr(i + 1, 2).c_str(), nullptr, 16));
            if (b == '\0') bad("\\x00 ends the name; bytes behind the terminator go in 'name tail'");
            out += b;
            i += 2;
        } else {
            bad(std::string("unknown escape \\") + e + " in the name (use \\\\, \\\" or \\xHH)");
        }
    }
    if (out.size() > kClassNameSize) bad("the name has " + std::to_string(out.size()) + " bytes; the field holds 19");
    return out;
}

std::int32_t parseMultiplier(const std::string& value) {
    std::string t = trim(value);
    std::string dec = t, fixed;
    std::size_t open = t.find('(');
    if (open != std::string::npos) {
        if (t.back() != ')') bad("expected a multiplier like 1.50 or 1.50 (98304), got '" + t + "'");
        dec = trim(t.substr(0, open));
        fixed = trim(t.substr(open + 1, t.size() - open - 2));
    }
    const char* s = dec.c_str();
    char* end = nullptr;
    double d = std::strtod(s, &end);
    if (dec.empty() || *end != '\0' || !std::isfinite(d) || std::isspace(static_cast<unsigned char>(dec[0])))
        bad("expected a multiplier like 1.50 or 1.50 (98304), got '" + t + "'");
    if (fixed.empty()) {
        std::int32_t raw = 0;  // as typed into the editor: cut toward zero
        if (!multiplierFits(d, raw)) bad("the multiplier " + dec + " does not fit 16.16 fixed point");
        return raw;
    }
    bool neg = fixed[0] == '-';
    std::string digits = neg ? fixed.substr(1) : fixed;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char ch) {
            return std::isdigit(static_cast<unsigned char>(ch)) != 0;
        }))
        bad("expected the fixed-point value in parentheses as a whole number, got '(" + fixed + ")'");
    long long raw = std::strtoll(fixed.c_str(), nullptr, 10);
    if (digits.size() > 10 || raw < -2147483648LL || raw > 2147483647LL)
        bad("the fixed-point value " + fixed + " does not fit 32 bits");
    auto r = static_cast<std::int32_t>(raw);
    if (multiplierText(r) != twoDecimals(d))
        bad("the multiplier " + dec + " does not match its fixed-point value " + fixed + ", which is " +
            multiplierText(r) + "; change both or give only one");
    return r;
}


std::uint8_t parseCode(const std::string& value, const CodeName* codes, std::size_t n) {
    std::string t = trim(value);
    if (!t.empty() && std::isdigit(static_cast<unsigned char>(t[0])))
        return static_cast<std::uint8_t>(parseNumber(t, 255));
    std::vector<std::string> list;
    for (std::size_t i = 0; i < n; ++i) list.push_back(codes[i].name);
    return codes[pick(t, list, "condition")].code;
}

}  // namespace classcfg
}  // namespace kestrane
