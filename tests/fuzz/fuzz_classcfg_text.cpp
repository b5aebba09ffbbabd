// Fuzz target: classcfg's text form.
//
// Invariants:
//  - any text either parses or is refused with "source:line: message"; no
//    other exception, no crash;
//  - text that parses dumps to text that parses again to the same 74 bytes,
//    and dumps to the same text (the dump is a fixed point);
//  - the input taken as a class file dumps to text that builds back to the
//    record a read of that file leaves; the JSON form, the facts and the
//    checker take any file.
// The parser's checks run on every input; the class-file ones, ten times as
// costly, on one input in 32 (every input when replayed).
#include "fuzz_support.h"

#include "classcfg.h"
#include "field_schema.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace kestrane;
using namespace kestrane::classcfg;

namespace {

void checkParsedText(const std::string& text) {
    ClassData first;
    try {
        first = parseText(text, "fuzz.txt");
    } catch (const TextError& e) {
        const std::string what = e.what();
        FUZZ_CHECK(e.line() >= 1);
        FUZZ_CHECK(what.compare(0, 9, "fuzz.txt:") == 0);
        FUZZ_CHECK(what.find(": ", 9) != std::string::npos);
        return;
    }
    const std::string dumped = dumpText(first);
    ClassData second;
    try {
        second = parseText(dumped, "dumped");
    } catch (const TextError&) {
        FUZZ_CHECK(!"the dump of parsed text parses");
    }
    FUZZ_CHECK(second.toBytes() == first.toBytes());
    FUZZ_CHECK(dumpText(second) == dumped);
}

void checkAsClassFile(const std::vector<std::uint8_t>& bytes) {
    const ClassData read = recordOf(bytes);
    const std::string text = dumpText(bytes);  // with its size note, all comments
    ClassData built;
    try {
        built = parseText(text, "dump");
    } catch (const TextError&) {
        FUZZ_CHECK(!"the dump of any class file parses");
    }
    FUZZ_CHECK(built.toBytes() == read.toBytes());
    const std::string json = dumpJson(bytes, "f\xC3\xA9.cfg");
    FUZZ_CHECK(!json.empty() && json.back() == '\n');
    FUZZ_CHECK(factChanges(bytes, bytes).empty());
    checkFile(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkParsedText(std::string(reinterpret_cast<const char*>(data), size));
    if (!kestrane::fuzz::checkEverything(kestrane::fuzz::hashOf(data, size), 32)) return 0;
    // Past 74 bytes a file only adds a list of hex bytes; a short tail keeps
    // the runs fast.
    checkAsClassFile(std::vector<std::uint8_t>(data, data + std::min<std::size_t>(size, 96)));
    return 0;
}
