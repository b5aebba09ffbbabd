// Class names are Windows-1252 characters, one byte each, whatever the
// system's code page: the editor shows and stores them so, and classcfg turns
// them into UTF-8 text and back.
#ifndef KESTRANE_WINDOWS1252_H
#define KESTRANE_WINDOWS1252_H

#include <string>

namespace kestrane {

// The character of a byte; 0 for the five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
char32_t windows1252Char(unsigned char byte);
// The byte of a character, or -1 when Windows-1252 lacks it.
int windows1252Byte(char32_t c);

// Reads one UTF-8 character at `pos` and moves past it; false (pos
// unchanged) for bytes that are not UTF-8.
bool nextUtf8(const std::string& s, std::size_t& pos, char32_t& c);
void appendUtf8(std::string& out, char32_t c);

// The bytes as UTF-8 text. An undefined byte becomes the control character of
// its own number, as Windows maps it, so that it comes back.
std::string windows1252ToUtf8(const std::string& bytes);
// UTF-8 text as bytes: what Windows-1252 lacks becomes '?', and the control
// characters U+0080 to U+009F their own bytes (the reverse of the above).
std::string utf8ToWindows1252(const std::string& utf8);

}  // namespace kestrane

#endif
