#include "class_name_rules.h"

#include <algorithm>

namespace kestrane {

std::string classNameForDisplay(const ClassData& record) {
    std::string name = record.nameText();
    if (name.size() > kClassNameLimit) name.resize(kClassNameLimit);
    return name;
}

void storeClassName(ClassData& record, const std::string& fieldText) {
    std::size_t n = std::min(fieldText.size(), kClassNameLimit);
    std::copy(fieldText.begin(), fieldText.begin() + static_cast<std::ptrdiff_t>(n), record.className.begin());
    record.className[n] = '\0';
}

}  // namespace kestrane
