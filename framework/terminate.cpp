// libstdc++'s default terminate handler demangles the exception's type name for
// a console the program does not have; that demangler is a sixth of the exe.
// No exception ever reaches terminate here (the dispatcher catches them all),
// so the plain abort is all the handler needs to do.
#include <cstdlib>

#if defined(__GLIBCXX__) && defined(_WIN32)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
