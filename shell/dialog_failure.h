// What the program says when a file or folder dialog cannot be shown at all,
// so the failure is not taken for the user's own Cancel. Portable, for its
// tests.
#ifndef KESTRANE_DIALOG_FAILURE_H
#define KESTRANE_DIALOG_FAILURE_H

#include "wide_string.h"

namespace kestrane {

// "Cannot show the file dialog.", a blank line and "Error code 0x0003." for
// `dialog` "file": the code in at least four upper-case hex digits, since the
// system has no text for the dialog library's codes.
WString dialogFailureText(const wchar_t* dialog, unsigned long code);

}  // namespace kestrane

#endif
