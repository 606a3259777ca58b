// The library's misuse reports, as the product's own throw helpers make them:
// a Fault (what every command's failure handler reports) carrying the
// library's message with its numbers filled in; running out of memory stays
// std::bad_alloc. A program of its own rather than a GoogleTest case: the test
// framework's streams need throw helpers the product does not define, and
// linking the library's own beside them fails.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Fault.h"

int main() {
    struct Case {
        const char* what;
        void (*misuse)();
        const char* message;  // a part of what() that must appear; nullptr: must be std::bad_alloc
    };
    const Case cases[] = {
        {"substr past the end", [] { (void)std::string("abc").substr(5); },
         "out of range: basic_string::substr: __pos (which is 5) > this->size() (which is 3)"},
        {"vector at", [] { (void)std::vector<int>(2).at(7); }, "(which is 7) >= this->size() (which is 2)"},
        {"number from text", [] { (void)std::stoi("none"); }, "invalid argument: stoi"},
        {"number too large", [] { (void)std::stoi("99999999999"); }, "out of range: stoi"},
        {"string too long", [] { std::string s; s.reserve(s.max_size() + 1); }, "length error: "},
        {"vector too long", [] { (void)std::vector<int>(std::vector<int>().max_size() + 1); },
         "length error: cannot create std::vector larger than max_size()"},
        {"allocation too large",
         [] { (void)std::allocator<int>().allocate(std::allocator_traits<std::allocator<int>>::max_size({}) + 1); },
         nullptr},
    };
    int failed = 0;
    for (const Case& c : cases) {
        std::string got = "nothing thrown";
        bool ok = false;
        try {
            c.misuse();
        } catch (const vantrel::Fault& e) {
            got = e.what();
            ok = c.message && got.find(c.message) != std::string::npos;
        } catch (const std::bad_alloc&) {
            got = "std::bad_alloc";
            ok = !c.message;
        } catch (...) {
            got = "another exception";
        }
        std::printf("%s %s: %s\n", ok ? "ok  " : "FAIL", c.what, got.c_str());
        failed += !ok;
    }
    return failed == 0 ? 0 : 1;
}
