// What the open class file held on disk when this program last read or wrote
// it, to tell when another program has changed it since.
#ifndef KESTRANE_DISK_WATCH_H
#define KESTRANE_DISK_WATCH_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrane {

class DiskWatch {
public:
    // `bytes` are exactly what this program itself has just read from or
    // written to `path` (up to kCompareCap): never a second read, which could
    // take another program's write made in between for this program's own.
    void remember(const std::string& path, std::vector<std::uint8_t> bytes);
    const std::string& path() const { return path_; }
    // The file as last read or written, and the other bytes last found there.
    const std::vector<std::uint8_t>& known() const { return known_; }
    const std::vector<std::uint8_t>& changed() const { return seen_ ? *seen_ : known_; }

    enum class State {
        Same,     // as last read or written, gone, or not readable just now
        Changed,  // other bytes than those last read or written
    };
    // Reads the file's bytes every time: a class file's size never changes,
    // and a write time may not either (FAT keeps it to 2 seconds).
    State check();
    // The change now on disk was asked about; `askedBefore` stays true until
    // another change comes.
    void acknowledge() { asked_ = seen_; }
    bool askedBefore() const { return seen_ && asked_ == seen_; }

private:
    std::string path_;
    std::vector<std::uint8_t> known_;
    std::optional<std::vector<std::uint8_t>> seen_;   // the changed bytes last found
    std::optional<std::vector<std::uint8_t>> asked_;  // the changed bytes last asked about
};

}  // namespace kestrane

#endif
