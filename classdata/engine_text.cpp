#include "engine_text.h"

#include <cstring>

namespace kestrane {

namespace {

struct KeyText {
    const char* key;
    const char* text;
};

const KeyText kTable[] = {
#define X(key, text) {key, text},
#include "engine_text_table.inc"
#undef X
};

}  // namespace

bool engineTextUnder(const std::string& name, std::string& text) {
    for (const KeyText& k : kTable)
        if (name == k.key) {
            text = k.text;
            return true;
        }
    return false;
}

}  // namespace kestrane
