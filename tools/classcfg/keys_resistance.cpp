// Resistance and Weakness: one tolerance per effect, told by which of the
// four tolerance bytes holds the effect's bit.
#include "field_schema.h"
#include "value_readers.h"

namespace kestrane {
namespace classcfg {

std::vector<std::string> toleranceNames() {
    std::vector<std::string> out;
    for (const ToleranceByte& t : kToleranceBytes) out.push_back(kToleranceNames[static_cast<int>(t.tolerance)]);
    return out;
}

void setTolerances(ClassData& c, std::uint8_t bit, unsigned set) {
    for (std::size_t t = 0; t < kToleranceBytes.size(); ++t)
        setBits8(c.*kToleranceBytes[t].field, bit, (set & (1u << t)) ? bit : 0u);
}

void addResistanceKeys(Keys& k) {
    for (int r = 0; r < kEffectCount; ++r) {
        auto bit = static_cast<std::uint8_t>(1u << r);
        std::string effect = kEffectNames[r];
        k.push_back({r == 0 ? "Resistance and Weakness" : "", effect, "tolerances", effect,
                     [bit](Draft& d, const std::string& v) {
                         setTolerances(d.data, bit, parseStates(v, toleranceNames(), "tolerance"));
                     }});
    }
}

}  // namespace classcfg
}  // namespace kestrane
