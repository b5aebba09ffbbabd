// Message tables: each window class lists (message, notification code,
// control identifiers) -> handler, and chains to its base class's table.
#ifndef KESTRANE_MESSAGE_TABLE_H
#define KESTRANE_MESSAGE_TABLE_H

#include <windows.h>

#include <type_traits>
#include <vector>

namespace kestrane::fw {

class Window;

// One window message as it arrives; a handler may set `result`.
struct Message {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
};

// What a handler taking one int receives for the control that sent the message.
enum class Arg {
    None,   // the handler takes no argument
    Index,  // id - firstId
    Mask,   // 1 << (id - firstId)
    Value,  // the entry's fixed value
};

struct MessageEntry;
using Invoker = void (*)(Window* self, Message& m, const MessageEntry& e);

struct MessageEntry {
    UINT message;
    int code;      // notification code for WM_COMMAND, -1 for any
    int firstId;   // control identifiers; -1 for any
    int lastId;
    Arg arg;
    int value;
    Invoker invoke;

    bool matches(const Message& m) const;
    int argumentFor(const Message& m) const;
};

struct MessageTable {
    const MessageTable* base;
    std::vector<MessageEntry> entries;
    const MessageEntry* find(const Message& m) const;
};

namespace detail {

template <typename T>
struct MemberOf;
template <typename C, typename R, typename... A>
struct MemberOf<R (C::*)(A...)> {
    using type = C;
};

// Calls a handler: a member of the window's class or a free routine, taking
// nothing, the message, or one integer argument.
template <auto F>
void invoke(Window* self, Message& m, const MessageEntry& e) {
    using FT = decltype(F);
    if constexpr (std::is_member_function_pointer_v<FT>) {
        using C = typename MemberOf<FT>::type;
        C* obj = static_cast<C*>(self);
        if constexpr (std::is_invocable_v<FT, C*>)
            (obj->*F)();
        else if constexpr (std::is_invocable_v<FT, C*, Message&>)
            (obj->*F)(m);
        else
            (obj->*F)(e.argumentFor(m));
    } else {
        if constexpr (std::is_invocable_v<FT>)
            F();
        else
            F(e.argumentFor(m));
    }
}

}  // namespace detail

// Table rows, written as plainly as the tables they stand for.
template <auto F>
MessageEntry onMessage(UINT message) {
    return {message, -1, -1, -1, Arg::None, 0, &detail::invoke<F>};
}

template <auto F>
MessageEntry onCommand(int code, int id, Arg arg = Arg::None, int value = 0) {
    return {WM_COMMAND, code, id, id, arg, value, &detail::invoke<F>};
}

template <auto F>
MessageEntry onCommandRange(int code, int firstId, int lastId, Arg arg) {
    return {WM_COMMAND, code, firstId, lastId, arg, 0, &detail::invoke<F>};
}

template <auto F>
MessageEntry onClicked(int id, Arg arg = Arg::None, int value = 0) {
    return onCommand<F>(BN_CLICKED, id, arg, value);
}

template <auto F>
MessageEntry onClickedRange(int firstId, int lastId, Arg arg) {
    return onCommandRange<F>(BN_CLICKED, firstId, lastId, arg);
}

}  // namespace kestrane::fw

#endif
