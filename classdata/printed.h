// A text printed from a format, as std::snprintf prints it, for the integer
// and string conversions only (%d, %u, %ld, %02d, %s): on Windows it is the C
// library's own printf, whose floating-point output may differ. In the editor,
// whose size is held to a budget, one such call costs a fraction of the code
// of a chain of string concatenations.
#ifndef KESTRANE_PRINTED_H
#define KESTRANE_PRINTED_H

#include <string>

namespace kestrane {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string printed(const char* format, ...);

}  // namespace kestrane

#endif
