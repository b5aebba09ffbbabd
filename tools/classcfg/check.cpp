// `check`: what a modder should know about a class file before a game reads
// it. The rules are classdata's findings (findings.h); a file of another size
// than 74 bytes is said first, and one too short to hold a whole record is
// reported by its size alone.
#include "classcfg.h"

namespace kestrane {
namespace classcfg {

std::vector<Finding> checkFindings(const std::vector<std::uint8_t>& fileBytes, const std::string& fileName) {
    std::vector<Finding> found;
    if (fileBytes.size() != kClassFileSize)
        found.push_back(
            {"size is " + std::to_string(fileBytes.size()) + " bytes, not 74", Game::Editor, Severity::Note});
    if (fileBytes.size() < kClassFileSize) return found;
    for (Finding& f : findClass(recordOf(fileBytes), fileName)) found.push_back(std::move(f));
    return found;
}

std::vector<std::string> checkFile(const std::vector<std::uint8_t>& fileBytes, const std::string& fileName) {
    std::vector<std::string> lines;
    for (const Finding& f : checkFindings(fileBytes, fileName)) lines.push_back(f.text);
    return lines;
}

}  // namespace classcfg
}  // namespace kestrane
