#include "file_paths.h"

namespace kestrane {

namespace {

// Where the last separator stands, or npos.
std::string::size_type lastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

}  // namespace

std::string fileNameOf(const std::string& path) {
    const std::string::size_type slash = lastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    const std::string::size_type slash = lastSeparator(path);
    if (slash == std::string::npos) return std::string();
    const bool root = slash == 0 || (slash == 2 && path[1] == ':');
    return path.substr(0, root ? slash + 1 : slash);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    if (last == '/' || last == '\\') return folder + name;
    const bool backslashes = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
    return folder + (backslashes ? "\\" : "/") + name;
}

}  // namespace kestrane
