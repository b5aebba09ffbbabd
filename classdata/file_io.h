// The file layer under the class record: an exclusive reader and an atomic
// writer, with one implementation for Windows and one for POSIX.
#ifndef KESTRANE_FILE_IO_H
#define KESTRANE_FILE_IO_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kestrane {

// The size of a file in bytes, or nothing when it cannot be looked at (it does
// not exist, say): then opening it tells why.
std::optional<std::uint64_t> fileSize(const std::string& utf8Path);

// A file's size and last-write time: a cheap first look at whether it changed.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;  // the platform's own units
    bool operator==(const FileStamp& o) const { return size == o.size && writeTime == o.writeTime; }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};
std::optional<FileStamp> fileStamp(const std::string& utf8Path);

class ClassFileReader {
public:
    // Opens an existing file for reading, without sharing where the platform
    // has sharing modes. Returns null when it cannot be opened.
    static std::unique_ptr<ClassFileReader> open(const std::string& utf8Path);
    virtual ~ClassFileReader() = default;
    // Reads up to `size` bytes; returns how many came. Throws FileError on a
    // system error.
    virtual std::size_t read(std::uint8_t* out, std::size_t size) = 0;
    // Throws FileError when closing fails.
    virtual void close() = 0;
};

// Writes to a new temporary file beside the target; commit() replaces the
// target with it. Until commit() succeeds the target is never touched, and a
// writer destroyed without commit removes its temporary file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& utf8Path);  // throws FileError
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const std::uint8_t* data, std::size_t size);  // all or FileError
    void commit();                                           // throws FileError

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kestrane

#endif
