// The open and save dialogs for class files.
#ifndef KESTRANE_FILE_DIALOGS_H
#define KESTRANE_FILE_DIALOGS_H

#include <windows.h>

#include <optional>
#include <string>

namespace kestrane {

// The full path the user chose (UTF-8), or nothing when the dialog was
// cancelled. Neither dialog moves the program's current directory, so a
// relative class file path keeps meaning the same file.
std::optional<std::string> openClassFileDialog(HWND owner);
// Starts in the folder of `currentPath` with its name filled in, and asks
// before replacing an existing file.
std::optional<std::string> saveClassFileDialog(HWND owner, const std::string& currentPath);

}  // namespace kestrane

#endif
