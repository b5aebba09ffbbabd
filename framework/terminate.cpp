// Replacements for two parts of libstdc++'s runtime that a windowed program
// pays for in size and never uses.
#include <cstdlib>
#include <exception>
#include <new>

#if defined(__GLIBCXX__) && defined(_WIN32)
// The default terminate handler demangles the exception's type name for a
// console the program does not have; that demangler is a sixth of the exe.
// No exception ever reaches terminate here (the dispatcher catches them all),
// so the plain abort is all the handler needs to do.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The library's own throw helpers build std::logic_error and its kin, whose
// copy-on-write strings bring a second string implementation with them (a
// tenth of the exe). The dispatcher tells only memory failures from the rest,
// so out of memory stays std::bad_alloc and every other library failure is
// one plain exception with the same message box.
namespace {
struct LibraryFailure : std::exception {
    const char* what() const noexcept override { return "library failure"; }
};
[[noreturn]] void fail() { throw LibraryFailure(); }
}  // namespace

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_length_error(const char*) { fail(); }
void __throw_logic_error(const char*) { fail(); }
void __throw_out_of_range(const char*) { fail(); }
void __throw_out_of_range_fmt(const char*, ...) { fail(); }
void __throw_invalid_argument(const char*) { fail(); }
void __throw_runtime_error(const char*) { fail(); }
void __throw_range_error(const char*) { fail(); }
void __throw_overflow_error(const char*) { fail(); }
void __throw_underflow_error(const char*) { fail(); }
void __throw_domain_error(const char*) { fail(); }
void __throw_system_error(int) { fail(); }
void __throw_bad_function_call() { fail(); }
void __throw_bad_cast() { fail(); }
void __throw_bad_typeid() { fail(); }
void __throw_bad_exception() { fail(); }
}  // namespace std
#endif
