#include "classcfg.h"

#include "wide_string.h"

#include <windows.h>

namespace kestrane {
namespace classcfg {

std::string lastOpenFailure() {
    const DWORD code = GetLastError();
    std::string text = narrow(systemErrorText(code));
    if (text.empty()) return "system error " + std::to_string(code);
    // A clause inside classcfg's own message: no full stop of its own.
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace classcfg
}  // namespace kestrane
