#include "classcfg.h"
#include "file_io.h"

#include <cerrno>

namespace kestrane {
namespace classcfg {

std::string lastOpenFailure() { return systemErrorText(errno); }

}  // namespace classcfg
}  // namespace kestrane
