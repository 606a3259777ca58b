#include "platform/Wording.h"

#include "platform/WholeFile.h"

namespace vantrel {

std::string FileErrorReason(FileSystem& files, long code) {
    switch (code) {
    case filecode::kIsAFolder: return "It is a folder, not a file.";
    case filecode::kNotAPlainFile: return "It is a device or a link, not a plain file.";
    default: break;
    }
    return "Error " + std::to_string(code) + ": " + files.ErrorText(code);
}

std::string Stamp(const std::tm& t, char separator) {
    return Digits(static_cast<unsigned>(t.tm_year + 1900), 4) + "-" + Digits(static_cast<unsigned>(t.tm_mon + 1), 2) +
           "-" + Digits(static_cast<unsigned>(t.tm_mday), 2) + " " + Digits(static_cast<unsigned>(t.tm_hour), 2) +
           separator + Digits(static_cast<unsigned>(t.tm_min), 2) + separator + Digits(static_cast<unsigned>(t.tm_sec), 2);
}

std::string Joined(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (const std::string_view piece : pieces) size += piece.size();
    std::string text;
    text.reserve(size);
    for (const std::string_view piece : pieces) text.append(piece);
    return text;
}

std::string ErrorCode(long code) {
    return Joined({" (error ", Digits(static_cast<unsigned long>(code), 1), ")"});
}

std::string SettingsCount(std::size_t n) {
    return n == 1 ? std::string("1 setting was") : std::to_string(n) + " settings were";
}

std::string ListedLines(const std::string& heading, const std::vector<std::string>& lines) {
    constexpr std::size_t kShown = 20;
    std::string text = "\n\n" + heading + "\n\n";
    for (std::size_t i = 0; i < lines.size() && i < kShown; ++i) text += lines[i] + "\n";
    if (lines.size() > kShown) text += "(and " + std::to_string(lines.size() - kShown) + " more)\n";
    return text;
}

}  // namespace vantrel
