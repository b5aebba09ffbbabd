#include "disk_watch.h"

#include "class_record.h"

namespace kestrane {

namespace {
// Far beyond any class file; a larger file compares by its start and its size.
constexpr std::size_t kCompareLimit = 1 << 16;
}  // namespace

std::optional<std::vector<std::uint8_t>> DiskWatch::contents(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    unsigned long error = 0;
    try {
        if (!lookAtFile(path, kCompareLimit, bytes, error)) return std::nullopt;
    } catch (const FileError&) {
        return std::nullopt;
    }
    return bytes;
}

void DiskWatch::remember(const std::string& path) {
    path_ = path;
    stamp_ = fileStamp(path);
    known_ = contents(path).value_or(std::vector<std::uint8_t>{});
    seen_.reset();
    asked_.reset();
}

DiskWatch::State DiskWatch::check() {
    const std::optional<FileStamp> stamp = fileStamp(path_);
    // Deleted or moved away: nothing to read again, and a Save writes it anew.
    if (!stamp) return State::Same;
    if (stamp_ && *stamp == *stamp_) return State::Same;
    std::optional<std::vector<std::uint8_t>> now = contents(path_);
    if (!now) return State::Same;  // held by its writer: looked at again next time
    if (*now == known_ && (!stamp_ || stamp->size == stamp_->size)) {
        stamp_ = stamp;  // rewritten with the same bytes
        seen_.reset();
        return State::Same;
    }
    seen_ = std::move(now);
    return State::Changed;
}

}  // namespace kestrane
