// A failure carrying its message. The program's own errors derive from it
// rather than from the library's std::runtime_error family, whose messages
// are kept in a second, reference-counted string type that the product would
// otherwise have to carry whole (about 50 KB of the exe); the library's own
// throws are routed here too (ui/win32/LibraryThrows.cpp).
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace vantrel {

class Fault : public std::exception {
public:
    explicit Fault(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace vantrel
