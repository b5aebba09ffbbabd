// The Weapons and Armor page: forbidden materials, armor and shields, and the
// forbidden / normal / expert state of the six weapon groups.
#ifndef KESTRANE_WEAPONS_ARMOR_RULES_H
#define KESTRANE_WEAPONS_ARMOR_RULES_H

#include "class_record.h"

#include <array>
#include <cstdint>

namespace kestrane {

// Invert `mask` in forbiddenMaterials / forbiddenEquipment by testing the
// record (not the box).
void toggleForbiddenMaterial(std::uint16_t mask);
void toggleForbiddenEquipment(std::uint16_t mask);

// One weapon group's state: the pair (forbiddenEquipment bit, expertWeapons
// bit) becomes (1,0), (0,0) or (0,1). expertWeapons gets the mask's low 8
// bits.
void setWeaponForbidden(std::uint16_t mask);
void setWeaponNormal(std::uint16_t mask);
void setWeaponExpert(std::uint16_t mask);

// The page's 35 buttons in the order its loadControls sets them: the ten
// materials; for each group i, Forbidden, Expert, Normal (IDC_WA_FORBIDDEN0 + i
// and so on); then the armor and shield boxes from IDC_WA_LEATHER.
extern const std::array<int, 35> kWeaponsArmorButtons;

// Whether `controlId` is shown checked for `record`, each control from its
// own bits (the pair (1,1) shows Forbidden and Expert). False for a foreign id.
bool weaponsArmorShown(const ClassData& record, int controlId);

// A click on `controlId`, on the global ClassRecord. False, with nothing
// changed, for a foreign id.
bool weaponsArmorClicked(int controlId);

}  // namespace kestrane

#endif
