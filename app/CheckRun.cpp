// /check FILE: what "/apply FILE" would do here, without writing anything.
#include "app/CheckRun.h"

#include "app/Profile.h"
#include "app/Report.h"
#include "app/Review.h"

namespace vantrel {

namespace {

// "1 value", "3 settings".
std::string Counted(std::size_t n, const std::string& noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

std::string DifferenceLine(const ValueChange& c) {
    std::string line = "Would change: " + c.page + " - " + c.setting + ": " + DescribeValue(c.root, c.key, c.value) +
                       " is " + DescribeStored(c.now) + ", would be " +
                       (c.written ? DescribeStored(c.written) : std::string("(deleted)"));
    if (!c.notWritten.empty()) line += " (not saved: " + c.notWritten + ")";
    return line;
}

}  // namespace

UnattendedOutcome CheckProfile(App& app, const std::string& file) {
    Services& services = app.services();
    Form& form1 = app.form1();
    const CodePage& ansi = services.registry.codePage();
    UnattendedOutcome out;
    std::string bytes;
    if (const long error = services.files.ReadAll(file, &bytes, false)) {
        return {{}, CannotReadMessage(services, file, error), exitcode::kFailed};
    }
    const ImportedSettings imported = ImportSettings(form1, bytes, ansi);
    if (!imported.error.empty()) return {{}, MalformedMessage(ansi, file, imported.error), exitcode::kFailed};
    out.lines = imported.ignored;

    const std::vector<SkippedWrite> blank = BlankFolders(form1);
    for (const SkippedWrite& s : blank) out.lines.push_back(SkippedLine(s));
    std::size_t differences = 0;
    if (blank.empty()) {
        for (const ValueChange& c : ChangesOfApply(form1, services.registry, services.files, app.standings())) {
            if (c.noEffect) continue;  // the apply does not write it: not a difference
            out.lines.push_back(DifferenceLine(c));
            ++differences;
        }
    }
    std::size_t notInEffect = 0;
    for (const std::string& control : imported.namedControls) {
        const Standing s = app.standings().Of(control);
        if (s.kind != StandingKind::SetByPolicy && s.kind != StandingKind::NoEffect) continue;
        const ValueRef* target = nullptr;
        for (const ValueRef& t : ApplyTargets()) {
            if (t.control == control) target = &t;
        }
        out.lines.push_back("Does not take effect: " + target->page + " - " + target->caption + ": " +
                            StandingWords(s));
        ++notInEffect;
    }
    if (differences > 0) {
        out.summary = Counted(differences, "value") + (differences == 1 ? " differs" : " differ") +
                      " from what /apply would write.";
        out.code = exitcode::kPartly;
    } else if (!blank.empty()) {
        out.summary = std::string("Nothing would change: ") + kBlankFolderTitle + ": " + kBlankFolderMessage +
                      ", so /apply would not help.";
        out.code = exitcode::kNotInEffect;
    } else if (notInEffect > 0) {
        out.summary = "Nothing would change, but " + Counted(notInEffect, "setting") +
                      " of the file " + (notInEffect == 1 ? "does" : "do") +
                      " not take effect on this Windows, so /apply would not help.";
        out.code = exitcode::kNotInEffect;
    } else {
        out.summary = "Nothing would change, and every setting takes effect on this Windows.";
        out.code = exitcode::kDone;
    }
    return out;
}

}  // namespace vantrel
