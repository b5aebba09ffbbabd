#include "class_name_rules.h"

#include <algorithm>

namespace kestrane {

std::string classNameForDisplay(const ClassData& record) {
    const std::string name = record.nameUtf8();
    // Cut before the 19th character: each starts with a byte that does not
    // continue a UTF-8 sequence.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name.size(); ++i)
        if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80 && ++characters > kClassNameLimit)
            return name.substr(0, i);
    return name;
}

void storeClassName(ClassData& record, const std::string& fieldText) {
    std::size_t n = std::min(fieldText.size(), kClassNameLimit);
    std::copy(fieldText.begin(), fieldText.begin() + static_cast<std::ptrdiff_t>(n), record.className.begin());
    record.className[n] = '\0';
}

}  // namespace kestrane
