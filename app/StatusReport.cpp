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
    if (const long error = WriteWholeFile(services.files, file, bytes)) {
        return {{}, CannotWriteMessage(services, file, error), exitcode::kFailed};
    }
    return {{}, "Settings status written to " + Quoted(file) + ": " + std::to_string(list.rows.size()) + " settings.",
            exitcode::kDone};
}

}  // namespace vantrel
