// The file layer under the class record: a reader, a folder's class files and
// an atomic writer, with one implementation for Windows and one for POSIX
// (file_io.cpp holds what both share).
#ifndef KESTRANE_FILE_IO_H
#define KESTRANE_FILE_IO_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrane {

// The size of a file in bytes, or nothing when it cannot be looked at (it does
// not exist, say): then opening it tells why.
std::optional<std::uint64_t> fileSize(const std::string& utf8Path);

// True when the path names a folder.
bool isFolder(const std::string& utf8Path);

// True when the two paths name the same file as the file system compares
// names: in full, and on Windows without regard to case.
bool samePath(const std::string& utf8A, const std::string& utf8B);

// What others may do with a file while this program reads it, where the
// platform has sharing modes.
enum class Sharing {
    None,  // nothing: Open's read takes the file as Save does
    Look,  // read, write or delete it: a read that only looks never stops a
           // game, a script or a second editor that opens the file meanwhile
};

class ClassFileReader {
public:
    // Opens an existing file for reading. Returns null when it cannot be
    // opened, with the system's code (GetLastError or errno) in `error` when given.
    static std::unique_ptr<ClassFileReader> open(const std::string& utf8Path, Sharing sharing = Sharing::None,
                                                 unsigned long* error = nullptr);
    virtual ~ClassFileReader() = default;
    // Reads up to `size` bytes; returns how many came. Throws FileError on a
    // system error.
    virtual std::size_t read(std::uint8_t* out, std::size_t size) = 0;
    // Throws FileError when closing fails.
    virtual void close() = 0;
};

// Reads up to `cap` bytes of a file into `bytes`, sharing it (Sharing::Look).
// False when it cannot be opened, with the system's code in `error`; throws
// FileError when reading fails after the open.
constexpr std::size_t kWholeFile = static_cast<std::size_t>(-1);
bool lookAtFile(const std::string& utf8Path, std::size_t cap, std::vector<std::uint8_t>& bytes, unsigned long& error);
// How much of a file the editor keeps to tell another program's change: far
// beyond any class file; a larger one is compared by its start.
constexpr std::size_t kCompareCap = 1 << 16;
// Appends what `file` delivers from where it stands, until `bytes` holds `cap`
// bytes or the file ends. Throws FileError as the reader does.
void readOn(ClassFileReader& file, std::size_t cap, std::vector<std::uint8_t>& bytes);

// The names of a folder's files, not its folders, in the system's order.
// Throws FileError with the system's code when the folder cannot be listed.
std::vector<std::string> filesIn(const std::string& utf8Folder);

// The class files of a folder (class*.cfg in any case), by name: letters
// compared without case first, so the game's upper-case names sort among
// lower-case ones. Throws FileError as filesIn does.
std::vector<std::string> classFilesOf(const std::string& utf8Folder);

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
