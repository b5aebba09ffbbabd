// The class name field's rules, shared by every page.
#ifndef KESTRANE_CLASS_NAME_RULES_H
#define KESTRANE_CLASS_NAME_RULES_H

#include "class_record.h"

#include <string>

namespace kestrane {

constexpr std::size_t kClassNameLimit = 18;

// What the name field shows (UTF-8): the name as text, never more than 18
// characters, so a name with no NUL in its 19 bytes shows its first 18.
std::string classNameForDisplay(const ClassData& record);

// Stores the field's text as the field hands it over (at most 18 characters,
// Windows-1252 bytes) with a NUL after it, over the start of className; later
// bytes are kept.
void storeClassName(ClassData& record, const std::string& fieldText);

}  // namespace kestrane

#endif
