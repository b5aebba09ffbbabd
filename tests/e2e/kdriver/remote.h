// Memory inside the program under test, for messages that carry pointers, and the
// probe (kdprobe.dll) run there for what only that process can read.
#pragma once

#include "driver.h"
#include "probe.h"

namespace kestrane {

// A block of the program's memory, freed when it goes.
struct Remote {
    HANDLE process;
    void* address;
    Remote(HANDLE p, size_t size);
    ~Remote();
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;
    void write(const void* data, size_t n, size_t offset = 0);
    void read(void* data, size_t n, size_t offset = 0);
    LPARAM at(size_t offset = 0) { return reinterpret_cast<LPARAM>(static_cast<char*>(address) + offset); }
};

// A control's item text asked with `msg`: the item and its text buffer lie
// inside the program (the message carries pointers). False when the control
// said no.
template <typename Item>
bool remoteItemText(Driver& d, HWND control, UINT msg, WPARAM index, Item item, std::string& text) {
    const size_t textChars = 512;
    Remote mem(d.proc.hProcess, sizeof(Item) + textChars * sizeof(wchar_t));
    item.pszText = reinterpret_cast<LPWSTR>(mem.at(sizeof(Item)));
    item.cchTextMax = textChars;
    wchar_t buffer[textChars] = {};
    mem.write(&item, sizeof item);
    mem.write(buffer, sizeof buffer, sizeof(Item));
    const bool answered = d.send(control, msg, index, mem.at()) != 0;
    mem.read(buffer, sizeof buffer, sizeof(Item));
    buffer[textChars - 1] = 0;
    text = narrow(buffer);
    return answered;
}

// A text the control copies into a buffer the message's lParam points to, inside
// the program: a status bar part's (SB_GETTEXTW, wParam the part), say. Up to
// 511 characters.
std::string remoteBufferText(Driver& d, HWND control, UINT msg, WPARAM wp);

// Runs the probe's query `op` on window `h` inside the program and returns its answer.
probe::Block runProbe(Driver& d, probe::Op op, HWND h);

}  // namespace kestrane
