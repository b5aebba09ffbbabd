// What the fuzz targets share: a failed invariant aborts with a message (so
// libFuzzer keeps the input and the replay test fails), and a private scratch
// directory made once per process.
#ifndef KESTRANE_FUZZ_SUPPORT_H
#define KESTRANE_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>

// Not assert(): release builds must check too.
#define FUZZ_CHECK(cond)                                                                 \
    do {                                                                                 \
        if (!(cond)) ::kestrane::fuzz::failed(#cond, __FILE__, __LINE__);                \
    } while (0)

namespace kestrane {
namespace fuzz {

// True in the replay test, which runs every check on every input; the
// libFuzzer binaries sample the costly ones.
extern bool replaying;

// FNV-1a of the input: the sample and the picks follow the input's bytes, so
// a finding reproduces.
std::uint32_t hashOf(const std::uint8_t* data, std::size_t size);
// Whether this input gets every check: when replaying, else one in `oneIn`.
bool checkEverything(std::uint32_t hash, std::uint32_t oneIn);

[[noreturn]] void failed(const char* what, const char* file, int line);

// A directory of our own, on tmpfs when there is one, removed at exit.
const std::string& scratchDir();

// Replaces `path` with exactly these bytes (plain stdio, not the code under test).
void writeRaw(const std::string& path, const std::uint8_t* data, std::size_t size);
// The whole file; aborts when it cannot be read.
std::string readRaw(const std::string& path);

}  // namespace fuzz
}  // namespace kestrane

#endif
