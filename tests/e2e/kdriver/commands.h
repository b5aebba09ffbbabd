// The scenario commands, one file for each section of tests/e2e/README.md; the
// table in scenario.cpp gives each command's name and argument count.
#pragma once

#include "driver.h"

namespace kestrane {

// One line of a scenario as a command sees it: args[0] is the command's name.
struct Call {
    const std::string& name;
    const std::vector<std::string>& args;
    size_t argc;
    const std::string& a(size_t i) const { return args[i]; }
};

using CommandFn = void (*)(Driver&, const Call&);

// process_commands.cpp: the process and its windows
void cmdTimeout(Driver&, const Call&);
void cmdStart(Driver&, const Call&);
void cmdStartCopy(Driver&, const Call&);
void cmdWaitWindow(Driver&, const Call&);
void cmdExpectNoWindow(Driver&, const Call&);
void cmdExpectNeverShown(Driver&, const Call&);
void cmdExpectCaption(Driver&, const Call&);
void cmdExpectStyle(Driver&, const Call&);
void cmdWaitExit(Driver&, const Call&);
void cmdExpectRunning(Driver&, const Call&);
void cmdKey(Driver&, const Call&);
void cmdCloseBox(Driver&, const Call&);
void cmdDropFiles(Driver&, const Call&);
void cmdSysCommand(Driver&, const Call&);
void cmdExpectMinimized(Driver&, const Call&);
void cmdSwitchAway(Driver&, const Call&);
void cmdSwitchBack(Driver&, const Call&);
void cmdCommand(Driver&, const Call&);

// sheet_commands.cpp: the sheet, its tabs and its window menu
void cmdExpectTabs(Driver&, const Call&);
void cmdExpectActiveTab(Driver&, const Call&);
void cmdExpectPage(Driver&, const Call&);
void cmdSelectTab(Driver&, const Call&);
void cmdExpectSysmenu(Driver&, const Call&);
void cmdExpectNoButton(Driver&, const Call&);
void cmdExpectStatus(Driver&, const Call&);
void cmdClickStatus(Driver&, const Call&);
void clickTab(Driver& d, HWND tabs, int n);

// control_commands.cpp: buttons, edit fields, the focus, texts that fit, scroll bars
void cmdClick(Driver&, const Call&);
void cmdType(Driver&, const Call&);
void cmdPaste(Driver&, const Call&);
void cmdSelectAll(Driver&, const Call&);
void cmdBackspace(Driver&, const Call&);
void cmdExpectText(Driver&, const Call&);
void cmdExpectFirstShown(Driver&, const Call&);
void cmdExpectFocus(Driver&, const Call&);
void cmdExpectChecked(Driver&, const Call&);
void cmdExpectEnabled(Driver&, const Call&);
void cmdExpectFit(Driver&, const Call&);
void cmdScroll(Driver&, const Call&);
void expectAnswer(Driver& d, const Call& k, const char* what, UINT msg, const std::string& want);

// list_commands.cpp: combo boxes and list-views
void cmdChoose(Driver&, const Call&);
void cmdExpectSelection(Driver&, const Call&);
void cmdExpectCount(Driver&, const Call&);
void cmdExpectItem(Driver&, const Call&);
void cmdExpectListRows(Driver&, const Call&);
void cmdExpectListCell(Driver&, const Call&);
void cmdExpectListSelected(Driver&, const Call&);
void cmdSelectListRow(Driver&, const Call&);
void cmdClickHeader(Driver&, const Call&);
void cmdExpectHeaderSort(Driver&, const Call&);
void cmdExpectListColumn(Driver&, const Call&);
void cmdSelectRows(Driver&, const Call&);
std::string comboItem(Driver& d, HWND combo, int index);

// box_commands.cpp: message boxes
void cmdExpectMsgbox(Driver&, const Call&);
void cmdExpectMsgboxIcon(Driver&, const Call&);
void cmdAnswer(Driver&, const Call&);

// file_dialog_commands.cpp: the Open and Save As dialogs
void cmdExpectFilename(Driver&, const Call&);
void cmdSetFilename(Driver&, const Call&);
void cmdSetFilenameFull(Driver&, const Call&);
void cmdExpectFilterSelected(Driver&, const Call&);
void cmdExpectFilterText(Driver&, const Call&);
void cmdExpectFilterCount(Driver&, const Call&);
void cmdExpectDialogEntries(Driver&, const Call&);
void cmdDialogButton(Driver&, const Call&);

// file_commands.cpp: files and folders
void cmdWriteFile(Driver&, const Call&);
void cmdWriteFileSameTime(Driver&, const Call&);
void cmdDeleteFile(Driver&, const Call&);
void cmdExpectFile(Driver&, const Call&);
void cmdExpectFileBytes(Driver&, const Call&);
void cmdExpectFileSize(Driver&, const Call&);
void cmdExpectNoFile(Driver&, const Call&);
void cmdExpectTree(Driver&, const Call&);
void cmdHoldFile(Driver&, const Call&);
void cmdReleaseFile(Driver&, const Call&);
void cmdSetWritability(Driver&, const Call&);
void cmdFillDisk(Driver&, const Call&);
void cmdMkdir(Driver&, const Call&);
void cmdCopyFile(Driver&, const Call&);
void copyFile(const std::string& from, const std::string& to);
bool readFile(const std::string& path, std::vector<unsigned char>& out);

// bench_commands.cpp: timings and resource use for bench/run-bench.sh
void cmdBenchStartup(Driver&, const Call&);
void cmdBenchSwitch(Driver&, const Call&);
void cmdBenchBoxes(Driver&, const Call&);
void cmdUsageMark(Driver&, const Call&);
void cmdExpectUsageNearMark(Driver&, const Call&);

// tooltip_commands.cpp: the tips and marks of controls whose value has a finding
void cmdExpectTooltip(Driver&, const Call&);
void cmdExpectMark(Driver&, const Call&);

// screenshot_commands.cpp: screenshots, and pauses and notes for debugging
void cmdScreenshot(Driver&, const Call&);
void cmdSleep(Driver&, const Call&);
void cmdEcho(Driver&, const Call&);

}  // namespace kestrane
