#include "class_record.h"

#include "file_io.h"
#include "windows1252.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

namespace kestrane {

ClassData ClassRecord;
int modified = 0;

namespace {

// Little-endian moves for any unsigned width, independent of the host.
template <typename T>
void putLE(T value, std::uint8_t* out) {
    using U = std::make_unsigned_t<T>;
    U u = static_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) out[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

template <typename T>
T getLE(const std::uint8_t* in) {
    using U = std::make_unsigned_t<T>;
    U u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) u = static_cast<U>(u | (static_cast<U>(in[i]) << (8 * i)));
    return static_cast<T>(u);
}

template <auto Member>
struct Scalar {
    static void encode(const ClassData& r, std::uint8_t* out) { putLE(r.*Member, out); }
    static void decode(ClassData& r, const std::uint8_t* in) {
        using T = std::remove_reference_t<decltype(r.*Member)>;
        r.*Member = getLE<T>(in);
    }
};

template <auto Member>
struct Array {
    static void encode(const ClassData& r, std::uint8_t* out) {
        const auto& a = r.*Member;
        for (std::size_t i = 0; i < a.size(); ++i) putLE(a[i], out + i * sizeof(a[0]));
    }
    static void decode(ClassData& r, const std::uint8_t* in) {
        auto& a = r.*Member;
        using T = std::remove_reference_t<decltype(a[0])>;
        for (std::size_t i = 0; i < a.size(); ++i) a[i] = getLE<T>(in + i * sizeof(a[0]));
    }
};

template <auto Member>
constexpr FieldInfo scalar(const char* name, std::size_t offset) {
    return {name, offset, sizeof(ClassData{}.*Member), &Scalar<Member>::encode, &Scalar<Member>::decode};
}

template <auto Member>
constexpr FieldInfo array(const char* name, std::size_t offset) {
    return {name, offset, sizeof(ClassData{}.*Member), &Array<Member>::encode, &Array<Member>::decode};
}

}  // namespace

const std::array<FieldInfo, 19> kFields = {{
    scalar<&ClassData::resistFlags>("resistFlags", 0),
    scalar<&ClassData::immuneFlags>("immuneFlags", 1),
    scalar<&ClassData::lowToleranceFlags>("lowToleranceFlags", 2),
    scalar<&ClassData::criticalWeaknessFlags>("criticalWeaknessFlags", 3),
    scalar<&ClassData::abilityFlags>("abilityFlags", 4),
    scalar<&ClassData::rapidHealing>("rapidHealing", 6),
    scalar<&ClassData::regeneration>("regeneration", 7),
    scalar<&ClassData::hiddenByte>("hiddenByte", 8),
    scalar<&ClassData::spellAbsorption>("spellAbsorption", 9),
    scalar<&ClassData::bonusPhobiaFlags>("bonusPhobiaFlags", 10),
    scalar<&ClassData::forbiddenMaterials>("forbiddenMaterials", 11),
    scalar<&ClassData::expertWeapons>("expertWeapons", 13),
    scalar<&ClassData::forbiddenEquipment>("forbiddenEquipment", 14),
    array<&ClassData::skills>("skills", 16),
    array<&ClassData::className>("className", 28),
    array<&ClassData::hiddenBlock>("hiddenBlock", 47),
    scalar<&ClassData::hitPointsPerLevel>("hitPointsPerLevel", 52),
    scalar<&ClassData::advancementMultiplier>("advancementMultiplier", 54),
    array<&ClassData::attributes>("attributes", 58),
}};

const FieldInfo* fieldNamed(const std::string& name) {
    for (const FieldInfo& f : kFields)
        if (name == f.name) return &f;
    return nullptr;
}

std::array<std::uint8_t, kClassFileSize> ClassData::toBytes() const {
    std::array<std::uint8_t, kClassFileSize> out{};
    for (const FieldInfo& f : kFields) f.encode(*this, out.data() + f.offset);
    return out;
}

void ClassData::fromBytes(const std::uint8_t* data, std::size_t size) {
    for (const FieldInfo& f : kFields) {
        if (f.offset >= size) break;
        // A partly delivered field gets the delivered bytes at its start.
        std::uint8_t buf[32];
        f.encode(*this, buf);
        std::memcpy(buf, data + f.offset, std::min(f.size, size - f.offset));
        f.decode(*this, buf);
    }
}

std::string ClassData::nameText() const {
    auto end = std::find(className.begin(), className.end(), '\0');
    return std::string(className.begin(), end);
}

std::string ClassData::nameUtf8() const { return windows1252ToUtf8(nameText()); }

bool ClassData::readClassFile(std::vector<std::uint8_t>* asRead) {
    std::unique_ptr<ClassFileReader> file = ClassFileReader::open(classFilePath);
    if (!file) return false;
    std::vector<std::uint8_t> delivered;
    for (const FieldInfo& f : kFields) {
        std::uint8_t buf[32];
        f.encode(*this, buf);
        const std::size_t got = file->read(buf, f.size);  // whatever is delivered replaces the field's start
        delivered.insert(delivered.end(), buf, buf + got);
        f.decode(*this, buf);
    }
    if (asRead) readOn(*file, kCompareCap, delivered);
    file->close();
    if (asRead) *asRead = std::move(delivered);
    return true;
}

void ClassData::writeClassFile() const {
    AtomicFileWriter file(classFilePath);
    for (const FieldInfo& f : kFields) {
        std::uint8_t buf[32];
        f.encode(*this, buf);
        file.write(buf, f.size);
    }
    file.commit();
}

}  // namespace kestrane
