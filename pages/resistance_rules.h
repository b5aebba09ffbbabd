// The Resistance and Weakness page: one five-way tolerance per effect, kept
// in bit r of the four tolerance bytes.
#ifndef KESTRANE_RESISTANCE_RULES_H
#define KESTRANE_RESISTANCE_RULES_H

#include "class_record.h"

#include <array>
#include <cstdint>

namespace kestrane {

// Each takes the row's one-bit mask (1 << effect), sets the bit in its own
// byte (none for Normal) and clears it in the others.
void setEffectImmune(std::uint8_t mask);
void setEffectResist(std::uint8_t mask);
void setEffectNormal(std::uint8_t mask);
void setEffectLowTolerance(std::uint8_t mask);
void setEffectCritical(std::uint8_t mask);

// The page's 35 radio buttons in the order its loadControls sets them: for
// each row r, Immune, Resist, Low Tol., Critical, Normal (IDC_RES_IMMUNE0 + r
// and so on).
extern const std::array<int, 35> kResistanceButtons;

// Whether button `controlId` is shown checked for `record`: each button from
// its own bit, so a row holding two tolerances shows both. False for an id
// that is not one of the page's buttons.
bool resistanceShown(const ClassData& record, int controlId);

// A click on button `controlId`, on the global ClassRecord. False, with
// nothing changed, for an id that is not one of the page's buttons.
bool resistanceClicked(int controlId);

}  // namespace kestrane

#endif
