// A function of a system library that is loaded the first time it is needed
// rather than with the program. The shell and common dialog libraries pull in
// many others, and nothing at start-up calls them: bound late, they cost
// start-up nothing. nullptr when the library or the function cannot be had,
// which callers take as a failed call.
#pragma once

#include <windows.h>

namespace vantrel {

template <class Function>
Function SystemFunction(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    if (!module) return nullptr;
    // Through the type that converts to any function pointer type.
    using Any = void (*)();
    return reinterpret_cast<Function>(reinterpret_cast<Any>(GetProcAddress(module, name)));
}

}  // namespace vantrel
