#include "classcfg.h"

#include <cerrno>
#include <cstring>

namespace kestrane {
namespace classcfg {

std::string lastOpenFailure() { return std::strerror(errno); }

}  // namespace classcfg
}  // namespace kestrane
