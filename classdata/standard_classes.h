// The class each of the game's class files stands for. The game reads
// arena2/CLASS00.CFG to CLASS18.CFG by number: the player's class list and the
// human enemies of the same class both come from the file of that number, so
// an edit changes both.
#ifndef KESTRANE_STANDARD_CLASSES_H
#define KESTRANE_STANDARD_CLASSES_H

#include <string>

namespace kestrane {

constexpr int kStandardClassCount = 19;

// The class of file number 0 to 18 ("Mage" ... "Knight", "Knight (city
// watch)" for 18); empty for any other number.
std::string standardClassName(int number);

// The file number of a name CLASSnn.CFG in any case (a path's folders are
// skipped, '/' or '\\'), or -1 for any other name.
int classFileNumber(const std::string& fileName);

// standardClassName(classFileNumber(fileName)): empty for a name outside the table.
std::string standardClassFor(const std::string& fileName);

// True for a name class*.cfg in any case (a folder's class files).
bool looksLikeClassFile(const std::string& fileName);

}  // namespace kestrane

#endif
