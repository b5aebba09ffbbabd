#include "classcfg.h"

#include <cstring>

namespace kestrane {
namespace classcfg {

std::string reasonFor(unsigned long systemError) { return std::strerror(static_cast<int>(systemError)); }

}  // namespace classcfg
}  // namespace kestrane
