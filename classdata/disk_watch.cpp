#include "disk_watch.h"

#include "class_record.h"
#include "file_io.h"

namespace kestrane {

void DiskWatch::remember(const std::string& path, std::vector<std::uint8_t> bytes) {
    path_ = path;
    known_ = std::move(bytes);
    seen_.reset();
    asked_.reset();
}

DiskWatch::State DiskWatch::check() {
    std::vector<std::uint8_t> now;
    unsigned long error = 0;
    try {
        // Deleted or moved away: nothing to read again, and a Save writes it
        // anew. Held without sharing by its writer: looked at again next time.
        if (!lookAtFile(path_, kCompareCap, now, error)) return State::Same;
    } catch (const FileError&) {
        return State::Same;
    }
    if (now == known_) {
        seen_.reset();
        return State::Same;
    }
    seen_ = std::move(now);
    return State::Changed;
}

}  // namespace kestrane
