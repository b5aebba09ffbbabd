// POSIX file layer, used by the native build (unit tests, classcfg).
#include "class_record.h"
#include "file_io.h"
#include "file_paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrane {

namespace {

[[noreturn]] void fail(const std::string& what, int err) {
    throw FileError(what + ": " + std::strerror(err), static_cast<unsigned long>(err));
}

class PosixReader : public ClassFileReader {
public:
    explicit PosixReader(int fd) : fd_(fd) {}
    ~PosixReader() override {
        if (fd_ >= 0) ::close(fd_);
    }
    std::size_t read(std::uint8_t* out, std::size_t size) override {
        std::size_t got = 0;
        while (got < size) {
            ssize_t n = ::read(fd_, out + got, size - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail("read failed", errno);
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        return got;
    }
    void close() override {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail("close failed", errno);
    }

private:
    int fd_;
};

}  // namespace

std::optional<std::uint64_t> fileSize(const std::string& utf8Path) {
    struct stat st;
    if (::stat(utf8Path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

// Names differ by case here; a relative path is taken against the current
// directory as the system takes it.
bool samePath(const std::string& utf8A, const std::string& utf8B) {
    if (utf8A == utf8B) return true;
    char* a = ::realpath(utf8A.c_str(), nullptr);
    char* b = ::realpath(utf8B.c_str(), nullptr);
    const bool same = a && b && std::strcmp(a, b) == 0;
    std::free(a);
    std::free(b);
    return same;
}

bool isFolder(const std::string& utf8Path) {
    struct stat st;
    return ::stat(utf8Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// POSIX has no sharing modes: every open shares.
std::unique_ptr<ClassFileReader> ClassFileReader::open(const std::string& utf8Path, Sharing, unsigned long* error) {
    int fd = ::open(utf8Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = static_cast<unsigned long>(errno);
        return nullptr;
    }
    return std::make_unique<PosixReader>(fd);
}

std::vector<std::string> filesIn(const std::string& utf8Folder) {
    DIR* d = ::opendir(utf8Folder.c_str());
    if (!d) fail("cannot list " + utf8Folder, errno);
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        // A link, or a file system that does not say, is asked; an entry that
        // cannot be looked at is left for its reader to report.
        const bool folder = e->d_type == DT_DIR ||
                            ((e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) && isFolder(joinPath(utf8Folder, name)));
        if (!folder) names.push_back(name);
    }
    ::closedir(d);
    return names;
}

struct AtomicFileWriter::Impl {
    std::string target;
    std::string temp;
    int fd = -1;
    bool committed = false;
};

AtomicFileWriter::AtomicFileWriter(const std::string& utf8Path) : impl_(std::make_unique<Impl>()) {
    impl_->target = utf8Path;
    struct stat st {};
    if (::stat(utf8Path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) fail("cannot replace " + utf8Path, EISDIR);
        // Root may rename over a read-only file; a read-only class file is
        // the user's way of saying it must not change.
        if ((st.st_mode & 0222) == 0) fail("cannot replace " + utf8Path, EACCES);
    }
    std::random_device rd;
    const std::string folder = folderOf(utf8Path);
    const std::string dir = folder.empty() ? "." : folder;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = dir + "/.kestrane-" + std::to_string(rd() % 100000000u) + ".tmp";
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            impl_->temp = name;
            impl_->fd = fd;
            return;
        }
        if (errno != EEXIST) fail("cannot create a file in " + dir, errno);
    }
    fail("cannot create a file in " + dir, EEXIST);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (impl_->fd >= 0) ::close(impl_->fd);
    if (!impl_->committed && !impl_->temp.empty()) ::unlink(impl_->temp.c_str());
}

void AtomicFileWriter::write(const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(impl_->fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) fail("write failed", n < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(n);
    }
}

void AtomicFileWriter::commit() {
    if (::fsync(impl_->fd) != 0) fail("write failed", errno);
    int fd = impl_->fd;
    impl_->fd = -1;
    if (::close(fd) != 0) fail("close failed", errno);
    if (::rename(impl_->temp.c_str(), impl_->target.c_str()) != 0) fail("cannot replace " + impl_->target, errno);
    impl_->committed = true;
}

}  // namespace kestrane
