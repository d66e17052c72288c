// The C++ library's default terminate handler writes the type of an exception that nothing
// caught, demangled, to the standard error stream, and then aborts. The clock has no console to
// write to, and the demangler would be some 50 KB of the program; this handler only aborts, as
// that one ends. Linked into the program itself (not from a library), so the linker takes it
// before the C++ library's and leaves the demangler out. MinGW only: MSVC's library has no such
// handler.
#include <cstdlib>
#include <exception>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
#endif
