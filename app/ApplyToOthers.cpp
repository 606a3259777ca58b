// File > "Apply to Other Users...": the pages, as an export carries them,
// applied to other users' profiles and the Default profile. Each chosen
// target is reviewed before anything is written; only the settings an
// export would carry go to it, and every other value stays as that user has it.
#include "app/Commands.h"

#include <memory>

#include "app/CheckRun.h"
#include "app/Report.h"
#include "app/TargetRun.h"

namespace vantrel {

namespace {
const char* const kTitle = "Apply to Other Users";
}  // namespace

void ApplyToOthersCommand(App& app) {
    Services& services = app.services();
    Dialogs& dialogs = services.dialogs;
    if (!services.hives || !services.machine || !services.hives->RunsAsAdministrator()) {
        dialogs.MessageBox("Only an administrator can apply settings to other users and the Default profile. Start "
                           "Vantrel as an administrator and try again.",
                           kTitle, mb::kExclamation);
        return;
    }
    const FoundTargets found =
        FindTargets({TargetRequest::Mode::All, {}}, *services.machine, services.files, *services.hives);
    if (!found.refused.empty() || found.targets.empty()) {
        dialogs.MessageBox(found.refused.empty() ? "No other user profile was found." : found.refused, kTitle,
                           mb::kExclamation);
        return;
    }
    ExportChoice choice;
    choice.list = {kTitle,
                   "Tick the profiles to apply the pages to. Only the settings an export would carry (set on this "
                   "computer, or changed since the pages were read) go to them; every other setting stays as each "
                   "user has it. Each profile's changes are shown before anything is written.",
                   {"Profile", "Folder"}, {}, "Review", "Cancel"};
    for (const Target& t : found.targets) {
        choice.list.rows.push_back({{t.label, t.profileFolder}, false});
        choice.checked.push_back(false);
    }
    for (;;) {
        if (!dialogs.ChooseExport(choice)) return;
        bool any = false;
        for (const bool checked : choice.checked) any = any || checked;
        if (any) break;
        dialogs.MessageBox("No profile is ticked. Tick the profiles to apply the pages to.", kTitle, mb::kExclamation);
    }
    const std::string profile =
        ExportFile(ExportProfile(app.form1(), services.registry, services.environment.ProfileFolder())).bytes;
    const std::string pages = "the pages";

    // Every chosen target reviewed first; then the ones accepted written.
    std::vector<const Target*> accepted;
    std::vector<std::string> said;
    for (std::size_t i = 0; i < found.targets.size(); ++i) {
        if (!choice.checked[i]) continue;
        const Target& t = found.targets[i];
        ReopenedTarget target(services, t);
        if (!target.problem().empty()) {
            said.push_back(t.label + ": " + target.problem());
            continue;
        }
        App one(target.services());
        LoadForRun(one);
        const UnattendedOutcome check = CheckProfile(one, pages, {true, false, t.label, &profile});
        if (check.changes.empty()) {
            said.push_back(t.label + ": " + check.summary);
            continue;
        }
        if (dialogs.ShowReviewList(ReviewListOf(check.changes, kTitle,
                                                "For " + t.label + ", \"Apply Changes\" would change these settings.",
                                                one.standings(), one.services().registry.codePage()))) {
            accepted.push_back(&t);
        } else {
            said.push_back(t.label + ": not applied.");
        }
    }
    bool machineDone = false;
    for (const Target* t : accepted) {
        ReopenedTarget target(services, *t);
        if (!target.problem().empty()) {
            said.push_back(t->label + ": " + target.problem());
            continue;
        }
        App one(target.services());
        LoadForRun(one);
        const UnattendedOutcome applied = ApplyRun(one, pages, {true, machineDone, t->label, &profile});
        machineDone = machineDone || applied.code != exitcode::kFailed;
        said.push_back(t->label + ": " + applied.summary);
        for (const std::string& line : applied.lines) said.push_back("  " + line);
    }
    dialogs.MessageBox((accepted.empty() ? "Nothing was written." : "The pages were applied to the profiles accepted.") +
                           ListedLines("Each profile:", said),
                       kTitle, mb::kInformation);
}

}  // namespace vantrel
