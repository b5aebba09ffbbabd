// What the program says when a file dialog cannot be shown at all, so the
// failure is not taken for the user's own Cancel. Portable, for its tests.
#ifndef KESTRANE_DIALOG_FAILURE_H
#define KESTRANE_DIALOG_FAILURE_H

#include "wide_string.h"

namespace kestrane {

// "Cannot show the file dialog.", a blank line and "Error code 0x0003.": the
// dialog library's extended error, in at least four upper-case hex digits,
// since the system has no text for its codes.
WString fileDialogFailureText(unsigned long code);

}  // namespace kestrane

#endif
