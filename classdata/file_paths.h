// Paths split and joined as they are written: '/' or '\\' between names, on
// either system, since a Windows path may hold both and classcfg takes both.
#ifndef KESTRANE_FILE_PATHS_H
#define KESTRANE_FILE_PATHS_H

#include <string>

namespace kestrane {

// The file's name without its folder.
std::string fileNameOf(const std::string& path);

// The folder the file is in; a root keeps its separator ("C:\\", "/"). Empty
// for a bare name.
std::string folderOf(const std::string& path);

// `name` in `folder`, with the separator the folder is written with: a
// backslash for a folder written with backslashes alone, else '/'; none when
// the folder ends in one or is empty.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace kestrane

#endif
