// Message tables: each window class lists (message, notification code,
// control identifiers) -> handler, and chains to its base class's table.
// A handler that returns bool may answer false ("not mine"): the search then
// goes on down the rows and into the base tables.
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
    Id,     // the control's own identifier
};

// For a row that takes every control's command.
constexpr int kAnyControl = -1;

struct MessageEntry;
// Runs the row's handler; false when the handler said "not mine".
using Invoker = bool (*)(Window* self, Message& m, const MessageEntry& e);

struct MessageEntry {
    UINT message;
    int code;      // notification code for WM_COMMAND, -1 for any
    int firstId;   // control identifiers; kAnyControl for any
    int lastId;
    Arg arg;
    Invoker invoke;

    bool matches(const Message& m) const;
    int argumentFor(const Message& m) const;
};

struct MessageTable {
    const MessageTable* base;
    std::vector<MessageEntry> entries;
};

namespace detail {

template <typename T>
struct MemberOf;
template <typename C, typename R, typename... A>
struct MemberOf<R (C::*)(A...)> {
    using type = C;
};

// A handler's answer: what a bool handler returned, true for any other.
template <typename Call>
bool handled(Call&& call) {
    if constexpr (std::is_same_v<decltype(call()), bool>) {
        return call();
    } else {
        call();
        return true;
    }
}

// Calls a handler: a member of the window's class or a free routine, taking
// nothing, the message, or one integer argument.
template <auto F>
bool invoke(Window* self, Message& m, const MessageEntry& e) {
    using FT = decltype(F);
    if constexpr (std::is_member_function_pointer_v<FT>) {
        using C = typename MemberOf<FT>::type;
        C* obj = static_cast<C*>(self);
        if constexpr (std::is_invocable_v<FT, C*>)
            return handled([&] { return (obj->*F)(); });
        else if constexpr (std::is_invocable_v<FT, C*, Message&>)
            return handled([&] { return (obj->*F)(m); });
        else
            return handled([&] { return (obj->*F)(e.argumentFor(m)); });
    } else {
        if constexpr (std::is_invocable_v<FT>)
            return handled([&] { return F(); });
        else
            return handled([&] { return F(e.argumentFor(m)); });
    }
}

}  // namespace detail

// Table rows, written as plainly as the tables they stand for.
template <auto F>
MessageEntry onMessage(UINT message) {
    return {message, -1, kAnyControl, kAnyControl, Arg::None, &detail::invoke<F>};
}

template <auto F>
MessageEntry onCommand(int code, int id, Arg arg = Arg::None) {
    return {WM_COMMAND, code, id, id, arg, &detail::invoke<F>};
}

template <auto F>
MessageEntry onCommandRange(int code, int firstId, int lastId, Arg arg) {
    return {WM_COMMAND, code, firstId, lastId, arg, &detail::invoke<F>};
}

template <auto F>
MessageEntry onClicked(int id, Arg arg = Arg::None) {
    return onCommand<F>(BN_CLICKED, id, arg);
}

}  // namespace kestrane::fw

#endif
