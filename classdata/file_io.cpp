// What the two file layers share: the looking read, reading on to a cap, and a
// folder's class files.
#include "file_io.h"

#include "class_record.h"
#include "standard_classes.h"

#include <algorithm>
#include <cctype>

namespace kestrane {

bool lookAtFile(const std::string& utf8Path, std::size_t cap, std::vector<std::uint8_t>& bytes, unsigned long& error) {
    bytes.clear();
    std::unique_ptr<ClassFileReader> file = ClassFileReader::open(utf8Path, Sharing::Look, &error);
    if (!file) return false;
    readOn(*file, cap, bytes);
    file->close();
    return true;
}

void readOn(ClassFileReader& file, std::size_t cap, std::vector<std::uint8_t>& bytes) {
    // Few reads: under Wine every call is a round trip to the system, and a
    // file delivers all it has up to the size asked for.
    constexpr std::size_t kChunk = 1 << 16;
    while (bytes.size() < cap) {
        const std::size_t had = bytes.size();
        const std::size_t want = std::min(cap - had, kChunk);
        bytes.resize(had + want);
        const std::size_t got = file.read(bytes.data() + had, want);
        bytes.resize(had + got);
        if (got < want) break;
    }
}

std::vector<std::string> classFilesOf(const std::string& utf8Folder) {
    std::vector<std::string> names = filesIn(utf8Folder);
    names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return !looksLikeClassFile(n); }),
                names.end());
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    std::sort(names.begin(), names.end(), [&lower](const std::string& a, const std::string& b) {
        const std::string la = lower(a), lb = lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

}  // namespace kestrane
