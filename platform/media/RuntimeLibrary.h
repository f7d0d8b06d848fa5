#pragma once

#include <dlfcn.h>

#include <initializer_list>

namespace marlo {

// Opens the first of the given shared-library names that loads; nullptr when none does. Used
// for libraries loaded on first use instead of at start-up.
inline void* openRuntimeLibrary(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL)) {
            return library;
        }
    }
    return nullptr;
}

// Looks `name` up in `library` into `function`; false when the library lacks it.
template <typename F>
bool bindRuntimeSymbol(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

}  // namespace marlo
