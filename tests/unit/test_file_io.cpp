// Saving never damages the file that was there, whatever goes wrong.
#include "class_record.h"
#include "disk_watch.h"
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

// Another program's change is told by the bytes, not by the file's time.
TEST(DiskWatch, TellsAChangeByItsBytesAndRemembersWhatWasAsked) {
    TempDir dir;
    const std::string path = dir.file("CLASS05.CFG");
    writeBytes(path, countingBytes(74, 1));
    DiskWatch watch;
    watch.remember(path);
    EXPECT_EQ(watch.check(), DiskWatch::State::Same);
    ASSERT_TRUE(sh("touch -d '2001-01-01' " + path));  // rewritten with the same bytes
    EXPECT_EQ(watch.check(), DiskWatch::State::Same);

    writeBytes(path, countingBytes(74, 2));
    EXPECT_EQ(watch.check(), DiskWatch::State::Changed);
    EXPECT_FALSE(watch.askedBefore());
    watch.acknowledge();
    EXPECT_EQ(watch.check(), DiskWatch::State::Changed);
    EXPECT_TRUE(watch.askedBefore());
    writeBytes(path, countingBytes(76, 2));  // a later change asks again
    EXPECT_EQ(watch.check(), DiskWatch::State::Changed);
    EXPECT_FALSE(watch.askedBefore());

    watch.remember(path);  // read again: nothing to ask
    EXPECT_EQ(watch.check(), DiskWatch::State::Same);
    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_EQ(watch.check(), DiskWatch::State::Same);  // nothing to read again
}
