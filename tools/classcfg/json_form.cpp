// The JSON form: the facts of the text form with JSON types (numbers,
// booleans, lists), written by nlohmann/json.
#include "basic_numbers.h"
#include "classcfg.h"
#include "field_schema.h"
#include "tally.h"
#include "value_readers.h"

// The cross build sees only nlohmann's own directory (see CMakeLists.txt).
#include <nlohmann/json.hpp>

namespace kestrane {
namespace classcfg {

namespace {

using Json = nlohmann::ordered_json;

Json byteList(const std::uint8_t* p, std::size_t n) {
    Json a = Json::array();
    for (std::size_t i = 0; i < n; ++i) a.push_back(p[i]);
    return a;
}

Json entryJson(const Entry& e) { return e.named() ? Json(e.name) : Json(e.number); }

Json jsonOf(const Value& v) {
    switch (v.shape) {
    case Shape::Number:
    case Shape::Hex: return v.number;
    case Shape::YesNo: return v.number != 0;
    case Shape::Choice: return entryJson(v.entries[0]);
    case Shape::States:
    case Shape::Names: {
        Json a = Json::array();
        for (const Entry& e : v.entries) a.push_back(entryJson(e));
        if (a.empty() && v.shape == Shape::States) a.push_back("Normal");
        return a;
    }
    case Shape::Bytes: return byteList(v.bytes.data(), v.bytes.size());
    case Shape::Name: {
        // The text form's string without its quotes, escapes and all.
        const std::string text = textOf(v);
        return text.substr(1, text.size() - 2);
    }
    case Shape::Multiplier: {
        auto raw = static_cast<std::int32_t>(v.number);
        return {{"value", multiplierNumber(raw)}, {"shown", multiplierText(raw)}, {"fixed", raw}};
    }
    }
    return nullptr;
}

Json tallyJson(const ClassTally& t) {
    Json items = Json::array();
    for (const TallyItem& i : t.items) items.push_back({{"name", i.name}, {"points", i.points}});
    Json beyond = Json::array();
    for (const std::string& s : t.beyondMaker) beyond.push_back(s);
    return {{"items", items},
            {"hitPointPoints", t.hitPointPoints},
            {"total", t.total},
            {"advantages", t.advantages},
            {"disadvantages", t.disadvantages},
            {"makerMultiplier", {{"value", t.makerMultiplier},
                                 {"shown", twoDecimals(t.makerMultiplier)},
                                 {"typed", typedMultiplier(t.makerMultiplier)}}},
            {"beyondMaker", beyond}};
}

}  // namespace

std::string dumpJson(const std::vector<std::uint8_t>& fileBytes, const std::string& fileName) {
    const ClassData c = recordOf(fileBytes);
    Json j;
    if (!fileName.empty()) j["file"] = fileName;
    j["fileSize"] = fileBytes.size();
    for (const KeyDef& k : keyDefs()) {
        Json& place = k.jsonGroup.empty() ? j : j[k.jsonGroup];
        place[k.jsonKey] = jsonOf(k.valueIn(c));
    }
    std::array<std::uint8_t, kClassFileSize> bytes = c.toBytes();
    j["bytes"] = hexBytes(bytes.data(), bytes.size());
    if (fileBytes.size() > kClassFileSize)
        j["bytesPast74"] = byteList(fileBytes.data() + kClassFileSize, fileBytes.size() - kClassFileSize);
    j["tally"] = tallyJson(tallyClass(c));
    // A file name that is not UTF-8 (possible on Linux) must not stop the dump.
    return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace classcfg
}  // namespace kestrane
