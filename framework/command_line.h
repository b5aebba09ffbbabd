// The program's command line split into arguments as the C runtime splits it,
// so that a path given by Explorer's "Open with", a shortcut or a console
// arrives whole: quoted, with blanks, with backslashes.
#ifndef KESTRANE_COMMAND_LINE_H
#define KESTRANE_COMMAND_LINE_H

#include "wide_string.h"

#include <optional>

namespace kestrane::fw {

// Argument `index` of `commandLine` (0 is the program itself), or nothing when
// there are fewer arguments.
std::optional<WString> commandLineArgument(const wchar_t* commandLine, int index);

}  // namespace kestrane::fw

#endif
