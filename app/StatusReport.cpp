// /report FILE: the Settings Status list as a CSV file, for inventories
// across many machines.
#include "app/CheckRun.h"

#include "app/Report.h"
#include "app/Review.h"
#include "platform/ListText.h"
#include "platform/WholeFile.h"

namespace vantrel {

std::vector<std::vector<std::string>> StatusReportLines(App& app, const std::string& target, bool header) {
    const ReviewList list = SettingsStatusList(app.services().registry, app.standings());
    std::vector<std::vector<std::string>> lines;
    if (header) lines.push_back(list.columns);
    for (const ReviewList::Row& row : list.rows) lines.push_back(row.cells);
    if (!target.empty()) {
        for (std::size_t i = 0; i < lines.size(); ++i) lines[i].push_back(header && i == 0 ? "Target" : target);
    }
    return lines;
}

UnattendedOutcome WriteReportLines(Services& services, const std::string& file,
                                   const std::vector<std::vector<std::string>>& lines) {
    const WholeFilesWritten written = WriteWholeFile(services.files, file, "\xEF\xBB\xBF" + CommaSeparated(lines));
    if (written.error != 0) {
        return {{}, CannotWriteMessage(services, file, written.error) + " " + WhereTheDataIs(written), exitcode::kFailed};
    }
    const std::string leftBehind = WhereTheDataIs(written);
    return {{},
            "Settings status written to " + Quoted(file) + ": " + std::to_string(lines.size() - 1) + " settings." +
                (leftBehind.empty() ? "" : " " + leftBehind),
            exitcode::kDone};
}

UnattendedOutcome WriteStatusReport(App& app, const std::string& file) {
    return WriteReportLines(app.services(), file, StatusReportLines(app, {}, true));
}

}  // namespace vantrel
