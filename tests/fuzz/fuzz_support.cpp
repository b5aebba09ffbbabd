#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <unistd.h>

namespace kestrane {
namespace fuzz {

bool replaying = false;

std::uint32_t hashOf(const std::uint8_t* data, std::size_t size) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
    return h;
}

bool checkEverything(std::uint32_t hash, std::uint32_t oneIn) { return replaying || hash % oneIn == 0; }

void failed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, what);
    std::abort();
}

namespace {

std::string made;

void removeScratch() {
    if (made.empty()) return;
    if (DIR* d = ::opendir(made.c_str())) {
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            if (name != "." && name != "..") ::unlink((made + "/" + name).c_str());
        }
        ::closedir(d);
    }
    ::rmdir(made.c_str());
}

}  // namespace

const std::string& scratchDir() {
    if (made.empty()) {
        // tmpfs keeps the writer's fsync cheap, so the fuzzer stays fast.
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string templ = std::string(base) + "/kestrane-fuzz-XXXXXX";
            if (::mkdtemp(&templ[0])) {
                made = templ;
                break;
            }
        }
        if (made.empty()) failed("a scratch directory can be made", __FILE__, __LINE__);
        std::atexit(removeScratch);
    }
    return made;
}

void writeRaw(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(f != nullptr);
    FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, f) == size);
    FUZZ_CHECK(std::fclose(f) == 0);
}

std::string readRaw(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    FUZZ_CHECK(f != nullptr);
    std::string out;
    char buf[256];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    FUZZ_CHECK(std::ferror(f) == 0);
    std::fclose(f);
    return out;
}

}  // namespace fuzz
}  // namespace kestrane
