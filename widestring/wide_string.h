// Wide (UTF-16) strings for the Windows side, with conversions from and to
// UTF-8 (paths, the program's own texts, class names as classdata/windows1252.h
// turns them into text).
// A string type of our own rather than std::wstring: libstdc++ instantiates every
// member of std::wstring in one piece, which would be a tenth of the exe.
#ifndef KESTRANE_WIDE_STRING_H
#define KESTRANE_WIDE_STRING_H

#include <string>

namespace kestrane {

struct WideTraits : std::char_traits<wchar_t> {};
using WString = std::basic_string<wchar_t, WideTraits>;

WString widen(const std::string& utf8);
std::string narrow(const WString& wide);

// The system's own words for an error code ("Access is denied."), without the
// line break the system ends them with; empty when it has none. Windows only.
WString systemErrorText(unsigned long error);

}  // namespace kestrane

#endif
