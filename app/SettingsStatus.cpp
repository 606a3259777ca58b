// View > "Settings Status...": every setting's standing on this Windows, with
// the source of what decides it, in a list that sorts by any column and
// copies itself to the clipboard.
#include "app/Commands.h"

#include "app/Review.h"
#include "settings/TweakRow.h"

namespace vantrel {

ReviewList SettingsStatusList(Registry& reg, const Standings& standings) {
    const CodePage& ansi = reg.codePage();
    ReviewList list{"Settings Status",
                    "How each setting stands on " + VersionName(standings.version()) +
                        ". Marked rows are set by a policy or have no effect on this Windows; "
                        "\"unknown (assumed in effect)\" where no Microsoft page settles it.",
                    {"Page", "Setting", "Stored value", "Standing", "Takes effect", "Source"},
                    {},
                    "",
                    "Close",
                    true,
                    "Copy"};
    auto add = [&](const std::string& page, const std::string& setting, const std::string& stored,
                   const std::string& subject) {
        const Standing s = standings.Of(subject);
        const bool marked = s.kind == StandingKind::SetByPolicy || s.kind == StandingKind::NoEffect;
        list.rows.push_back({{PageName(page), setting, stored, AnsiToUtf8(ansi, StandingSummary(s)), TimingWords(s.timing),
                              SourceWords(s)},
                             marked});
    };
    for (const TweakRow* row : CatalogueRows()) {
        const std::string& key = row->loadKey.empty() ? row->applyKey : row->loadKey;
        add(row->page, row->caption,
            DescribeStored(StoredNow(reg, row->root, AnsiToUtf8(ansi, key), AnsiToUtf8(ansi, row->value))),
            row->control);
    }
    for (const ToolSubject& tool : ToolSubjects()) add(tool.page, tool.caption, "", tool.subject);
    return list;
}

void SettingsStatusCommand(App& app) {
    app.services().dialogs.ShowReviewList(SettingsStatusList(app.services().registry, app.standings()));
}

}  // namespace vantrel
