// The table's keys as hashes only, worked out by the compiler: the key texts
// stay out of the program, whose size is held to a budget.
#include "engine_text.h"

#include <cstdint>

namespace kestrane {

namespace {

// FNV-1a, 32 bits.
constexpr std::uint32_t hashOf(const char* s, std::size_t n) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < n; ++i) {
        h ^= static_cast<unsigned char>(s[i]);
        h *= 16777619u;
    }
    return h;
}

template <std::size_t N>
constexpr std::uint32_t hashOf(const char (&key)[N]) {
    return hashOf(key, N - 1);
}

constexpr std::uint32_t kKeyHashes[] = {
#define X(key, text) hashOf(key),
#include "engine_text_table.inc"
#undef X
};

}  // namespace

const char kEngineTextNotFound[] = "<LocaleText-NotFound>";

bool isEngineTextKey(const std::string& name) {
    const std::uint32_t h = hashOf(name.data(), name.size());
    for (std::uint32_t k : kKeyHashes)
        if (k == h) return true;
    return false;
}

}  // namespace kestrane
