#include "app/Report.h"

#include "app/Controls.h"

namespace vantrel {

const char* const kAppliedMessage =
    "All changes applied. Most changes will not be applied until you log off of Windows.";
const char* const kBlankFolderMessage = "You Cannot save into a blank directory";
const char* const kBlankFolderTitle = "Blank Directory";
const char* const kPartlyAppliedTitle = "Some Changes Were Not Applied";

namespace {
const char* const kOthersApplied =
    "All other changes were applied. Most changes will not be applied until you log off of Windows.";
}  // namespace

std::string RefusedReason(FileSystem& files, long status) {
    return "the registry refused the write: " + files.ErrorText(status);
}

std::vector<SkippedWrite> Worded(std::vector<SkippedWrite> skipped, FileSystem& files) {
    for (SkippedWrite& s : skipped) {
        if (s.status != 0) s.reason += ": " + files.ErrorText(s.status);
    }
    return skipped;
}

std::string SkippedLine(const SkippedWrite& skipped) {
    return skipped.page + " - " + skipped.caption + ": " + skipped.reason;
}

std::string PartlyAppliedMessage(const std::vector<SkippedWrite>& skipped) {
    std::string text = "These settings were not saved:\n\n";
    for (const SkippedWrite& s : skipped) text += SkippedLine(s) + "\n";
    return text + "\n" + kOthersApplied;
}

std::string PartlyAppliedSummary(const std::vector<SkippedWrite>& skipped) {
    return std::string(kPartlyAppliedTitle) + ": " + SettingsCount(skipped.size()) + " not saved. " + kOthersApplied;
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

std::vector<SkippedWrite> BlankFolders(Form& form1) {
    std::vector<SkippedWrite> blank;
    for (const TweakRow& row : PersonalFolderRows()) {
        if (form1.text(row.control).text().empty()) blank.push_back({row.page, row.caption, kBlankFolderMessage});
    }
    return blank;
}

}  // namespace vantrel
