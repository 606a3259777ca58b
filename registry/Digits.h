// Whole numbers as digits, formatted here rather than by the C runtime's
// printf family: MinGW links its own copy of that into the exe (some 30 KB),
// and these few texts need none of it.
#pragma once

#include <string>

namespace vantrel {

// The number in the base (10 or 16, upper-case letters), with leading
// zeros to at least `width` digits: Digits(7, 2) is "07", Digits(255, 4, 16) "00FF".
inline std::string Digits(unsigned long long value, int width, unsigned base = 10) {
    std::string text;
    do {
        text.insert(text.begin(), "0123456789ABCDEF"[value % base]);
        value /= base;
    } while (value != 0);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

}  // namespace vantrel
