// The tips and marks of controls whose value has a finding: a tip's text lies
// in the tooltip window, asked with a tool description and a buffer inside the
// program; a mark is found by the property the program sets on its control.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "commands.h"
#include "remote.h"

namespace kestrane {

namespace {

struct ToolTips {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK collectToolTip(HWND h, LPARAM p) {
    ToolTips* t = reinterpret_cast<ToolTips*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char cls[32] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (pid == t->process && lstrcmpiA(cls, "tooltips_class32") == 0) t->found.push_back(h);
    return TRUE;
}

// The control's tip as the program's tooltip window holds it: "" for none.
std::string tipText(Driver& d, HWND control) {
    ToolTips tips{d.proc.dwProcessId, {}};
    EnumWindows(collectToolTip, reinterpret_cast<LPARAM>(&tips));
    const size_t chars = 1024;
    for (HWND tip : tips.found) {
        TTTOOLINFOW tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = GetParent(control);
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        Remote mem(d.proc.hProcess, sizeof tool + chars * sizeof(wchar_t));
        tool.lpszText = reinterpret_cast<LPWSTR>(mem.at(sizeof tool));
        std::vector<wchar_t> buffer(chars, 0);
        mem.write(&tool, sizeof tool);
        mem.write(buffer.data(), chars * sizeof(wchar_t), sizeof tool);
        d.send(tip, TTM_GETTEXTW, chars, mem.at());
        mem.read(buffer.data(), chars * sizeof(wchar_t), sizeof tool);
        buffer[chars - 1] = 0;
        const std::string text = narrow(buffer.data());
        if (!text.empty()) return text;
    }
    return "";
}

}  // namespace

// Passes when TEXT is one of the tip's lines, or is "" and the control has no tip.
void cmdExpectTooltip(Driver& d, const Call& k) {
    HWND c = d.control(k.a(1));
    const std::string& want = k.a(2);
    std::string seen;
    const bool found = d.waitFor(
        [&] {
            seen = tipText(d, c);
            if (want.empty()) return seen.empty();
            for (size_t start = 0; start <= seen.size();) {
                size_t end = seen.find('\n', start);
                if (end == std::string::npos) end = seen.size();
                if (seen.compare(start, end - start, want) == 0) return true;
                start = end + 1;
            }
            return false;
        },
        d.timeoutMs);
    if (!found)
        fail(format("tip of control %s: expected a line %s, seen %s", k.a(1).c_str(), quote(want).c_str(),
                    quote(seen).c_str()));
}

void cmdExpectMark(Driver& d, const Call& k) {
    HWND c = d.control(k.a(1));
    if (k.a(2) != "shown" && k.a(2) != "hidden") fail("expect-mark takes shown or hidden");
    d.expectValue(format("mark of control %s", k.a(1).c_str()), k.a(2), [&] {
        HWND mark = static_cast<HWND>(GetPropW(c, L"KestraneMark"));
        return mark && IsWindowVisible(mark) ? std::string("shown") : std::string("hidden");
    });
}

}  // namespace kestrane
