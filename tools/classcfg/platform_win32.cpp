#include "classcfg.h"

#include "wide_string.h"

namespace kestrane {
namespace classcfg {

std::string reasonFor(unsigned long systemError) {
    std::string text = narrow(systemErrorText(systemError));
    if (text.empty()) return "system error " + std::to_string(systemError);
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace classcfg
}  // namespace kestrane
