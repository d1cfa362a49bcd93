// The C++ runtime pieces that the plugin's code reaches, in their smallest
// form. The plugin is built without exceptions, so the library's throwing
// versions, and the unwinder, demangler and thread library they bring with
// them, stay out of the DLL. The tests link the plugin with the full runtime.
//
// Running out of memory, or a container asked for more than it can hold,
// ends the process, as the unhandled exception it used to be did.
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void RuntimeFailure() { abort(); }

void* Allocate(std::size_t size) { return malloc(size ? size : 1); }

}  // namespace

void* operator new(std::size_t size) {
    if (void* block = Allocate(size)) return block;
    RuntimeFailure();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, std::size_t) noexcept { free(block); }
void operator delete[](void* block, std::size_t) noexcept { free(block); }

// What the standard containers call where they would throw, and the tag of
// the allocations that may fail (the library's own would bring its
// new-handler along, and unwind tables with it).
namespace std {
const nothrow_t nothrow{};
void __throw_bad_alloc() { RuntimeFailure(); }
void __throw_bad_array_new_length() { RuntimeFailure(); }
void __throw_length_error(const char*) { RuntimeFailure(); }
void __throw_logic_error(const char*) { RuntimeFailure(); }
void __throw_out_of_range_fmt(const char*, ...) { RuntimeFailure(); }
}  // namespace std
