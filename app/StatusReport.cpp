// /report FILE: the Settings Status list as a CSV file, for inventories
// across many machines.
#include "app/CheckRun.h"

#include "app/Report.h"
#include "app/Review.h"
#include "platform/ListText.h"
#include "platform/WholeFile.h"

namespace vantrel {

UnattendedOutcome WriteStatusReport(App& app, const std::string& file) {
    Services& services = app.services();
    const ReviewList list = SettingsStatusList(services.registry, app.standings());
    std::vector<std::vector<std::string>> lines{list.columns};
    for (const ReviewList::Row& row : list.rows) lines.push_back(row.cells);
    const std::string bytes = "\xEF\xBB\xBF" + CommaSeparated(lines);
    const WholeFilesWritten written = WriteWholeFile(services.files, file, bytes);
    if (written.error != 0) {
        return {{}, CannotWriteMessage(services, file, written.error) + " " + WhereTheDataIs(written), exitcode::kFailed};
    }
    const std::string leftBehind = WhereTheDataIs(written);
    return {{},
            "Settings status written to " + Quoted(file) + ": " + std::to_string(list.rows.size()) + " settings." +
                (leftBehind.empty() ? "" : " " + leftBehind),
            exitcode::kDone};
}

}  // namespace vantrel
