// The standard library's containers and strings report a misuse (an index out
// of range, a size past the limit) by calling these std::__throw_* helpers.
// Defined here, in the exe itself, they are the ones the linker takes, and
// the library's own file of them is never linked: that file would bring in
// the std::logic_error family with its reference-counted string, about 50 KB
// of the exe for messages nobody sees unless the program is at fault.
//
// Each helper throws what the program already handles: std::bad_alloc and
// the other type errors as before, a Fault carrying the library's message
// for the rest, caught and reported like any other failure of a command.
// Only the helpers the product's code reaches are defined; if a new use of
// the library needs another, the link fails with a duplicate definition
// rather than silently changing behaviour.
#include <cstdarg>
#include <new>
#include <string>
#include <typeinfo>

#include "platform/Fault.h"

namespace {

[[noreturn]] void Throw(const char* kind, const char* message) {
    throw vantrel::Fault(std::string(kind) + ": " + (message ? message : ""));
}

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* message) { Throw("logic error", message); }
void __throw_invalid_argument(const char* message) { Throw("invalid argument", message); }
void __throw_length_error(const char* message) { Throw("length error", message); }
void __throw_out_of_range(const char* message) { Throw("out of range", message); }

// The library's formats use only %s, %zu and %% (the same subset its own
// formatter understands).
void __throw_out_of_range_fmt(const char* format, ...) {
    std::string message;
    va_list args;
    va_start(args, format);
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            const char* text = va_arg(args, const char*);
            message += text ? text : "";
            ++p;
        } else if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
            message += std::to_string(va_arg(args, size_t));
            p += 2;
        } else if (p[0] == '%' && p[1] == '%') {
            message += '%';
            ++p;
        } else {
            message += *p;
        }
    }
    va_end(args);
    Throw("out of range", message.c_str());
}

}  // namespace std
