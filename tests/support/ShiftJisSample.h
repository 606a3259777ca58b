// A few characters of Shift-JIS (code page 932), enough to stand for a
// Japanese system's ANSI code page: two of them have 0x5C, the backslash, as
// their second byte. Characters it lacks become U+30FB one way and '?' the
// other, as Windows converts them.
#pragma once

#include <string>
#include <string_view>

#include "registry/CodePage.h"

namespace vantrel::testing {

class ShiftJisSample : public CodePage {
public:
    std::u16string ToWide(std::string_view ansi) const override {
        std::u16string wide;
        for (std::size_t i = 0; i < ansi.size(); ++i) {
            const auto lead = static_cast<unsigned char>(ansi[i]);
            if (lead < 0x80) {
                wide.push_back(lead);
            } else if (IsLead(lead) && i + 1 < ansi.size()) {
                const auto trail = static_cast<unsigned char>(ansi[++i]);
                char16_t unit = kMissing;
                for (const Pair& p : kPairs) {
                    if (p.lead == lead && p.trail == trail) unit = p.unit;
                }
                wide.push_back(unit);
            } else {
                wide.push_back(kMissing);
            }
        }
        return wide;
    }

    std::string ToAnsi(std::u16string_view wide) const override {
        std::string ansi;
        for (const char16_t unit : wide) {
            if (unit < 0x80) {
                ansi.push_back(static_cast<char>(unit));
                continue;
            }
            bool found = false;
            for (const Pair& p : kPairs) {
                if (p.unit != unit) continue;
                ansi += {static_cast<char>(p.lead), static_cast<char>(p.trail)};
                found = true;
            }
            if (!found) ansi.push_back('?');
        }
        return ansi;
    }

private:
    struct Pair {
        unsigned char lead, trail;
        char16_t unit;
    };
    static constexpr Pair kPairs[] = {
        {0x83, 0x5C, u'\u30BD'},  // katakana so
        {0x95, 0x5C, u'\u8868'},  // "table"
        {0x83, 0x74, u'\u30D5'},  // katakana fu
        {0x83, 0x67, u'\u30C8'},  // katakana to
    };
    static constexpr char16_t kMissing = u'\u30FB';
    static bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
};

}  // namespace vantrel::testing
