#include "classcfg.h"

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace kestrane {
namespace classcfg {

std::string reasonFor(unsigned long systemError) { return std::strerror(static_cast<int>(systemError)); }

bool listFolder(const std::string& utf8Path, std::vector<std::string>& names) {
    struct stat st;
    if (stat(utf8Path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    DIR* d = opendir(utf8Path.c_str());
    if (!d) throw ReadError("cannot read folder " + utf8Path + ": " + std::strerror(errno));
    names.clear();
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
    return true;
}

}  // namespace classcfg
}  // namespace kestrane
