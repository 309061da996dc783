// The DLL's own entry and the little language support the module needs,
// linked into Ardelvine_Instr.gau alone.
//
// The module is built without the compiler's start files and without the
// C++ runtime library: those bring a thread library, thread-local storage
// and their system calls into any DLL, and Windows XP neither has all of
// those calls nor sets up thread-local storage for a library loaded with
// LoadLibrary. What they would supply, the module gets here: an entry that
// reports success, the allocation operators of the host-path builder, and
// number formatting and reading from the system's C runtime (msvcrt.dll).
// The module has no static constructors or destructors to run.
#include <windows.h>

#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" BOOL WINAPI ardelvine_dll_entry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// ---------------------------------------------------------------- allocation
// The module asks for memory only with new (std::nothrow) and gives it back
// with delete[]; both go to the C runtime's heap.

namespace std {
const nothrow_t nothrow{};
}  // namespace std

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

// ---------------------------------------------------------------- numbers as text
// The C++ library's headers route snprintf and strtod to the toolchain's own
// formatter, whose number conversion locks with critical sections and
// registers an exit handler in the process. The module formats and reads
// with msvcrt.dll's functions instead, as a program built for that Windows
// does.

// msvcrt.dll's own functions by their link names: the headers' snprintf and
// strtod are the routes this file replaces.
int __cdecl msvcrt_vsnprintf(char* buffer, std::size_t size, const char* format, va_list args) __asm__("__vsnprintf");
double __cdecl msvcrt_strtod(const char* text, char** end) __asm__("_strtod");

extern "C" {

// The C99 promise the module relies on: the text is always terminated,
// however much of it fits. The count is msvcrt's: -1 when the text was cut.
int __cdecl __mingw_vsnprintf(char* buffer, std::size_t size, const char* format, va_list args) {
    if (size == 0) return -1;
    const int written = msvcrt_vsnprintf(buffer, size, format, args);
    if (written < 0 || static_cast<std::size_t>(written) >= size) buffer[size - 1] = '\0';
    return written;
}

int __cdecl __mingw_snprintf(char* buffer, std::size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int written = __mingw_vsnprintf(buffer, size, format, args);
    va_end(args);
    return written;
}

double __cdecl __mingw_strtod(const char* text, char** end) { return msvcrt_strtod(text, end); }

}  // extern "C"
