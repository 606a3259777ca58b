// /check FILE: what "/apply FILE" would do here, without writing anything.
#include "app/CheckRun.h"

#include <algorithm>

#include "app/Profile.h"
#include "app/Report.h"

namespace vantrel {

namespace {

// "1 value", "3 settings", "2 entries".
std::string Counted(std::size_t n, const std::string& noun, const std::string& nouns = {}) {
    return std::to_string(n) + " " + (n == 1 ? noun : nouns.empty() ? noun + "s" : nouns);
}

std::string DifferenceLine(const ValueChange& c) {
    std::string line = "Would change: " + c.page + " - " + c.setting + ": " + DescribeValue(c.root, c.key, c.value) +
                       " is " + DescribeStored(c.now) + ", would be " +
                       (c.written ? DescribeStored(c.written) : std::string("(deleted)"));
    if (!c.notWritten.empty()) line += " (not saved: " + c.notWritten + ")";
    return line;
}

const ValueRef& TargetOf(const std::string& control) {
    for (const ValueRef& t : ApplyTargets()) {
        if (t.control == control) return t;
    }
    return ApplyTargets().front();  // every control an import names is written by some row
}

}  // namespace

std::vector<SkippedWrite> LeftAsTheyAre(const ImportedSettings& imported, const RunScope& scope) {
    std::vector<SkippedWrite> keep = imported.kept;
    if (!scope.fileOnly) return keep;
    const auto& named = imported.namedControls;
    for (const ValueRef& t : ApplyTargets()) {
        const bool inFile = std::find(named.begin(), named.end(), t.control) != named.end();
        if (!inFile || (scope.machineDone && t.root == reg::kLocalMachine)) {
            keep.push_back({t.page, t.caption, {}, 0, t.root, t.key, t.value});
        }
    }
    return keep;
}

std::vector<SkippedWrite> BlankFoldersToWrite(Form& form1, const ImportedSettings& imported, const RunScope& scope) {
    std::vector<SkippedWrite> blank = BlankFolders(form1);
    if (!scope.fileOnly) return blank;
    std::erase_if(blank, [&](const SkippedWrite& b) {
        for (const std::string& control : imported.namedControls) {
            if (TargetOf(control).page == b.page && TargetOf(control).caption == b.caption) return false;
        }
        return true;
    });
    return blank;
}

UnattendedOutcome CheckProfile(App& app, const std::string& file, const RunScope& scope) {
    Services& services = app.services();
    Form& form1 = app.form1();
    UnattendedOutcome out;
    ImportedSettings imported;
    if (std::string failure = ImportProfileFile(form1, services, file, &imported, scope.profile); !failure.empty()) {
        return {{}, std::move(failure), exitcode::kFailed};
    }
    // The import's lines, as /apply logs them.
    out.lines = imported.ignored;
    for (const SkippedWrite& k : imported.kept) out.lines.push_back(SkippedLine(k));

    const std::vector<SkippedWrite> blank = BlankFoldersToWrite(form1, imported, scope);
    for (const SkippedWrite& s : blank) out.lines.push_back(SkippedLine(s));
    if (blank.empty()) {
        for (ValueChange& c :
             ChangesOfApply(form1, services.registry, services.files, app.standings(), LeftAsTheyAre(imported, scope))) {
            if (c.noEffect) continue;  // the apply does not write it: not a difference
            out.lines.push_back(DifferenceLine(c));
            out.changes.push_back(std::move(c));
        }
    }
    std::size_t notInEffect = 0;
    for (const std::string& control : imported.namedControls) {
        // A choice this edition does not honour takes no effect as written.
        for (const TweakRow* row : ApplyRows()) {
            const std::optional<std::string> text = row->control == control ? ApplyText(form1, *row) : std::nullopt;
            const std::string unhonoured = text ? app.standings().Unhonoured(control, *text) : std::string();
            if (unhonoured.empty()) continue;
            out.lines.push_back("Does not take effect: " + row->page + " - " + row->caption + ": " + unhonoured);
            ++notInEffect;
        }
        const Standing s = app.standings().Of(control);
        if (s.kind != StandingKind::SetByPolicy && s.kind != StandingKind::NoEffect) continue;
        const ValueRef& target = TargetOf(control);
        out.lines.push_back("Does not take effect: " + target.page + " - " + target.caption + ": " + StandingWords(s));
        ++notInEffect;
    }

    // Why /apply would not help, once nothing would change.
    std::vector<std::string> reasons;
    if (!imported.kept.empty()) {
        reasons.push_back(Counted(imported.kept.size(), "setting") + " of the file " +
                          (imported.kept.size() == 1 ? "is" : "are") + " kept as stored, not as the file holds " +
                          (imported.kept.size() == 1 ? "it" : "them"));
    }
    if (!imported.ignored.empty()) {
        reasons.push_back(Counted(imported.ignored.size(), "entry", "entries") + " of the file " +
                          (imported.ignored.size() == 1 ? "is" : "are") + " not managed by Vantrel");
    }
    if (notInEffect > 0) {
        reasons.push_back(Counted(notInEffect, "setting") + " of the file " + (notInEffect == 1 ? "does" : "do") +
                          " not take effect on this Windows");
    }
    if (!out.changes.empty()) {
        out.summary = Counted(out.changes.size(), "value") + (out.changes.size() == 1 ? " differs" : " differ") +
                      " from what /apply would write.";
        out.code = exitcode::kPartly;
    } else if (!blank.empty()) {
        out.summary = std::string("Nothing would change: ") + kBlankFolderTitle + ": " + kBlankFolderMessage +
                      ", so /apply would not help.";
        out.code = exitcode::kNotInEffect;
    } else if (!reasons.empty()) {
        std::string joined;
        for (const std::string& r : reasons) joined += (joined.empty() ? "" : "; ") + r;
        out.summary = "Nothing would change, but " + joined + ", so /apply would not help.";
        out.code = exitcode::kNotInEffect;
    } else {
        out.summary = "Nothing would change, and every setting takes effect on this Windows.";
        out.code = exitcode::kDone;
    }
    return out;
}

}  // namespace vantrel
