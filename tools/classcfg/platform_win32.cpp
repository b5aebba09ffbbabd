#include "classcfg.h"
#include "file_io.h"

#include <windows.h>

namespace kestrane {
namespace classcfg {

std::string lastOpenFailure() {
    std::string text = systemErrorText(static_cast<int>(GetLastError()));
    if (!text.empty() && text.back() == '.') text.pop_back();  // it ends a line of ours
    return text;
}

}  // namespace classcfg
}  // namespace kestrane
