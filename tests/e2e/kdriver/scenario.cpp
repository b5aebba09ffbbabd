// kdriver.exe: runs one end-to-end scenario against the real program under Wine.
//
//   wine kdriver.exe SCENARIO_FILE      (current directory: the test's game directory)
//
// The scenario is one command per line (see README.md). Every command either passes or
// fails the run with its line number and what was expected against what was seen; every
// wait is bounded. Actions go through real window messages so the program's controls do
// their own work (limits, auto check boxes, notifications). Exit code 0 only when every
// line passed.
//
// This file reads the scenario and runs its lines through the command table; the
// commands live in one file for each section of README.md (see commands.h).
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "commands.h"

namespace kestrane {

namespace {

// ---- scenario text ----------------------------------------------------------------

struct Line {
    int number;
    std::string text;
    std::vector<std::string> args;  // args[0] is the command
};

std::vector<std::string> tokenize(const std::string& line) {
    std::vector<std::string> out;
    size_t i = 0, n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n || line[i] == '#') break;
        std::string tok;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c != '\\') {
                    tok += c;
                    continue;
                }
                if (i >= n) fail("a backslash ends the line");
                char e = line[i++];
                if (e == '"' || e == '\\')
                    tok += e;
                else if (e == 'n')
                    tok += '\n';
                else if (e == 't')
                    tok += '\t';
                else if (e == 'x' && i + 2 <= n && isxdigit((unsigned char)line[i]) &&
                         isxdigit((unsigned char)line[i + 1])) {
                    tok += char(strtol(line.substr(i, 2).c_str(), nullptr, 16));
                    i += 2;
                } else
                    fail(format("unknown escape \\%c", e));
            }
            if (!closed) fail("a quoted string is not closed");
            if (i < n && line[i] != ' ' && line[i] != '\t') fail("text right after a closing quote");
        } else {
            while (i < n && line[i] != ' ' && line[i] != '\t') tok += line[i++];
        }
        out.push_back(tok);
    }
    return out;
}

// ---- the command table ------------------------------------------------------------

// One scenario command: its name, how many arguments it takes, what to
// say when the count is wrong, and what runs it.
const size_t kAny = ~size_t(0);
struct Command {
    const char* name;
    size_t minArgs, maxArgs;
    const char* usage;
    CommandFn run;
};

const Command kCommands[] = {
    // process_commands.cpp: the process and its windows
    {"timeout", 1, 1, "timeout SECONDS", cmdTimeout},
    {"start", 1, 2, "start EXE [ARGUMENTS]", cmdStart},
    {"start-copy", 2, 2, "start-copy EXE NEWNAME", cmdStartCopy},
    {"wait-window", 1, 1, "wait-window CAPTION", cmdWaitWindow},
    {"expect-no-window", 1, 2, "expect-no-window CAPTION [SECONDS]", cmdExpectNoWindow},
    {"expect-never-shown", 1, 1, "expect-never-shown CAPTION", cmdExpectNeverShown},
    {"expect-caption", 1, 1, "expect-caption TEXT", cmdExpectCaption},
    {"expect-style", 1, 1, "expect-style HEX | expect-exstyle HEX", cmdExpectStyle},
    {"expect-exstyle", 1, 1, "expect-style HEX | expect-exstyle HEX", cmdExpectStyle},
    {"wait-exit", 1, 1, "wait-exit CODE", cmdWaitExit},
    {"expect-running", 0, 0, "expect-running", cmdExpectRunning},
    {"key", 1, 1, "key ctrl+tab|escape|enter|alt+f4|...", cmdKey},
    {"close-box", 0, 0, "close-box", cmdCloseBox},
    {"drop-files", 1, 8, "drop-files PATH...", cmdDropFiles},
    {"sys-command", 1, 1, "sys-command minimize|restore|ID", cmdSysCommand},
    {"expect-minimized", 1, 1, "expect-minimized 0|1", cmdExpectMinimized},
    {"switch-away", 0, 0, "switch-away", cmdSwitchAway},
    {"switch-back", 0, 0, "switch-back", cmdSwitchBack},
    {"command", 1, 1, "command ID", cmdCommand},
    {"command-async", 1, 1, "command ID", cmdCommand},
    // sheet_commands.cpp: the sheet
    {"expect-tabs", 1, 1, "expect-tabs \"A|B|...\"", cmdExpectTabs},
    {"expect-active-tab", 1, 1, "expect-active-tab N", cmdExpectActiveTab},
    {"expect-page", 1, 1, "expect-page CAPTION", cmdExpectPage},
    {"select-tab", 1, 1, "select-tab N", cmdSelectTab},
    {"expect-sysmenu", 1, 1, "expect-sysmenu \"Move|Close\"", cmdExpectSysmenu},
    {"expect-status", 2, 2, "expect-status PART TEXT", cmdExpectStatus},
    {"click-status", 1, 1, "click-status PART", cmdClickStatus},
    {"expect-no-button", 1, 1, "expect-no-button OK|Cancel|Apply|Help|TEXT", cmdExpectNoButton},
    // control_commands.cpp: controls
    {"click", 1, 1, "click ID", cmdClick},
    {"click-async", 1, 1, "click ID", cmdClick},
    {"type", 2, 2, "type ID TEXT", cmdType},
    {"paste", 2, 2, "paste ID TEXT", cmdPaste},
    {"select-all", 1, 1, "select-all ID", cmdSelectAll},
    {"backspace", 1, 2, "backspace ID [COUNT]", cmdBackspace},
    {"expect-text", 2, 2, "expect-text ID TEXT", cmdExpectText},
    {"expect-first-shown", 2, 2, "expect-first-shown ID N", cmdExpectFirstShown},
    {"expect-focus", 1, 1, "expect-focus tabs|ID", cmdExpectFocus},
    {"expect-checked", 2, 2, "expect-checked ID 0|1", cmdExpectChecked},
    {"expect-enabled", 2, 2, "expect-enabled ID 0|1", cmdExpectEnabled},
    // tooltip_commands.cpp: tips and marks
    {"expect-tooltip", 2, 2, "expect-tooltip ID TEXT", cmdExpectTooltip},
    {"expect-mark", 2, 2, "expect-mark ID shown|hidden", cmdExpectMark},
    {"expect-fit", 0, 0, "expect-fit", cmdExpectFit},
    {"scroll", 2, 2, "scroll ID CODE", cmdScroll},
    {"scroll-repeat", 3, 3, "scroll-repeat ID CODE COUNT", cmdScroll},
    // list_commands.cpp: lists
    {"choose", 2, 2, "choose ID INDEX", cmdChoose},
    {"choose-async", 2, 2, "choose ID INDEX", cmdChoose},
    {"expect-selection", 2, 2, "expect-selection ID INDEX|none", cmdExpectSelection},
    {"expect-count", 2, 2, "expect-count ID N", cmdExpectCount},
    {"expect-item", 3, 3, "expect-item ID INDEX TEXT", cmdExpectItem},
    {"expect-list-rows", 2, 2, "expect-list-rows ID N", cmdExpectListRows},
    {"expect-list-cell", 4, 4, "expect-list-cell ID ROW COLUMN TEXT", cmdExpectListCell},
    {"expect-list-selected", 2, 2, "expect-list-selected ID ROW|none", cmdExpectListSelected},
    {"select-list-row", 2, 2, "select-list-row ID ROW", cmdSelectListRow},
    {"select-rows", 3, 9, "select-rows ID ROW...", cmdSelectRows},
    {"expect-list-column", 3, 3, "expect-list-column ID COLUMN \"a|b|...\"", cmdExpectListColumn},
    {"click-header", 2, 2, "click-header ID COLUMN", cmdClickHeader},
    {"expect-header-sort", 3, 3, "expect-header-sort ID COLUMN up|down|none", cmdExpectHeaderSort},
    // box_commands.cpp: message boxes
    {"expect-msgbox", 1, 1, "expect-msgbox TEXT", cmdExpectMsgbox},
    {"expect-msgbox-icon", 1, 1, "expect-msgbox-icon stop|question|exclamation|information|none", cmdExpectMsgboxIcon},
    {"answer", 1, 1, "answer yes|no|ok|cancel", cmdAnswer},
    // file_dialog_commands.cpp: file dialogs
    {"expect-filename", 1, 1, "expect-filename TEXT", cmdExpectFilename},
    {"set-filename", 1, 1, "set-filename PATH", cmdSetFilename},
    {"set-filename-full", 1, 1, "set-filename-full RELATIVE_PATH", cmdSetFilenameFull},
    {"expect-filter-selected", 1, 1, "expect-filter-selected INDEX", cmdExpectFilterSelected},
    {"expect-filter-text", 2, 2, "expect-filter-text INDEX TEXT", cmdExpectFilterText},
    {"expect-filter-count", 1, 1, "expect-filter-count N", cmdExpectFilterCount},
    {"expect-dialog-entries", 1, 1, "expect-dialog-entries N", cmdExpectDialogEntries},
    {"dialog-ok", 0, 0, "dialog-ok | dialog-cancel", cmdDialogButton},
    {"dialog-cancel", 0, 0, "dialog-ok | dialog-cancel", cmdDialogButton},
    // file_commands.cpp: files
    {"write-file", 1, kAny, "write-file PATH HEX...", cmdWriteFile},
    {"write-file-same-time", 1, kAny, "write-file-same-time PATH HEX...", cmdWriteFileSameTime},
    {"delete-file", 1, 1, "delete-file PATH", cmdDeleteFile},
    {"expect-file", 1, kAny, "expect-file PATH HEX...", cmdExpectFile},
    {"expect-file-bytes", 2, kAny, "expect-file-bytes PATH OFFSET HEX...", cmdExpectFileBytes},
    {"expect-file-size", 2, 2, "expect-file-size PATH N", cmdExpectFileSize},
    {"expect-no-file", 1, 1, "expect-no-file PATH", cmdExpectNoFile},
    {"expect-tree", 2, 2, "expect-tree DIR \"file|dir/file|...\"", cmdExpectTree},
    {"hold-file", 1, 1, "hold-file PATH", cmdHoldFile},
    {"hold-file-shared", 1, 1, "hold-file-shared PATH", cmdHoldFile},
    {"release-file", 1, 1, "release-file PATH", cmdReleaseFile},
    {"set-readonly", 1, 1, "set-readonly|set-writable PATH", cmdSetWritability},
    {"set-writable", 1, 1, "set-readonly|set-writable PATH", cmdSetWritability},
    {"fill-disk", 1, 1, "fill-disk PATH", cmdFillDisk},
    {"mkdir", 1, 1, "mkdir PATH", cmdMkdir},
    {"copy-file", 2, 2, "copy-file FROM|@driver/FILE TO", cmdCopyFile},
    // bench_commands.cpp: the bench
    {"bench-startup", 3, 3, "bench-startup EXE CAPTION RUNS", cmdBenchStartup},
    {"bench-switch", 3, 3, "bench-switch TAB_A TAB_B COUNT", cmdBenchSwitch},
    {"bench-boxes", 5, 5, "bench-boxes ID_A CAPTION_A ID_B CAPTION_B COUNT", cmdBenchBoxes},
    {"usage-mark", 0, 0, "usage-mark", cmdUsageMark},
    {"expect-usage-near-mark", 1, 1, "expect-usage-near-mark MAX_GROWTH_KIB", cmdExpectUsageNearMark},
    // screenshot_commands.cpp: screenshots and debugging
    {"screenshot", 1, 1, "screenshot NAME", cmdScreenshot},
    {"sleep", 1, 1, "sleep SECONDS", cmdSleep},
    {"echo", 0, kAny, "", cmdEcho},
};

void run(Driver& d, const Line& l) {
    const std::string& name = l.args[0];
    const Command* cmd = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return name == c.name; });
    if (cmd == std::end(kCommands)) fail("unknown command " + quote(name));
    Call call{name, l.args, l.args.size() - 1};
    if (call.argc < cmd->minArgs || call.argc > cmd->maxArgs) fail(format("usage: %s", cmd->usage));
    cmd->run(d, call);
    d.recordSeen();
}

int runScenario(const char* file) {
    std::string path = winPath(file);
    std::vector<unsigned char> bytes;
    Driver d;
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    d.exeDir = self;
    d.exeDir.erase(d.exeDir.rfind('\\') + 1);
    if (!readFile(path, bytes)) {
        printf("FAIL cannot read scenario %s\n", file);
        return 2;
    }
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    std::vector<Line> lines;
    std::string text(bytes.begin(), bytes.end());
    int number = 0;
    for (size_t pos = 0; pos <= text.size();) {
        size_t nl = text.find('\n', pos);
        std::string raw = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? text.size() + 1 : nl + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        try {
            Line l{number, raw, tokenize(raw)};
            if (!l.args.empty()) lines.push_back(l);
        } catch (const Failure& e) {
            printf("FAIL %s:%d: %s\n  %s\n", name.c_str(), number, raw.c_str(), e.what());
            return 1;
        }
    }
    // ${GAME} in an argument stands for the game directory's full path, which is new
    // for every run (the dialogs report full paths).
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    std::string game = cwd;
    if (!game.empty() && game.back() == '\\') game.pop_back();
    for (Line& l : lines)
        for (std::string& arg : l.args)
            for (size_t at; (at = arg.find("${GAME}")) != std::string::npos;) arg.replace(at, 7, game);
    for (const Line& l : lines) {
        try {
            run(d, l);
            printf("ok   %s:%d: %s\n", name.c_str(), l.number, l.text.c_str());
            fflush(stdout);
        } catch (const Failure& e) {
            printf("FAIL %s:%d: %s\n  %s\n", name.c_str(), l.number, l.text.c_str(), e.what());
            fflush(stdout);
            d.cleanup();
            return 1;
        }
    }
    if (d.running()) printf("note: the program was still running at the end of the scenario; stopped it\n");
    d.cleanup();
    printf("PASS %s (%zu commands)\n", name.c_str(), lines.size());
    return 0;
}

}  // namespace
}  // namespace kestrane

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // plain \n lines for the harness
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc != 2) {
        printf("usage: kdriver SCENARIO_FILE   (run in the game directory)\n");
        return 2;
    }
    return kestrane::runScenario(argv[1]);
}
