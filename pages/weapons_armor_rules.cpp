#include "weapons_armor_rules.h"

#include "resource.h"
#include "tables.h"

namespace kestrane {

namespace {

constexpr int kFirstEquipmentBit = 6;  // Leather; the boxes from IDC_WA_LEATHER are bits 6-12
constexpr int kEquipmentBoxCount = 7;

std::uint16_t toggled(std::uint16_t field, std::uint16_t mask) {
    return (field & mask) != 0 ? static_cast<std::uint16_t>(field & ~mask) : static_cast<std::uint16_t>(field | mask);
}

std::uint8_t expertMask(std::uint16_t mask) { return static_cast<std::uint8_t>(mask & 0xFF); }

constexpr std::array<int, 35> buttonsInFillOrder() {
    std::array<int, 35> ids{};
    std::size_t n = 0;
    for (int k = 0; k < kMaterialCount; ++k) ids[n++] = IDC_WA_MATERIAL0 + k;
    for (int i = 0; i < kWeaponGroupCount; ++i) {
        ids[n++] = IDC_WA_FORBIDDEN0 + i;
        ids[n++] = IDC_WA_EXPERT0 + i;
        ids[n++] = IDC_WA_NORMAL0 + i;
    }
    for (int b = 0; b < kEquipmentBoxCount; ++b) ids[n++] = IDC_WA_LEATHER + b;
    return ids;
}

bool inRange(int id, int first, int count) { return id >= first && id < first + count; }

}  // namespace

void toggleForbiddenMaterial(std::uint16_t mask) {
    ClassRecord.forbiddenMaterials = toggled(ClassRecord.forbiddenMaterials, mask);
}

void toggleForbiddenEquipment(std::uint16_t mask) {
    ClassRecord.forbiddenEquipment = toggled(ClassRecord.forbiddenEquipment, mask);
}

void setWeaponForbidden(std::uint16_t mask) {
    ClassRecord.forbiddenEquipment |= mask;
    ClassRecord.expertWeapons &= static_cast<std::uint8_t>(~expertMask(mask));
}

void setWeaponNormal(std::uint16_t mask) {
    ClassRecord.forbiddenEquipment &= static_cast<std::uint16_t>(~mask);
    ClassRecord.expertWeapons &= static_cast<std::uint8_t>(~expertMask(mask));
}

void setWeaponExpert(std::uint16_t mask) {
    ClassRecord.forbiddenEquipment &= static_cast<std::uint16_t>(~mask);
    ClassRecord.expertWeapons |= expertMask(mask);
}

constexpr std::array<int, 35> kFillOrder = buttonsInFillOrder();
const std::array<int, 35> kWeaponsArmorButtons = kFillOrder;

bool weaponsArmorShown(const ClassData& record, int id) {
    if (inRange(id, IDC_WA_MATERIAL0, kMaterialCount))
        return (record.forbiddenMaterials & (1u << (id - IDC_WA_MATERIAL0))) != 0;
    if (inRange(id, IDC_WA_LEATHER, kEquipmentBoxCount))
        return (record.forbiddenEquipment & (1u << (id - IDC_WA_LEATHER + kFirstEquipmentBit))) != 0;
    if (inRange(id, IDC_WA_FORBIDDEN0, kWeaponGroupCount))
        return (record.forbiddenEquipment & (1u << (id - IDC_WA_FORBIDDEN0))) != 0;
    if (inRange(id, IDC_WA_EXPERT0, kWeaponGroupCount))
        return (record.expertWeapons & (1u << (id - IDC_WA_EXPERT0))) != 0;
    if (inRange(id, IDC_WA_NORMAL0, kWeaponGroupCount)) {
        const unsigned m = 1u << (id - IDC_WA_NORMAL0);
        return (record.expertWeapons & m) == 0 && (record.forbiddenEquipment & m) == 0;
    }
    return false;
}

bool weaponsArmorClicked(int id) {
    if (inRange(id, IDC_WA_MATERIAL0, kMaterialCount))
        toggleForbiddenMaterial(static_cast<std::uint16_t>(1u << (id - IDC_WA_MATERIAL0)));
    else if (inRange(id, IDC_WA_LEATHER, kEquipmentBoxCount))
        toggleForbiddenEquipment(static_cast<std::uint16_t>(1u << (id - IDC_WA_LEATHER + kFirstEquipmentBit)));
    else if (inRange(id, IDC_WA_FORBIDDEN0, kWeaponGroupCount))
        setWeaponForbidden(static_cast<std::uint16_t>(1u << (id - IDC_WA_FORBIDDEN0)));
    else if (inRange(id, IDC_WA_EXPERT0, kWeaponGroupCount))
        setWeaponExpert(static_cast<std::uint16_t>(1u << (id - IDC_WA_EXPERT0)));
    else if (inRange(id, IDC_WA_NORMAL0, kWeaponGroupCount))
        setWeaponNormal(static_cast<std::uint16_t>(1u << (id - IDC_WA_NORMAL0)));
    else
        return false;
    return true;
}

}  // namespace kestrane
