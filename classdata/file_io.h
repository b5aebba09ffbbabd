// The file layer under the class record: an exclusive reader and an atomic
// writer, with one implementation for Windows and one for POSIX.
#ifndef KESTRANE_FILE_IO_H
#define KESTRANE_FILE_IO_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kestrane {

class ClassFileReader {
public:
    // Opens an existing file for reading, without sharing where the platform
    // has sharing modes. Returns null when it cannot be opened, with the
    // system's error code in *error when asked for.
    static std::unique_ptr<ClassFileReader> open(const std::string& utf8Path, int* error = nullptr);
    virtual ~ClassFileReader() = default;
    // The file's length in bytes. Throws FileError on a system error.
    virtual std::uint64_t size() = 0;
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

// The system's own text for an error code ("Access is denied."), without a
// line break at its end.
std::string systemErrorText(int code);

// The path made full against the current directory, as the user knows it.
std::string fullPath(const std::string& utf8Path);

}  // namespace kestrane

#endif
