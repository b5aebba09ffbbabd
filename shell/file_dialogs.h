// The open and save dialogs for class files, and the folder picker.
#ifndef KESTRANE_FILE_DIALOGS_H
#define KESTRANE_FILE_DIALOGS_H

#include <windows.h>

#include <optional>
#include <string>

namespace kestrane {

// The full path the user chose (UTF-8), or nothing when the dialog was
// cancelled or could not be shown (said in a stop box first). Neither dialog
// moves the program's current directory, so a relative class file path keeps
// meaning the same file.
// `title` replaces the platform's "Open" where the dialog needs to say why it
// appears. Given the class file held (`current`), it starts in that file's
// folder with nothing typed; without one, "*.cfg" is typed and the platform
// picks the folder.
std::optional<std::string> openClassFileDialog(HWND owner, const wchar_t* title = nullptr,
                                               const std::string& current = std::string());
// Starts in the folder of `current` with its name filled in, and asks before
// replacing an existing file.
std::optional<std::string> saveClassFileDialog(HWND owner, const std::string& current);

// The folder the user picks (UTF-8), starting in `current`; a path can be
// typed as well as found, and no folder made. Nothing when the picker was
// cancelled or could not be shown (said in a stop box first).
std::optional<std::string> pickFolderDialog(HWND owner, const std::string& current);

// `path` made full against the current directory (UTF-8).
std::string fullPath(const std::string& path);

}  // namespace kestrane

#endif
