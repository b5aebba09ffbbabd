// Windows file layer: wide paths throughout, exclusive opens but for a look,
// and a save that replaces the target only once the new bytes are safely on disk.
#include "class_record.h"
#include "file_io.h"
#include "file_paths.h"
#include "wide_string.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace kestrane {

namespace {

// A full path, with the \\?\ prefix when it is too long for the plain form.
WString systemPath(const std::string& utf8Path) {
    WString w = widen(utf8Path);
    DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (n == 0) return w;
    WString full(n, L'\0');
    n = GetFullPathNameW(w.c_str(), n, &full[0], nullptr);
    full.resize(n);
    if (full.size() >= MAX_PATH - 14 && full.compare(0, 4, L"\\\\?\\") != 0) {
        if (full.compare(0, 2, L"\\\\") == 0)
            full = L"\\\\?\\UNC\\" + full.substr(2);
        else
            full = L"\\\\?\\" + full;
    }
    return full;
}

[[noreturn]] void fail(const char* what) {
    const DWORD error = GetLastError();
    throw FileError(std::string(what) + " (error " + std::to_string(error) + ")", error);
}

class WinReader : public ClassFileReader {
public:
    explicit WinReader(HANDLE h) : h_(h) {}
    ~WinReader() override {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    std::size_t read(std::uint8_t* out, std::size_t size) override {
        DWORD got = 0;
        if (!ReadFile(h_, out, static_cast<DWORD>(size), &got, nullptr)) fail("read failed");
        return got;
    }
    void close() override {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        if (!CloseHandle(h)) fail("close failed");
    }

private:
    HANDLE h_;
};

}  // namespace

std::optional<std::uint64_t> fileSize(const std::string& utf8Path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(systemPath(utf8Path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool samePath(const std::string& utf8A, const std::string& utf8B) {
    WString a = systemPath(utf8A), b = systemPath(utf8B);
    if (a.size() != b.size()) return false;
    // The system's own upper case, as its file systems match names.
    CharUpperBuffW(&a[0], static_cast<DWORD>(a.size()));
    CharUpperBuffW(&b[0], static_cast<DWORD>(b.size()));
    return a == b;
}

bool isFolder(const std::string& utf8Path) {
    const DWORD attrs = GetFileAttributesW(systemPath(utf8Path).c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<ClassFileReader> ClassFileReader::open(const std::string& utf8Path, Sharing sharing,
                                                       unsigned long* error) {
    const DWORD share = sharing == Sharing::Look ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0;
    HANDLE h = CreateFileW(systemPath(utf8Path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (error) *error = GetLastError();
        return nullptr;
    }
    return std::make_unique<WinReader>(h);
}

std::vector<std::string> filesIn(const std::string& utf8Folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(systemPath(joinPath(utf8Folder, "*")).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        // An empty drive root has not even "." to list.
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return names;
        fail("cannot list the folder");
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(narrow(found.cFileName));
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

struct AtomicFileWriter::Impl {
    WString target;
    WString temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    bool committed = false;
};

AtomicFileWriter::AtomicFileWriter(const std::string& utf8Path) : impl_(std::make_unique<Impl>()) {
    impl_->target = systemPath(utf8Path);
    const WString& target = impl_->target;

    // The target must be one we may replace: not read-only, not a directory,
    // and not held open by another program. Probing it with an exclusive
    // write open answers all three the way a direct write would.
    DWORD attrs = GetFileAttributesW(target.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES) {
        if (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
            SetLastError(ERROR_ACCESS_DENIED);
            fail("cannot replace the class file");
        }
        HANDLE probe = CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) fail("cannot replace the class file");
        CloseHandle(probe);
    }

    WString::size_type slash = target.find_last_of(L"\\/");
    WString dir = slash == WString::npos ? WString(L".") : target.substr(0, slash);
    unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 16; ++attempt) {
        seed = seed * 1103515245u + 12345u;
        WString name = dir + L"\\~kestrane-" + widen(std::to_string(seed % 100000000u)) + L".tmp";
        HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            impl_->temp = name;
            impl_->h = h;
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            fail("cannot create the class file");
    }
    fail("cannot create the class file");
}

AtomicFileWriter::~AtomicFileWriter() {
    if (impl_->h != INVALID_HANDLE_VALUE) CloseHandle(impl_->h);
    if (!impl_->committed && !impl_->temp.empty()) DeleteFileW(impl_->temp.c_str());
}

void AtomicFileWriter::write(const std::uint8_t* data, std::size_t size) {
    DWORD written = 0;
    if (!WriteFile(impl_->h, data, static_cast<DWORD>(size), &written, nullptr)) fail("write failed");
    if (written != size) {
        SetLastError(ERROR_DISK_FULL);
        fail("write failed");
    }
}

void AtomicFileWriter::commit() {
    if (!FlushFileBuffers(impl_->h)) fail("write failed");
    HANDLE h = impl_->h;
    impl_->h = INVALID_HANDLE_VALUE;
    if (!CloseHandle(h)) fail("close failed");
    if (!MoveFileExW(impl_->temp.c_str(), impl_->target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail("cannot replace the class file");
    impl_->committed = true;
}

}  // namespace kestrane
