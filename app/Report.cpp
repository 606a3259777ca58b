#include "app/Report.h"

#include <algorithm>

#include "model/Controls.h"

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

std::vector<std::string> SkippedLines(const std::vector<SkippedWrite>& skipped) {
    std::vector<std::string> lines;
    for (const SkippedWrite& s : skipped) lines.push_back(SkippedLine(s));
    return lines;
}

std::string PartlyAppliedMessage(const std::vector<SkippedWrite>& skipped) {
    std::string text = "These settings were not saved:\n\n";
    for (const SkippedWrite& s : skipped) text += SkippedLine(s) + "\n";
    return text + "\n" + kOthersApplied;
}

std::string PartlyAppliedSummary(const std::vector<SkippedWrite>& skipped) {
    return std::string(kPartlyAppliedTitle) + ": " + SettingsCount(skipped.size()) + " not saved. " + kOthersApplied;
}

std::vector<std::string> StandingLines(const Standings& standings, const std::vector<std::string>* controls) {
    std::vector<std::string> policy, noEffect;
    for (const TweakRow* row : CatalogueRows()) {
        if (row->apply == ApplyForm::None) continue;
        if (controls && std::find(controls->begin(), controls->end(), row->control) == controls->end()) continue;
        const Standing s = standings.Of(row->control);
        const std::string setting = row->page + " - " + row->caption + ": ";
        if (s.kind == StandingKind::SetByPolicy) policy.push_back(setting + StandingWords(s));
        if (s.kind == StandingKind::NoEffect) noEffect.push_back("Not written: " + setting + StandingWords(s));
    }
    policy.insert(policy.end(), noEffect.begin(), noEffect.end());
    return policy;
}

std::vector<SkippedWrite> BlankFolders(Form& form1) {
    std::vector<SkippedWrite> blank;
    for (const TweakRow& row : PersonalFolderRows()) {
        if (form1.text(row.control).text().empty()) blank.push_back({row.page, row.caption, kBlankFolderMessage});
    }
    return blank;
}

std::string CannotReadMessage(Services& services, const std::string& path, long error) {
    return "Vantrel could not read " + Quoted(path) + ". " + FileErrorReason(services.files, error);
}

std::string CannotWriteMessage(Services& services, const std::string& path, long error) {
    return "Vantrel could not write " + Quoted(path) + ". " + FileErrorReason(services.files, error);
}

std::string MalformedMessage(const CodePage& ansi, const std::string& path, const std::string& error,
                             const std::string& outcome, bool paragraphs) {
    const std::string text = Quoted(path) + " is not a registry file Vantrel can read";
    const std::string shown = Utf8ToAnsi(ansi, error);
    return paragraphs ? text + ":\n\n" + shown + "\n\n" + outcome : text + " (" + shown + "). " + outcome;
}

std::string ExportedMessage(const std::string& path) {
    return "Settings exported to " + Quoted(path) + ".";
}

}  // namespace vantrel
