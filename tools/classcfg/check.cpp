// `check`: what a modder should know about a class file before the game
// reads it. Each finding is one line of plain words: first what no control
// of the editor writes, then numbers past the editor's own bounds, each in
// the order of the text form.
#include "classcfg.h"
#include "field_schema.h"

namespace kestrane {
namespace classcfg {

std::vector<std::string> checkFile(const std::vector<std::uint8_t>& fileBytes) {
    std::vector<std::string> found;
    if (fileBytes.size() != kClassFileSize)
        found.push_back("size is " + std::to_string(fileBytes.size()) + " bytes, not 74");
    const ClassData c = recordOf(fileBytes);

    // A file too short to hold the whole name is reported by its size alone.
    if (fileBytes.size() >= 47) {
        bool nul = false;
        for (char ch : c.className) nul = nul || ch == '\0';
        if (!nul) found.push_back("name has no NUL in its 19 bytes");
    }
    for (const KeyDef& k : keyDefs())
        if (k.oddities) k.oddities(c, found);
    for (const KeyDef& k : keyDefs())
        if (k.bounds) k.bounds(c, found);
    return found;
}

}  // namespace classcfg
}  // namespace kestrane
