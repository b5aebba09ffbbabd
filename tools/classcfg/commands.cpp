// The command line of classcfg: dump, build, diff, check and tally (table is in
// table_form.cpp).
#include "classcfg.h"

#include "engine_play.h"
#include "field_schema.h"
#include "file_io.h"
#include "file_paths.h"
#include "table_columns.h"
#include "tally.h"
#include "value_readers.h"

#include <nlohmann/json.hpp>

#include <cstdio>

#include <iostream>
#include <iterator>

namespace kestrane {
namespace classcfg {

namespace {

const char kUsage[] =
    "usage: classcfg dump [--json] FILE...     print class files as text (or JSON)\n"
    "       classcfg build TEXT -o FILE        write the class file a text describes\n"
    "       classcfg diff A B                  list the fields in which two class files differ\n"
    "       classcfg check [--json] [--only KINDS] FILE...\n"
    "                                          report what the games, the class maker or the editor\n"
    "                                          would make of each class (and of a folder's files);\n"
    "                                          KINDS: breaks, changes, maker, note, comma-separated\n"
    "       classcfg tally FILE...             what the game's class maker would charge for each class,\n"
    "                                          and what the open engine makes of it in play\n"
    "       classcfg table [--csv|--json|--markdown] FILE...\n"
    "                                          one line per class: name, attributes, skills, the maker's price\n"
    "       classcfg apply [--dry-run] TABLE   write back the class files a table from table --csv names,\n"
    "                                          as edited in a spreadsheet (--dry-run: only show the changes)\n"
    "       classcfg --help                    show this help\n"
    "\n"
    "A class file is the game's 74-byte arena2/CLASSnn.CFG. A FILE may be a folder:\n"
    "its class files (class*.cfg in any case), sorted by name. The text form has one\n"
    "'key: value' line per fact; dump followed by build gives back every byte.\n"
    "TEXT may be - for standard input.\n"
    "\n"
    "Exit status: 0 when all went well, 1 when check found something other than a\n"
    "note, diff found differences, or a file could not be read or written (diff: 2\n"
    "for that), 2 on a usage error.\n";

int usageError(std::ostream& err, const std::string& message) {
    err << "classcfg: " << message << "\nTry 'classcfg --help'.\n";
    return 2;
}

// Reads a whole class file, or says why it cannot and returns false.
bool readOrReport(const std::string& path, std::vector<std::uint8_t>& bytes, std::ostream& err) {
    try {
        bytes = readWholeFile(path);
        return true;
    } catch (const ReadError& e) {
        err << "classcfg: " << e.what() << "\n";
        return false;
    }
}

// The arguments of a command taking "--json" and files: 0, or the usage
// error's status for any other option or no file.
int jsonAndFiles(const std::string& command, const std::vector<std::string>& args, bool& json,
                 std::vector<std::string>& files, std::ostream& err) {
    for (const std::string& a : args) {
        if (a == "--json")
            json = true;
        else if (a.size() > 1 && a[0] == '-')
            return usageError(err, command + ": unknown option '" + a + "'");
        else
            files.push_back(a);
    }
    return files.empty() ? usageError(err, command + ": no class file given") : 0;
}

int dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::vector<std::string> files;
    if (int bad = jsonAndFiles("dump", args, json, files, err)) return bad;
    bool failed = false;
    files = expandFolders(files, err, failed);
    int status = failed ? 1 : 0;
    bool several = files.size() > 1;
    bool first = true;
    if (json && several) out << "[\n";
    for (const std::string& f : files) {
        std::vector<std::uint8_t> bytes;
        if (!readOrReport(f, bytes, err)) {
            status = 1;
            continue;
        }
        if (json) {
            if (several) {
                // Each element names its file and is indented as an array element.
                std::string j = dumpJson(bytes, f), indented;
                j.pop_back();
                std::size_t start = 0;
                while (start <= j.size()) {
                    std::size_t nl = j.find('\n', start);
                    if (nl == std::string::npos) nl = j.size();
                    indented += "  " + j.substr(start, nl - start) + (nl < j.size() ? "\n" : "");
                    start = nl + 1;
                }
                out << (first ? "" : ",\n") << indented;
            } else {
                out << dumpJson(bytes);
            }
        } else {
            if (several) out << (first ? "" : "\n") << "# file: " << f << "\n";
            out << dumpText(bytes);
        }
        first = false;
    }
    if (json && several) out << (first ? "" : "\n") << "]\n";
    return status;
}

int build(const std::vector<std::string>& args, std::ostream& err) {
    std::string input, output;
    bool haveOutput = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size()) return usageError(err, "build: -o needs a file name");
            if (haveOutput) return usageError(err, "build: -o given twice");
            output = args[++i];
            haveOutput = true;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return usageError(err, "build: unknown option '" + args[i] + "'");
        } else if (input.empty()) {
            input = args[i];
        } else {
            return usageError(err, "build: one text at a time");
        }
    }
    if (input.empty()) return usageError(err, "build: no text given");
    if (!haveOutput || output.empty()) return usageError(err, "build: no output given (-o FILE)");
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeFile(input);
    } catch (const ReadError& e) {
        err << "classcfg: " << e.what() << "\n";
        return 1;
    }
    ClassData record;
    try {
        record = parseText(std::string(bytes.begin(), bytes.end()), input == "-" ? "<stdin>" : input);
    } catch (const TextError& e) {
        err << e.what() << "\n";
        return 1;
    }
    record.classFilePath = output;
    try {
        record.writeClassFile();
    } catch (const FileError& e) {
        err << "classcfg: cannot write " << output << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

int diff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return usageError(err, "diff: give exactly two class files");
    std::vector<Fact> facts[2];
    for (int i = 0; i < 2; ++i) {
        try {
            facts[i] = factsOf(readWholeFile(args[i]));
        } catch (const ReadError& e) {
            err << "classcfg: " << e.what() << "\n";
            return 2;
        }
    }
    bool differ = false;
    for (std::size_t k = 0; k < facts[0].size(); ++k) {
        if (facts[0][k].value == facts[1][k].value) continue;
        differ = true;
        out << facts[0][k].key << ": " << facts[0][k].value << " -> " << facts[1][k].value << "\n";
    }
    return differ ? 1 : 0;
}

int check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // --only KINDS: the severities to report, comma-separated; all by default.
    std::vector<std::string> rest;
    bool wanted[4] = {true, true, true, true};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--only") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size()) return usageError(err, "check: --only needs kinds (breaks, changes, maker, note)");
        std::fill(std::begin(wanted), std::end(wanted), false);
        const std::string& kinds = args[++i];
        for (std::size_t start = 0; start <= kinds.size();) {
            std::size_t comma = kinds.find(',', start);
            if (comma == std::string::npos) comma = kinds.size();
            const std::string kind = kinds.substr(start, comma - start);
            Severity severity;
            if (!severityOfKey(kind, severity))
                return usageError(err, "check: unknown kind '" + kind + "' (breaks, changes, maker, note)");
            wanted[static_cast<int>(severity)] = true;
            start = comma + 1;
        }
    }
    bool json = false;
    std::vector<std::string> files;
    if (int bad = jsonAndFiles("check", rest, json, files, err)) return bad;
    bool failed = false;
    int status = 0;
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    // One subject's findings, as asked: printed, or added to the JSON under
    // `key` ("file" or "folder"). Only what counts sets the exit status.
    auto report = [&](const std::string& key, const std::string& subject, const std::vector<Finding>& found) {
        std::vector<const Finding*> shown;
        for (const Finding& x : found)
            if (wanted[static_cast<int>(x.severity)]) shown.push_back(&x);
        for (const Finding* x : shown)
            if (counts(*x)) status = 1;
        if (json) {
            nlohmann::ordered_json list = nlohmann::ordered_json::array();
            for (const Finding* x : shown)
                list.push_back({{"text", x->text}, {"game", gameKey(x->game)}, {"severity", severityKey(x->severity)}});
            all.push_back({{key, subject}, {"findings", list}});
            return;
        }
        if (shown.empty() && key == "file") out << subject << ": ok\n";
        for (const Finding* x : shown) out << subject << (counts(*x) ? ": " : ": note: ") << x->text << "\n";
    };
    std::vector<FolderSpan> folders;
    const std::vector<std::string> expanded = expandFolders(files, err, failed, &folders);
    for (std::size_t i = 0; i < expanded.size(); ++i) {
        for (const FolderSpan& folder : folders)
            if (folder.first == i)
                report("folder", folder.folder,
                       findFolder(std::vector<std::string>(expanded.begin() + static_cast<std::ptrdiff_t>(i),
                                                           expanded.begin() + static_cast<std::ptrdiff_t>(i + folder.count))));
        const std::string& f = expanded[i];
        std::vector<std::uint8_t> bytes;
        if (!readOrReport(f, bytes, err)) {
            status = 1;
            continue;
        }
        report("file", f, checkFindings(bytes, f));
    }
    // A file name that is not UTF-8 (possible on Linux) must not stop the report.
    if (json) out << all.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    return failed ? 1 : status;
}

std::string signedPoints(int points) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%+5d", points);
    return buf;
}

int tally(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usageError(err, "tally: no class file given");
    bool failed = false;
    const std::vector<std::string> files = expandFolders(args, err, failed);
    int status = failed ? 1 : 0;
    bool first = true;
    for (const std::string& f : files) {
        std::vector<std::uint8_t> bytes;
        if (!readOrReport(f, bytes, err)) {
            status = 1;
            continue;
        }
        const ClassData c = recordOf(bytes);
        const ClassTally t = tallyClass(c);
        Value name;
        name.shape = Shape::Name;
        const std::string text = c.nameText();
        name.bytes.assign(text.begin(), text.end());
        out << (first ? "" : "\n") << f << ": " << textOf(name) << "\n";
        out << signedPoints(t.hitPointPoints) << "  hit points per level " << c.hitPointsPerLevel << "\n";
        for (const TallyItem& i : t.items) out << signedPoints(i.points) << "  " << i.name << "\n";
        out << signedPoints(t.total) << "  total: " << t.advantages << (t.advantages == 1 ? " advantage, " : " advantages, ")
            << t.disadvantages << (t.disadvantages == 1 ? " disadvantage\n" : " disadvantages\n");
        for (const std::string& b : t.beyondMaker) out << "       not from the maker: " << b << "\n";
        out << tallySummary(t) << "; the file has " << multiplierText(c.advancementMultiplier) << "\n";
        out << kPlayHeading << "\n";
        for (const std::string& line : playLines(c, f)) out << "  " << line << "\n";
        first = false;
    }
    return status;
}

}  // namespace

std::vector<std::string> expandFolders(const std::vector<std::string>& args, std::ostream& err, bool& failed,
                                       std::vector<FolderSpan>* folders) {
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (a == "-" || !isFolder(a)) {
            files.push_back(a);
            continue;
        }
        std::vector<std::string> names;
        try {
            names = classFilesOf(a);
        } catch (const FileError& e) {
            err << "classcfg: cannot read folder " << a << ": " << reasonFor(e.systemError()) << "\n";
            failed = true;
            continue;
        }
        if (names.empty()) {
            err << "classcfg: no class files in " << a << "\n";
            failed = true;
            continue;
        }
        // Joined as the folder was written: a Windows path keeps its backslashes.
        if (folders) folders->push_back({a, files.size(), names.size()});
        for (const std::string& n : names) files.push_back(joinPath(a, n));
    }
    return files;
}

std::vector<std::uint8_t> readWholeFile(const std::string& utf8Path) {
    if (utf8Path == "-") {
        std::string all((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
        return std::vector<std::uint8_t>(all.begin(), all.end());
    }
    std::vector<std::uint8_t> bytes;
    unsigned long error = 0;
    bool opened = false;
    try {
        opened = lookAtFile(utf8Path, kWholeFile, bytes, error);
    } catch (const FileError& e) {
        throw ReadError("cannot read " + utf8Path + ": " + e.what());
    }
    if (!opened) throw ReadError("cannot open " + utf8Path + ": " + reasonFor(error));
    return bytes;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usageError(err, "no command given");
    const std::string& cmd = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        out << kUsage;
        return 0;
    }
    if (cmd == "dump") return dump(rest, out, err);
    if (cmd == "build") return build(rest, err);
    if (cmd == "diff") return diff(rest, out, err);
    if (cmd == "check") return check(rest, out, err);
    if (cmd == "tally") return tally(rest, out, err);
    if (cmd == "table") return table(rest, out, err);
    if (cmd == "apply") return apply(rest, out, err);
    return usageError(err, "unknown command '" + cmd + "'");
}

}  // namespace classcfg
}  // namespace kestrane
