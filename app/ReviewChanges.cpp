// File > "Review Changes...": what the apply pass would change, value by
// value, and a way on to it.
#include "app/Commands.h"

#include "app/Report.h"
#include "app/Review.h"

namespace vantrel {

void ReviewChangesCommand(App& app) {
    Form& form1 = app.form1();
    Services& services = app.services();
    // The apply would stop at the blank-folder check, and the review says so
    // in the same words; but a review writes nothing, so it does not read the
    // pages again either: the user's edits stay for mending the folder box.
    if (!BlankFolders(form1).empty()) {
        services.dialogs.MessageBox(kBlankFolderMessage, kBlankFolderTitle, mb::kExclamation);
        return;
    }
    std::vector<ValueChange> changes = ChangesOfApply(form1, services.registry, services.files, app.standings());
    // A write that did not hold at the last apply would most likely not hold again.
    const CodePage& ansi = services.registry.codePage();
    for (ValueChange& c : changes) {
        for (const SkippedWrite& s : app.notHeld()) {
            if (c.notWritten.empty() && SameValue({s.root, s.key, s.value}, {c.root, Utf8ToAnsi(ansi, c.key), Utf8ToAnsi(ansi, c.value)}))
                c.notWritten = "at the last apply, " + AnsiToUtf8(ansi, s.reason);
        }
    }
    if (changes.empty()) {
        services.dialogs.MessageBox("No setting would change.", "Review Changes", mb::kInformation);
        return;
    }
    const ReviewList list = ReviewListOf(changes, "Review Changes",
                                         "\"Apply Changes\" would change these settings. Marked rows would not be saved.",
                                         app.standings(), services.registry.codePage());
    if (services.dialogs.ShowReviewList(list)) app.apply_Click();
}

}  // namespace vantrel
