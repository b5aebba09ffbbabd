// Saving never damages the file that was there, whatever goes wrong; the
// looking read, a folder's class files and the path splitter.
#include "class_facts.h"
#include "class_record.h"
#include "disk_watch.h"
#include "file_io.h"
#include "file_paths.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/mount.h>
#include <sys/stat.h>

using namespace kestrane;

namespace {

ClassData sampleRecord(const std::string& path) {
    ClassData c;
    c.fromBytes(countingBytes(74, 0x40).data(), 74);
    c.classFilePath = path;
    return c;
}

// Runs a shell command; returns true when it succeeded.
bool sh(const std::string& cmd) { return std::system((cmd + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

TEST(ClassFileWrite, CompleteWriteLeavesOnlyTheTarget) {
    TempDir dir;
    ClassData c = sampleRecord(dir.file("class01.cfg"));
    c.writeClassFile();
    EXPECT_EQ(readBytes(dir.file("class01.cfg")).size(), 74u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"class01.cfg"});
}

TEST(ClassFileWrite, MissingDirectoryFailsWithoutCreatingAnything) {
    TempDir dir;
    ClassData c = sampleRecord(dir.file("nowhere/class00.cfg"));
    EXPECT_EQ(raisedBy([&] { c.writeClassFile(); }).systemError(), static_cast<unsigned long>(ENOENT));
    EXPECT_TRUE(dir.entries().empty());
}

TEST(ClassFileWrite, ReadOnlyTargetIsLeftAsItWas) {
    TempDir dir;
    std::vector<std::uint8_t> old = countingBytes(74, 3);
    writeBytes(dir.file("class00.cfg"), old);
    ASSERT_EQ(chmod(dir.file("class00.cfg").c_str(), 0444), 0);
    ClassData c = sampleRecord(dir.file("class00.cfg"));
    // The system's reason travels with the error, for the message the user sees.
    EXPECT_EQ(raisedBy([&] { c.writeClassFile(); }).systemError(), static_cast<unsigned long>(EACCES));
    EXPECT_EQ(readBytes(dir.file("class00.cfg")), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"class00.cfg"});
}

TEST(ClassFileWrite, ReadOnlyDirectoryFailsAndKeepsTheOldFile) {
    TempDir dir;
    std::string sub = dir.file("arena2");
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    std::vector<std::uint8_t> old = countingBytes(74, 9);
    writeBytes(sub + "/class00.cfg", old);
    // Root writes into a 0555 directory; an immutable one stops even root.
    chmod(sub.c_str(), 0555);
    bool immutable = geteuid() == 0 && sh("chattr +i '" + sub + "'");
    if (geteuid() == 0 && !immutable) GTEST_SKIP() << "running as root and chattr +i is refused here";
    ClassData c = sampleRecord(sub + "/class00.cfg");
    EXPECT_THROW(c.writeClassFile(), FileError);
    if (immutable) sh("chattr -i '" + sub + "'");
    chmod(sub.c_str(), 0755);
    EXPECT_EQ(readBytes(sub + "/class00.cfg"), old);
    int count = 0;
    if (DIR* d = opendir(sub.c_str())) {
        while (dirent* e = readdir(d)) count += e->d_name[0] != '.';
        closedir(d);
    }
    EXPECT_EQ(count, 1) << "a temporary file was left behind";
}

TEST(ClassFileWrite, FullDiskFailsAndKeepsTheOldFile) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    TempDir dir;
    std::string mnt = dir.file("disk");
    ASSERT_EQ(mkdir(mnt.c_str(), 0755), 0);
    if (mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=16k") != 0) GTEST_SKIP() << "mounting tmpfs was refused";
    std::vector<std::uint8_t> old = countingBytes(74, 5);
    writeBytes(mnt + "/class00.cfg", old);
    // Fill every remaining block.
    sh("dd if=/dev/zero of='" + mnt + "/filler' bs=1k count=64");
    ClassData c = sampleRecord(mnt + "/class00.cfg");
    EXPECT_THROW(c.writeClassFile(), FileError);
    std::vector<std::uint8_t> after = readBytes(mnt + "/class00.cfg");
    int count = 0;
    if (DIR* d = opendir(mnt.c_str())) {
        while (dirent* e = readdir(d)) count += e->d_name[0] != '.';
        closedir(d);
    }
    umount(mnt.c_str());
    EXPECT_EQ(after, old);
    EXPECT_EQ(count, 2) << "a temporary file was left behind";
}

TEST(ClassFileWrite, ReplacesADifferentlySizedFileWithExactly74Bytes) {
    TempDir dir;
    writeBytes(dir.file("x.cfg"), countingBytes(200));
    ClassData c = sampleRecord(dir.file("x.cfg"));
    c.writeClassFile();
    auto bytes = readBytes(dir.file("x.cfg"));
    ASSERT_EQ(bytes.size(), 74u);
    auto expected = c.toBytes();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.begin()));
}

// Another program's change is told by the bytes, not by the file's size or time.
TEST(DiskWatch, TellsAChangeByItsBytesAndRemembersWhatWasAsked) {
    TempDir dir;
    const std::string path = dir.file("CLASS05.CFG");
    writeBytes(path, countingBytes(80, 1));
    // What the watch is given is what Open's own read delivered, past 74 too.
    ClassData opened;
    opened.classFilePath = path;
    std::vector<std::uint8_t> asRead;
    ASSERT_TRUE(opened.readClassFile(&asRead));
    EXPECT_EQ(asRead, countingBytes(80, 1));
    DiskWatch watch;
    watch.remember(path, asRead);
    EXPECT_EQ(watch.check(), DiskWatch::State::Same);
    ASSERT_TRUE(sh("touch -d '2001-01-01' " + path));  // rewritten with the same bytes
    EXPECT_EQ(watch.check(), DiskWatch::State::Same);

    // Other bytes, the same size and write time, as on FAT within 2 seconds.
    struct stat before {}, after {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    writeBytes(path, countingBytes(80, 2));
    ASSERT_TRUE(sh("touch -d '2001-01-01' " + path));
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    ASSERT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(watch.check(), DiskWatch::State::Changed);
    EXPECT_EQ(watch.changed(), countingBytes(80, 2));
    EXPECT_FALSE(watch.askedBefore());
    watch.acknowledge();
    EXPECT_EQ(watch.check(), DiskWatch::State::Changed);
    EXPECT_TRUE(watch.askedBefore());
    writeBytes(path, countingBytes(76, 2));  // a later change asks again
    EXPECT_EQ(watch.check(), DiskWatch::State::Changed);
    EXPECT_FALSE(watch.askedBefore());

    watch.remember(path, countingBytes(76, 2));  // read again: nothing to ask
    EXPECT_EQ(watch.check(), DiskWatch::State::Same);
    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_EQ(watch.check(), DiskWatch::State::Same);  // nothing to read again
}

// What a question about the change lists: the changed fields in classcfg
// diff's form, at most eight, or the new size alone.
TEST(DiskWatch, TheQuestionListsTheChangedFields) {
    ClassData a;
    std::copy_n("Nightblade", 10, a.className.begin());
    a.attributes[4] = 55;
    ClassData b = a;
    std::copy_n("Shadowblade", 11, b.className.begin());
    b.attributes[4] = 65;
    ClassData many = a;
    many.attributes = {1, 2, 3, 4, 5, 6, 7, 8};
    many.hitPointsPerLevel = 9;
    many.resistFlags = 1;
    const auto bytes = [](const ClassData& c, std::size_t size = kClassFileSize) {
        std::vector<std::uint8_t> v(size);
        const auto r = c.toBytes();
        std::copy_n(r.begin(), std::min(size, kClassFileSize), v.begin());
        return v;
    };
    const struct {
        std::vector<std::uint8_t> before, after;
        const char* lines;
    } cases[] = {
        {bytes(a), bytes(b), "name: \"Nightblade\" -> \"Shadowblade\"\nEND: 55 -> 65"},
        {bytes(a), bytes(many),
         "STR: 0 -> 1\nINT: 0 -> 2\nWIL: 0 -> 3\nAGI: 0 -> 4\nEND: 55 -> 5\nPER: 0 -> 6\nSPD: 0 -> 7\nLUC: 0 -> 8\n"
         "and 2 more"},
        {bytes(a), bytes(a, 10), "It is now 10 bytes long; a class file is 74 bytes."},
        {bytes(a, 80), bytes(a), "file size: 80 -> 74"},  // not a line of every byte gone
    };
    for (const auto& c : cases) EXPECT_EQ(changeSummary(c.before, c.after), c.lines);
}

// The looking read: what each reader asks for, as far as the file goes.
TEST(LookAtFile, ReadsUpToTheCapOrTheFileEnd) {
    TempDir dir;
    const std::vector<std::uint8_t> big = countingBytes(70000, 7);
    writeBytes(dir.file("big.cfg"), big);
    writeBytes(dir.file("empty.cfg"), {});
    struct Case {
        const char* file;
        std::size_t cap;
        std::size_t expected;
    };
    const Case cases[] = {
        {"big.cfg", kClassFileSize, 74},  // the Classes window's row
        {"big.cfg", 1 << 16, 1 << 16},    // the disk watch's comparison
        {"big.cfg", kWholeFile, 70000},   // classcfg, past one chunk
        {"empty.cfg", kWholeFile, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes{1, 2, 3};
        unsigned long error = 0;
        ASSERT_TRUE(lookAtFile(dir.file(c.file), c.cap, bytes, error)) << c.file;
        EXPECT_EQ(bytes, std::vector<std::uint8_t>(big.begin(), big.begin() + static_cast<std::ptrdiff_t>(c.expected)))
            << c.file << " up to " << c.cap;
    }
    // The system's reason comes back: from the open, or raised by the read.
    std::vector<std::uint8_t> bytes;
    unsigned long error = 0;
    EXPECT_FALSE(lookAtFile(dir.file("gone.cfg"), kWholeFile, bytes, error));
    EXPECT_EQ(error, static_cast<unsigned long>(ENOENT));
    EXPECT_EQ(raisedBy([&] { lookAtFile(dir.path(), kWholeFile, bytes, error); }).systemError(),
              static_cast<unsigned long>(EISDIR));
}

TEST(ClassFilesOf, ListsClassFilesInAnyCaseByNameAndNothingElse) {
    TempDir dir;
    for (const char* name : {"CLASS01.CFG", "class00.cfg", "Class01.cfg", "class.cfg", "CLASS18.CFG", "class02.CFG",
                             "classes.txt", "xclass03.cfg", "class04.cfg.bak"})
        writeBytes(dir.file(name), countingBytes(74));
    ASSERT_EQ(mkdir(dir.file("class05.cfg").c_str(), 0755), 0);  // a folder so named is no class file
    ASSERT_EQ(mkdir(dir.file("none").c_str(), 0755), 0);
    writeBytes(dir.file("none/notes.txt"), countingBytes(3));
    // Letters compared without case first; the same letters, upper case first.
    EXPECT_EQ(classFilesOf(dir.path()),
              (std::vector<std::string>{"class.cfg", "class00.cfg", "CLASS01.CFG", "Class01.cfg", "class02.CFG",
                                        "CLASS18.CFG"}));
    EXPECT_EQ(classFilesOf(dir.file("none")), std::vector<std::string>{});
    EXPECT_EQ(raisedBy([&] { classFilesOf(dir.file("gone")); }).systemError(), static_cast<unsigned long>(ENOENT));
}

TEST(FilePaths, SplitAndJoinAsWritten) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\game\\arena2\\CLASS00.CFG", "C:\\game\\arena2", "CLASS00.CFG"},
        {"C:\\CLASS00.CFG", "C:\\", "CLASS00.CFG"},  // a drive's root keeps its backslash
        {"/tmp/arena2/class00.cfg", "/tmp/arena2", "class00.cfg"},
        {"/class00.cfg", "/", "class00.cfg"},
        {"arena2/sub\\class00.cfg", "arena2/sub", "class00.cfg"},
        {"class00.cfg", "", "class00.cfg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(fileNameOf(c.path), c.name) << c.path;
    }
    EXPECT_EQ(joinPath("C:\\game\\arena2", "x.cfg"), "C:\\game\\arena2\\x.cfg");
    EXPECT_EQ(joinPath("C:\\", "x.cfg"), "C:\\x.cfg");
    EXPECT_EQ(joinPath("arena2", "x.cfg"), "arena2/x.cfg");
    EXPECT_EQ(joinPath("game\\arena2/", "x.cfg"), "game\\arena2/x.cfg");
    EXPECT_EQ(joinPath("game/arena2\\x", "y.cfg"), "game/arena2\\x/y.cfg");
    EXPECT_EQ(joinPath("", "x.cfg"), "x.cfg");
}
