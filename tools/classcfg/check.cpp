// `check`: what a modder should know about a class file before a game reads
// it. The rules are classdata's findings (findings.h), with the open engine's
// whole text table to quote; a file of another size than 74 bytes is said
// first, and one too short to hold a whole record is reported by its size
// alone.
#include "classcfg.h"

#include "engine_text.h"

namespace kestrane {
namespace classcfg {

std::vector<Finding> checkFindings(const std::vector<std::uint8_t>& fileBytes, const std::string& fileName) {
    std::vector<Finding> found;
    // The open engine reads the 74 bytes field by field and nothing after
    // them; a shorter file ends inside a field, and the read throws
    // (Daggerfall Unity 81e89e9, Assets/Scripts/API/ClassFile.cs:110-181).
    const std::string whole = std::to_string(kClassFileSize);
    const std::string size =
        "the file is " + std::to_string(fileBytes.size()) + " bytes long; a class file is " + whole + " bytes";
    if (fileBytes.size() < kClassFileSize)
        found.push_back({size + "; the open engine cannot load the file (it ends inside a field)", Game::Engine,
                         Severity::Breaks, {}});
    else if (fileBytes.size() > kClassFileSize)
        found.push_back({size + "; the open engine ignores the bytes past " + whole, Game::Engine, Severity::Note, {}});
    if (fileBytes.size() < kClassFileSize) return found;
    for (Finding& f : findClass(recordOf(fileBytes), fileName, engineTextUnder)) found.push_back(std::move(f));
    return found;
}

std::vector<std::string> checkFile(const std::vector<std::uint8_t>& fileBytes, const std::string& fileName) {
    std::vector<std::string> lines;
    for (const Finding& f : checkFindings(fileBytes, fileName)) lines.push_back(f.text);
    return lines;
}

}  // namespace classcfg
}  // namespace kestrane
