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

#include <algorithm>
#include <cctype>
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
    "note, diff found differences, apply refused a table, or a file could not be read\n"
    "or written (diff: 2 for that), 2 on a usage error.\n";

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

// Says so on `err` when a file is not 74 bytes long; true then.
bool reportSize(const std::string& path, const std::vector<std::uint8_t>& bytes, std::ostream& err) {
    const std::string problem = sizeProblem(path, bytes.size());
    if (problem.empty()) return false;
    err << "classcfg: " << problem << "\n";
    return true;
}

// The lines of the help that are `command`'s: its usage line and those that
// continue it; empty for no command of ours.
std::string commandUsage(const std::string& command) {
    const std::string help = kUsage;
    const std::string head = "classcfg " + command + " ";
    std::string out;
    bool ours = false;
    for (std::size_t pos = 0; pos < help.size();) {
        const std::size_t end = std::min(help.find('\n', pos), help.size() - 1) + 1;
        const std::string line = help.substr(pos, end - pos);
        pos = end;
        if (line.size() < 17) break;  // the usage lines end at the first blank line
        // "usage: classcfg ..." or "       classcfg ...": a command's first line.
        if (line.compare(7, 9, "classcfg ") == 0) ours = line.compare(7, head.size(), head) == 0;
        if (ours) out += out.empty() ? "usage: " + line.substr(7) : line;
    }
    return out;
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
        // Dumped all the same: the text says what a read of it leaves, and
        // build makes a class file of it.
        if (reportSize(f, bytes, err)) status = 1;
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
    const std::string source = input == "-" ? "<stdin>" : input;
    std::vector<std::string> missing;
    try {
        record = parseText(std::string(bytes.begin(), bytes.end()), source, &missing);
    } catch (const TextError& e) {
        err << e.what() << "\n";
        return 1;
    }
    // Written all the same, as an empty class has them; a key left out by
    // mistake should not pass unseen.
    if (!missing.empty())
        err << "classcfg: " << source << " does not give " << joinList(missing, "")
            << "; they are written as an empty class has them (0, Normal, none, no)\n";
    record.classFilePath = output;
    try {
        record.writeClassFile();
    } catch (const FileError& e) {
        err << "classcfg: cannot write " << output << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

// Two class files' differing fields: 0 for none, 1 for some (or a file that
// is not 74 bytes long), 2 when one cannot be read.
int diffFiles(const std::string& a, const std::string& b, std::ostream& out, std::ostream& err,
              const std::string& header = "") {
    std::vector<std::uint8_t> bytes[2];
    const std::string paths[2] = {a, b};
    bool sizes = false;
    for (int i = 0; i < 2; ++i) {
        try {
            bytes[i] = readWholeFile(paths[i]);
        } catch (const ReadError& e) {
            err << "classcfg: " << e.what() << "\n";
            return 2;
        }
        sizes = reportSize(paths[i], bytes[i], err) || sizes;
    }
    const std::vector<std::string> lines = factChanges(bytes[0], bytes[1]);
    if (!lines.empty()) out << header;
    for (const std::string& line : lines) out << line << "\n";
    return lines.empty() && !sizes ? 0 : 1;
}

std::string lowerCase(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Two folders: their class files paired by name in any case, each pair's
// fields under a "# A -> B" line, and the files found in one folder only.
int diffFolders(const std::string& a, const std::string& b, std::ostream& out, std::ostream& err) {
    const std::string folders[2] = {a, b};
    std::vector<std::string> names[2];
    for (int i = 0; i < 2; ++i) {
        try {
            names[i] = classFilesOf(folders[i]);
        } catch (const FileError& e) {
            err << "classcfg: cannot read folder " << folders[i] << ": " << reasonFor(e.systemError()) << "\n";
            return 2;
        }
        if (names[i].empty()) {
            err << "classcfg: no class files in " << folders[i] << "\n";
            return 2;
        }
    }
    // Each name once, by name as the folders list them, with its file in
    // each folder ("" for none).
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<bool> taken(names[1].size(), false);
    for (const std::string& n : names[0]) {
        std::string match;
        for (std::size_t j = 0; j < names[1].size() && match.empty(); ++j)
            if (!taken[j] && lowerCase(names[1][j]) == lowerCase(n)) {
                taken[j] = true;
                match = names[1][j];
            }
        pairs.push_back({n, match});
    }
    for (std::size_t j = 0; j < names[1].size(); ++j)
        if (!taken[j]) pairs.push_back({"", names[1][j]});
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& x, const auto& y) {
        return lowerCase(x.first.empty() ? x.second : x.first) < lowerCase(y.first.empty() ? y.second : y.first);
    });
    int status = 0;
    for (const auto& p : pairs) {
        if (p.first.empty() || p.second.empty()) {
            out << "# only in " << (p.first.empty() ? b : a) << ": " << (p.first.empty() ? p.second : p.first) << "\n";
            status = std::max(status, 1);
            continue;
        }
        const std::string fa = joinPath(a, p.first), fb = joinPath(b, p.second);
        status = std::max(status, diffFiles(fa, fb, out, err, "# " + fa + " -> " + fb + "\n"));
    }
    return status;
}

int diff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return usageError(err, "diff: give exactly two class files or two folders");
    const bool folder = isFolder(args[0]);
    if (folder != isFolder(args[1])) return usageError(err, "diff: give two class files or two folders, not one of each");
    return folder ? diffFolders(args[0], args[1], out, err) : diffFiles(args[0], args[1], out, err);
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
        // No reckoning for what is not a class file.
        if (reportSize(f, bytes, err)) {
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
        // The points right-aligned in five places, the rest under the items, the summary alone.
        for (const TallyLine& line : tallyLines(c, t)) {
            switch (line.kind) {
                case TallyLine::Kind::Points: out << signedPoints(line.points) << "  "; break;
                case TallyLine::Kind::NotFromMaker: out << "       "; break;
                case TallyLine::Kind::Summary: break;
            }
            out << line.text << "\n";
        }
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

std::string sizeProblem(const std::string& file, std::size_t size) {
    if (size == kClassFileSize) return "";
    return file + " is " + std::to_string(size) + " bytes long; a class file is 74 bytes.";
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
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        const std::string usage = commandUsage(cmd);
        if (!usage.empty()) {
            out << usage;
            return 0;
        }
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
