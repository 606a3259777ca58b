// Names as the registry compares them: key and value names match without
// regard to ASCII letter case (other characters compare exactly), and one
// trailing backslash names the same key. Upper case is the folded form, as
// the registry orders subkeys by their upper-cased names.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

inline char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string FoldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = FoldCase(c);
    return out;
}

inline bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

inline std::string_view WithoutTrailingBackslash(std::string_view path) {
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return path;
}

// The form under which two key paths that name the same key are equal.
inline std::string KeyIdentity(std::string_view path) {
    return FoldCase(WithoutTrailingBackslash(path));
}

inline bool SameKey(std::string_view a, std::string_view b) {
    return SameName(WithoutTrailingBackslash(a), WithoutTrailingBackslash(b));
}

}  // namespace vantrel
