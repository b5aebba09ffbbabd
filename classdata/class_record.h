// The one class record of the program and its 74-byte file form.
#ifndef KESTRANE_CLASS_RECORD_H
#define KESTRANE_CLASS_RECORD_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace kestrane {

constexpr std::size_t kClassFileSize = 74;
constexpr std::size_t kClassNameSize = 19;
constexpr std::size_t kSkillCount = 12;
constexpr std::size_t kAttributeCount = 8;
constexpr std::size_t kHiddenBlockSize = 5;

// Raised by the file layer when a class file cannot be written, or when
// reading fails after the file was opened.
// Not a std::runtime_error: that class's own string type would double the
// string code in the editor.
class FileError : public std::exception {
public:
    // `systemError`: the platform's code for the cause (GetLastError or errno).
    FileError(std::string what, unsigned long systemError) : what_(std::move(what)), systemError_(systemError) {}
    const char* what() const noexcept override { return what_.c_str(); }
    unsigned long systemError() const { return systemError_; }

private:
    std::string what_;
    unsigned long systemError_;
};

// The stored fields in file order; nothing but classFilePath follows them.
// Not packed: the file form is moved field by field (see kFields).
class ClassData {
public:
    std::uint8_t resistFlags = 0;
    std::uint8_t immuneFlags = 0;
    std::uint8_t lowToleranceFlags = 0;
    std::uint8_t criticalWeaknessFlags = 0;
    std::uint16_t abilityFlags = 0;
    std::uint8_t rapidHealing = 0;
    std::uint8_t regeneration = 0;
    std::uint8_t hiddenByte = 0;
    std::uint8_t spellAbsorption = 0;
    std::uint8_t bonusPhobiaFlags = 0;
    std::uint16_t forbiddenMaterials = 0;
    std::uint8_t expertWeapons = 0;
    std::uint16_t forbiddenEquipment = 0;
    std::array<std::uint8_t, kSkillCount> skills{};
    std::array<char, kClassNameSize> className{};
    std::array<std::uint8_t, kHiddenBlockSize> hiddenBlock{};
    std::uint16_t hitPointsPerLevel = 0;
    std::int32_t advancementMultiplier = 0;
    std::array<std::uint16_t, kAttributeCount> attributes{};

    // UTF-8; relative paths are taken against the current directory.
    std::string classFilePath;

    // False when the file cannot be opened (nothing changes). A short file
    // updates the record as far as it reaches; bytes past 74 are ignored.
    // Throws FileError when reading fails after the open. `asRead`, when
    // given, gets exactly the bytes this read delivered, those past 74 too
    // (up to kCompareCap), from the same open file.
    bool readClassFile(std::vector<std::uint8_t>* asRead = nullptr);

    // Writes the 74 bytes atomically: the old file is replaced only after all
    // of them are on disk. Throws FileError and leaves the target unchanged on
    // any failure.
    void writeClassFile() const;

    // The stored fields as 74 file bytes, and back. fromBytes takes up to
    // `size` bytes, field by field, as a read of a file that long would.
    std::array<std::uint8_t, kClassFileSize> toBytes() const;
    void fromBytes(const std::uint8_t* data, std::size_t size);

    // The class name's bytes up to its NUL, never past the 19 bytes.
    std::string nameText() const;
    // The same as text (UTF-8): the bytes are Windows-1252 characters, as the
    // editor shows and stores them. Every place that shows a name starts here.
    std::string nameUtf8() const;
};

// One stored field: its place in the file and how its bytes are moved.
struct FieldInfo {
    const char* name;
    std::size_t offset;
    std::size_t size;
    void (*encode)(const ClassData&, std::uint8_t* out);
    void (*decode)(ClassData&, const std::uint8_t* in);
};

// The 19 transfers, in file order.
extern const std::array<FieldInfo, 19> kFields;
// The entry of kFields named `name` ("className"); null when none is.
const FieldInfo* fieldNamed(const std::string& name);

// The program-wide record and its unsaved-changes flag (only ever 0 or 1):
// 1 while the record's bytes differ from those last read or written. The
// editor window sets it, in one routine, whenever either changes.
extern ClassData ClassRecord;
extern int modified;

}  // namespace kestrane

#endif
