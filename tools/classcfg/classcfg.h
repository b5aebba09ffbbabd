// classcfg: class files as editable, diffable text, with a checker.
// Everything here is portable; the two entry points (main_posix.cpp,
// main_win32.cpp) only turn the command line into UTF-8 and print.
#ifndef KESTRANE_CLASSCFG_H
#define KESTRANE_CLASSCFG_H

#include "class_record.h"
#include "findings.h"

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrane {
namespace classcfg {

// A problem with text given to `build`; what() is "source:line: message".
class TextError : public std::runtime_error {
public:
    TextError(const std::string& source, int line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

// A file that could not be read; what() names the file and the reason.
class ReadError : public std::runtime_error {
public:
    explicit ReadError(const std::string& what) : std::runtime_error(what) {}
};

// The whole content of a file ("-" is standard input). Throws ReadError.
std::vector<std::uint8_t> readWholeFile(const std::string& utf8Path);

// The record a read of these bytes leaves in a zero record: a short file's
// missing bytes stay zero, bytes past 74 are ignored.
ClassData recordOf(const std::vector<std::uint8_t>& fileBytes);

// The text form. For a file of another size than 74 bytes the text starts
// with comments saying so (and listing any bytes past 74).
std::string dumpText(const std::vector<std::uint8_t>& fileBytes);
std::string dumpText(const ClassData& record);

// Reads the text form back; a key left out keeps the zero record's value and,
// when `missing` is given, is added to it. Throws TextError naming `source`
// and the line.
ClassData parseText(const std::string& text, const std::string& source, std::vector<std::string>* missing = nullptr);

// "FILE is N bytes long; a class file is 74 bytes." for a file of another
// size than a class file's; empty for 74 bytes.
std::string sizeProblem(const std::string& file, std::size_t size);

// The JSON form (same facts, typed), two-space indented, ending in a newline.
// A non-empty fileName is given first, as "file" (UTF-8).
std::string dumpJson(const std::vector<std::uint8_t>& fileBytes, const std::string& fileName = "");

// What a modder should know about a file; empty when nothing is wrong.
// `fileName` tells a standard file (CLASS00.CFG ...) by its name.
std::vector<Finding> checkFindings(const std::vector<std::uint8_t>& fileBytes, const std::string& fileName = "");
// The same, one line of text each.
std::vector<std::string> checkFile(const std::vector<std::uint8_t>& fileBytes, const std::string& fileName = "");

// The whole program: args without the program name. Returns the exit status
// (0 fine, 1 findings/differences/failures, 2 usage; diff: 2 on trouble).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The system's words for its error code (GetLastError or errno), as a clause
// inside our own message (platform file).
std::string reasonFor(unsigned long systemError);

// A folder among the arguments: where its class files start in the expanded
// list, and how many there are.
struct FolderSpan {
    std::string folder;
    std::size_t first;
    std::size_t count;
};

// The arguments with each folder replaced by its class files (class*.cfg in
// any case), sorted by name. A folder without any is reported on `err` and
// counts as a file that could not be read (`failed` is set). `folders`, when
// given, receives each folder that had class files.
std::vector<std::string> expandFolders(const std::vector<std::string>& args, std::ostream& err, bool& failed,
                                       std::vector<FolderSpan>* folders = nullptr);

// `classcfg table`: one row per class file, as aligned text, CSV, Markdown
// or JSON (table_form.cpp).
int table(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace classcfg
}  // namespace kestrane

#endif
