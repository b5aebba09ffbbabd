// Commands on files and folders, as another program would act on them: written,
// rewritten under the old time, deleted, held open, made read-only, a disk filled;
// and the checks of what the program wrote. Every path goes through the wide file
// functions, so its length does not matter.
#include <algorithm>

#include "commands.h"

namespace kestrane {

void copyFile(const std::string& from, const std::string& to) {
    if (!CopyFileW(filePath(from).c_str(), filePath(to).c_str(), FALSE))
        fail(format("cannot copy %s to %s (%lu)", from.c_str(), to.c_str(), GetLastError()));
}

bool readFile(const std::string& path, std::vector<unsigned char>& out) {
    HANDLE f = CreateFileW(filePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    out.clear();
    unsigned char buf[4096];
    DWORD got;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got) out.insert(out.end(), buf, buf + got);
    CloseHandle(f);
    return true;
}

namespace {

// Each missing level of the folder, then the folder checked.
void makeDirs(const std::string& path) {
    std::wstring w = filePath(path);
    size_t root = w.compare(0, 4, L"\\\\?\\") == 0 ? 4 : 0;
    for (size_t i = root; i <= w.size(); ++i) {
        if (i == w.size() || w[i] == L'\\') {
            std::wstring part = w.substr(0, i);
            if (part.size() <= root || part.back() == L':') continue;
            CreateDirectoryW(part.c_str(), nullptr);
        }
    }
    DWORD a = GetFileAttributesW(w.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) fail("cannot create directory " + path);
}

std::vector<unsigned char> requireFile(const std::string& path) {
    std::vector<unsigned char> data;
    if (!readFile(path, data)) fail(format("cannot read %s (%lu)", path.c_str(), GetLastError()));
    return data;
}

void listTree(const std::string& dir, const std::string& prefix, std::vector<std::string>& out) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((filePath(dir) + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string n = narrow(fd.cFileName);
        if (n == "." || n == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            listTree(dir + "/" + n, prefix + n + "/", out);
        else
            out.push_back(prefix + n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(out.begin(), out.end());
}

// The bytes given from argument `first` on, as one hex text.
std::vector<unsigned char> hexArgs(const Call& k, size_t first) {
    std::string hexText;
    for (size_t i = first; i <= k.argc; ++i) hexText += k.a(i);
    return parseHex(hexText);
}

// Replaces the whole file's bytes (`create`: and makes it, and its folders).
void writeBytes(const std::string& path, const std::vector<unsigned char>& data, bool create) {
    if (create) {
        std::string w = winPath(path);
        size_t slash = w.rfind('\\');
        if (slash != std::string::npos && slash > 0) makeDirs(w.substr(0, slash));
    }
    HANDLE f = CreateFileW(filePath(path).c_str(), GENERIC_WRITE, 0, nullptr, create ? CREATE_ALWAYS : TRUNCATE_EXISTING,
                           0, nullptr);
    DWORD done = 0;
    if (f == INVALID_HANDLE_VALUE)
        fail(format("cannot %s %s (%lu)", create ? "create" : "open", path.c_str(), GetLastError()));
    BOOL ok = WriteFile(f, data.data(), DWORD(data.size()), &done, nullptr);
    CloseHandle(f);
    if (!ok || done != data.size()) fail("cannot write " + path);
}

}  // namespace

void cmdWriteFile(Driver&, const Call& k) { writeBytes(k.a(1), hexArgs(k, 2), true); }

// New bytes under the old last-write time, to the 100 ns: a change that a
// look at the time alone misses (as FAT's 2-second times would hide it).
void cmdWriteFileSameTime(Driver&, const Call& k) {
    const std::wstring path = filePath(k.a(1));
    WIN32_FILE_ATTRIBUTE_DATA before;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &before))
        fail(format("cannot read the times of %s (%lu)", k.a(1).c_str(), GetLastError()));
    writeBytes(k.a(1), hexArgs(k, 2), false);
    HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) fail(format("cannot open %s (%lu)", k.a(1).c_str(), GetLastError()));
    BOOL ok = SetFileTime(f, nullptr, nullptr, &before.ftLastWriteTime);
    CloseHandle(f);
    WIN32_FILE_ATTRIBUTE_DATA after;
    if (!ok || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &after) ||
        CompareFileTime(&after.ftLastWriteTime, &before.ftLastWriteTime) != 0)
        fail("cannot set the last-write time of " + k.a(1) + " back");
}

void cmdDeleteFile(Driver&, const Call& k) {
    if (!DeleteFileW(filePath(k.a(1)).c_str()))
        fail(format("cannot delete %s (%lu)", k.a(1).c_str(), GetLastError()));
}

void cmdExpectFile(Driver& d, const Call& k) {
    d.eventually([&] {
        std::vector<unsigned char> want = hexArgs(k, 2), seen = requireFile(k.a(1));
        if (seen != want) {
            size_t at = 0;
            while (at < want.size() && at < seen.size() && want[at] == seen[at]) ++at;
            fail(format("%s: %zu bytes expected, %zu seen, first difference at offset %zu\n    expected %s\n    seen     %s",
                        k.a(1).c_str(), want.size(), seen.size(), at, hex(want.data(), want.size()).c_str(),
                        hex(seen.data(), seen.size()).c_str()));
        }
    });
}

void cmdExpectFileBytes(Driver& d, const Call& k) {
    d.eventually([&] {
        std::vector<unsigned char> want = hexArgs(k, 3), seen = requireFile(k.a(1));
        size_t off = size_t(parseNumber(k.a(2), "an offset"));
        if (off + want.size() > seen.size())
            fail(format("%s has %zu bytes, too few for %zu at offset %zu", k.a(1).c_str(), seen.size(), want.size(), off));
        if (!std::equal(want.begin(), want.end(), seen.begin() + off))
            fail(format("%s at offset %zu: expected %s, seen %s", k.a(1).c_str(), off, hex(want.data(), want.size()).c_str(),
                        hex(seen.data() + off, want.size()).c_str()));
    });
}

void cmdExpectFileSize(Driver& d, const Call& k) {
    d.eventually([&] {
        size_t seen = requireFile(k.a(1)).size();
        if (long(seen) != parseNumber(k.a(2), "a size"))
            fail(format("%s: expected %s bytes, seen %zu", k.a(1).c_str(), k.a(2).c_str(), seen));
    });
}

void cmdExpectNoFile(Driver& d, const Call& k) {
    d.eventually([&] {
        if (GetFileAttributesW(filePath(k.a(1)).c_str()) != INVALID_FILE_ATTRIBUTES) fail(k.a(1) + " exists");
    });
}

void cmdExpectTree(Driver& d, const Call& k) {
    d.eventually([&] {
        std::vector<std::string> files;
        listTree(k.a(1), "", files);
        if (joinBar(files) != k.a(2))
            fail(format("files under %s: expected %s, seen %s", k.a(1).c_str(), quote(k.a(2)).c_str(),
                        quote(joinBar(files)).c_str()));
    });
}

// hold-file: without sharing, so the program can neither read nor replace it;
// hold-file-shared: open for writing but sharing everything, as a game or a
// script that keeps the file open does.
void cmdHoldFile(Driver& d, const Call& k) {
    if (d.heldFiles.count(k.a(1))) fail(k.a(1) + " is already held");
    const bool shared = k.name == "hold-file-shared";
    HANDLE f = CreateFileW(filePath(k.a(1)).c_str(), shared ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                           shared ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) fail(format("cannot open %s (%lu)", k.a(1).c_str(), GetLastError()));
    d.heldFiles[k.a(1)] = f;
}

void cmdReleaseFile(Driver& d, const Call& k) {
    auto it = d.heldFiles.find(k.a(1));
    if (it == d.heldFiles.end()) fail(k.a(1) + " is not held");
    CloseHandle(it->second);
    d.heldFiles.erase(it);
}

void cmdSetWritability(Driver&, const Call& k) {
    // Wine keeps the read-only attribute as the file's Unix write bits.
    DWORD attrs = GetFileAttributesW(filePath(k.a(1)).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) fail(k.a(1) + " does not exist");
    attrs = k.name == "set-readonly" ? (attrs | FILE_ATTRIBUTE_READONLY) : (attrs & ~FILE_ATTRIBUTE_READONLY);
    if (!SetFileAttributesW(filePath(k.a(1)).c_str(), attrs))
        fail(format("cannot change the attributes of %s (%lu)", k.a(1).c_str(), GetLastError()));
}

void cmdFillDisk(Driver&, const Call& k) {
    // Another program takes every free byte of the disk that holds PATH.
    HANDLE f = CreateFileW(filePath(k.a(1)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) fail(format("cannot create %s (%lu)", k.a(1).c_str(), GetLastError()));
    std::vector<unsigned char> block(4096, 0xAA);
    for (size_t size = block.size(); size > 0; size /= 2) {
        DWORD done = 0;
        while (WriteFile(f, block.data(), DWORD(size), &done, nullptr) && done == size) {}
    }
    CloseHandle(f);
}

void cmdMkdir(Driver&, const Call& k) { makeDirs(k.a(1)); }

// FROM may start with "@driver/": a file built beside the driver.
void cmdCopyFile(Driver& d, const Call& k) {
    std::string from = k.a(1);
    if (from.compare(0, 8, "@driver/") == 0) from = d.exeDir + from.substr(8);
    copyFile(from, k.a(2));
}

}  // namespace kestrane
