#ifndef KESTRANE_TEST_SUPPORT_H
#define KESTRANE_TEST_SUPPORT_H

#include "class_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <dirent.h>
#include <unistd.h>

// Each test starts from the empty record, whatever the test before it left in
// the program's one record.
class FreshRecord : public ::testing::Test {
protected:
    void SetUp() override { kestrane::ClassRecord = kestrane::ClassData{}; }
};

// A fresh directory for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/kestrane-test-XXXXXX";
        path_ = mkdtemp(tmpl);
    }
    ~TempDir() { std::system(("chmod -R u+w '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'").c_str()); }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> entries() const {
        std::vector<std::string> out;
        if (DIR* d = opendir(path_.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") out.push_back(n);
            }
            closedir(d);
        }
        return out;
    }

private:
    std::string path_;
};

// Our sample classes, samples/*.txt in the source tree.
inline std::string samplesDir() {
    std::string here = __FILE__;  // .../tests/unit/test_support.h
    return here.substr(0, here.rfind("/tests/unit/")) + "/samples";
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The file error that `f` raised (a test failure when it raised none).
template <typename F>
kestrane::FileError raisedBy(F f) {
    try {
        f();
    } catch (const kestrane::FileError& e) {
        return e;
    }
    ADD_FAILURE() << "no FileError was raised";
    return kestrane::FileError("none", 0);
}

inline std::vector<std::uint8_t> countingBytes(std::size_t n, std::uint8_t first = 1) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(first + i);
    return v;
}

#endif
