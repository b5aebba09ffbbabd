// What the open class file held on disk when this program last read or wrote
// it, to tell when another program has changed it since.
#ifndef KESTRANE_DISK_WATCH_H
#define KESTRANE_DISK_WATCH_H

#include "file_io.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrane {

class DiskWatch {
public:
    // The file at `path` as it is now is the one this program knows: just
    // read or written.
    void remember(const std::string& path);
    const std::string& path() const { return path_; }

    enum class State {
        Same,     // as last read or written, gone, or not readable just now
        Changed,  // other bytes than those last read or written
    };
    // A changed size or write time is only a reason to read the bytes: a file
    // rewritten with the same bytes has not changed.
    State check();
    // The change now on disk was asked about; `askedBefore` stays true until
    // another change comes.
    void acknowledge() { asked_ = seen_; }
    bool askedBefore() const { return seen_ && asked_ == seen_; }

private:
    // The file's bytes, or nothing when it cannot be read.
    static std::optional<std::vector<std::uint8_t>> contents(const std::string& path);

    std::string path_;
    std::optional<FileStamp> stamp_;
    std::vector<std::uint8_t> known_;
    std::optional<std::vector<std::uint8_t>> seen_;   // the changed bytes last found
    std::optional<std::vector<std::uint8_t>> asked_;  // the changed bytes last asked about
};

}  // namespace kestrane

#endif
