// What the two file layers share: the looking read.
#include "file_io.h"

#include "class_record.h"

#include <algorithm>

namespace kestrane {

bool lookAtFile(const std::string& utf8Path, std::size_t cap, std::vector<std::uint8_t>& bytes, unsigned long& error) {
    bytes.clear();
    std::unique_ptr<ClassFileReader> file = ClassFileReader::open(utf8Path, Sharing::Look, &error);
    if (!file) return false;
    // Few reads: under Wine every call is a round trip to the system, and a
    // file delivers all it has up to the size asked for.
    constexpr std::size_t kChunk = 1 << 16;
    while (bytes.size() < cap) {
        const std::size_t had = bytes.size();
        const std::size_t want = std::min(cap - had, kChunk);
        bytes.resize(had + want);
        const std::size_t got = file->read(bytes.data() + had, want);
        bytes.resize(had + got);
        if (got < want) break;
    }
    file->close();
    return true;
}

}  // namespace kestrane
