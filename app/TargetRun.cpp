// /apply, /check, /report and /export for the targets a run names other than
// the user who runs Vantrel, and a target reopened for Restore Backup.
#include "app/TargetRun.h"

#include <memory>

#include "app/CheckRun.h"
#include "app/Report.h"

namespace vantrel {

namespace {

// A target's environment: its profile folder, and for a Windows that is not
// running its version (its edition is not told by anything documented:
// unknown). The rest is the running user's: backups stay in his
// application-data folder.
class TargetEnvironment : public Environment {
public:
    TargetEnvironment(Environment& running, std::string profileFolder, const OfflineFacts* offline)
        : running_(running), profileFolder_(std::move(profileFolder)), offline_(offline) {}
    std::string AppDataFolder() override { return running_.AppDataFolder(); }
    std::string ProfileFolder() override { return profileFolder_; }
    std::tm Now() override { return running_.Now(); }
    std::tm NowUtc() override { return running_.NowUtc(); }
    bool RunsUnderWow64() override { return running_.RunsUnderWow64(); }
    std::string NewGuid() override { return running_.NewGuid(); }
    vantrel::WindowsVersion WindowsVersion() override {
        return offline_ ? offline_->version : running_.WindowsVersion();
    }
    vantrel::WindowsEdition WindowsEdition() override {
        return offline_ ? vantrel::WindowsEdition{} : running_.WindowsEdition();
    }

private:
    Environment& running_;
    std::string profileFolder_;
    const OfflineFacts* offline_;
};

// The services of a target: its registry and environment, the running
// user's file system and dialogs. Nothing is handed to Windows live: it is
// not the running user's registry.
Services TargetServices(Services& running, Registry& registry, Environment& environment) {
    return {registry,         running.files,     running.shell,      running.browser, running.dialogs,
            environment,      running.endProcess, nullptr,           running.hives,   running.machine};
}

const char* const kAdministratorsOnly =
    "Only an administrator can work on the settings of other users, the Default profile or a Windows that is not "
    "running; run Vantrel as an administrator.";

// "3 targets", "1 target".
std::string Targets(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " target" : " targets");
}

}  // namespace

UnattendedOutcome RunForTargets(App& app, const Switches& s, bool* wrote) {
    Services& services = app.services();
    UnattendedOutcome out;
    const auto refuse = [&](const std::string& why) {
        out.summary = why + " Nothing was written.";
        out.code = exitcode::kFailed;
        return out;
    };
    if (!services.hives || !services.machine) return refuse("Other users' settings cannot be reached here.");
    Hives& hives = *services.hives;
    Registry& machine = *services.machine;
    // Refused before anything is loaded or written.
    if (!hives.RunsAsAdministrator()) return refuse(kAdministratorsOnly);
    std::vector<HiveEvent> events;
    const auto logEvents = [&] {
        for (const HiveEvent& e : events) out.lines.push_back(DescribeHiveEvent(e));
        events.clear();
    };
    std::unique_ptr<OfflineWindows> offline;
    FoundTargets found;
    if (!s.offline.empty()) {
        offline = std::make_unique<OfflineWindows>(s.offline, machine, services.files, hives, events);
        logEvents();
        if (!offline->problem().empty()) return refuse(offline->problem());
        found = offline->FindTargets(s.target);
    } else {
        found = FindTargets(s.target, machine, services.files, hives);
    }
    for (const std::string& line : found.skipped) out.lines.push_back(line);
    if (!found.refused.empty()) return refuse(found.refused);
    if (found.targets.empty()) return refuse("No user profile was found.");

    RunScope scope{true};
    std::vector<std::vector<std::string>> report;
    std::size_t done = 0, partly = 0, failed = 0, changes = 0, notInEffect = 0;
    for (const Target& t : found.targets) {
        out.lines.push_back("Target: " + t.label);
        UnattendedOutcome r;
        {
            OpenedTarget opened(t, machine, hives, events, offline.get());
            logEvents();
            if (!opened.ok()) {
                r = {{}, "Nothing was done to it.", exitcode::kFailed};
                if (events.empty()) r.summary = opened.problem() + " " + r.summary;
            } else {
                TargetEnvironment environment(services.environment, t.profileFolder,
                                              offline ? &offline->facts() : nullptr);
                Services own = TargetServices(services, opened.registry(), environment);
                App one(own);
                scope.label = t.label;
                try {
                    LoadForRun(one);
                    switch (s.mode) {
                    case Switches::Mode::Check: r = CheckProfile(one, s.file, scope); break;
                    case Switches::Mode::Export: r = ExportRun(one, s.file); break;
                    case Switches::Mode::Report: {
                        const auto lines = StatusReportLines(one, t.label, report.empty());
                        report.insert(report.end(), lines.begin(), lines.end());
                        r.summary = "status read.";
                        break;
                    }
                    default: r = ApplyRun(one, s.file, scope); break;
                    }
                } catch (...) {
                    for (const std::string& w : one.journal().writes()) r.lines.push_back("written before the run stopped: " + w);
                    r.summary = "The run stopped: " + FailureText(std::current_exception()) + ".";
                    r.code = one.journal().values() > 0 ? exitcode::kPartly : exitcode::kFailed;
                }
                const bool wroteHere =
                    s.mode == Switches::Mode::Apply ? one.journal().values() > 0 : !one.journal().writes().empty();
                *wrote = *wrote || wroteHere;
                // The machine's values once per run: for the first target that took them.
                if (r.code != exitcode::kFailed) scope.machineDone = true;
                for (const auto& a : opened.adjusted()) {
                    r.lines.push_back(a.kind == ProfileFoldersRegistry::Adjusted::Kind::Relative
                                          ? "Kept relative to the profile: " + a.path + " \"" + a.name + "\" = " + a.written
                                          : "Not written, Windows rebuilds it: " + a.path + " \"" + a.name + "\"");
                }
            }
            out.lines.insert(out.lines.end(), r.lines.begin(), r.lines.end());
        }  // the target's hive is unloaded here
        logEvents();
        out.lines.push_back(t.label + ": " + r.summary);
        switch (r.code) {
        case exitcode::kDone: ++done; break;
        case exitcode::kPartly: ++(s.mode == Switches::Mode::Check ? changes : partly); break;
        case exitcode::kNotInEffect: ++notInEffect; break;
        default: ++failed; break;
        }
    }
    const std::size_t n = found.targets.size();
    switch (s.mode) {
    case Switches::Mode::Report: {
        if (report.empty()) return refuse("No target could be read.");
        UnattendedOutcome written = WriteReportLines(services, s.file, report);
        out.summary = written.summary + " " + Targets(n - failed) + " read" +
                      (failed ? ", " + std::to_string(failed) + " could not be." : ".");
        out.code = written.code;
        break;
    }
    case Switches::Mode::Check:
        out.code = failed ? exitcode::kFailed
                   : changes ? exitcode::kPartly
                   : notInEffect ? exitcode::kNotInEffect
                                 : exitcode::kDone;
        out.summary = Targets(n) + ": " + std::to_string(changes) + " would change, " + std::to_string(notInEffect) +
                      " would not take every setting, " + std::to_string(done) + " in place, " +
                      std::to_string(failed) + " not checked.";
        break;
    default:
        out.code = done == n ? exitcode::kDone : (*wrote ? exitcode::kPartly : exitcode::kFailed);
        out.summary = Targets(n) + ": " + std::to_string(done) + " done as the file holds it, " +
                      std::to_string(partly) + " partly, " + std::to_string(failed) + " not at all.";
        break;
    }
    return out;
}

ReopenedTarget::ReopenedTarget(Services& services, const std::string& label) {
    if (!services.hives || !services.machine || !services.hives->RunsAsAdministrator()) {
        problem_ = kAdministratorsOnly;
        return;
    }
    // The label's parts: an offline Windows's folder, then the target.
    std::string rest = label;
    if (rest.rfind("offline ", 0) == 0 && rest.find(", ") != std::string::npos) {
        const std::size_t comma = rest.find(", ");
        offline_ = std::make_unique<OfflineWindows>(rest.substr(8, comma - 8), *services.machine, services.files,
                                                    *services.hives, events_);
        rest = rest.substr(comma + 2);
        if (!offline_->problem().empty()) {
            problem_ = offline_->problem();
            return;
        }
    }
    TargetRequest request{TargetRequest::Mode::Default, {}};
    if (rest.rfind("user ", 0) == 0) request = {TargetRequest::Mode::User, rest.substr(5, rest.find(" (") - 5)};
    else if (rest != "Default profile") problem_ = "It was taken for \"" + label + "\", which Vantrel cannot find.";
    if (!problem_.empty()) return;
    const FoundTargets found = offline_ ? offline_->FindTargets(request)
                                        : FindTargets(request, *services.machine, services.files, *services.hives);
    if (!found.refused.empty() || found.targets.empty()) {
        problem_ = found.refused.empty() ? "No profile of \"" + label + "\" was found." : found.refused;
        return;
    }
    Open(services, found.targets.front());
}

ReopenedTarget::ReopenedTarget(Services& services, const Target& target) {
    if (!services.hives || !services.machine || !services.hives->RunsAsAdministrator()) {
        problem_ = kAdministratorsOnly;
        return;
    }
    Open(services, target);
}

void ReopenedTarget::Open(Services& services, const Target& target) {
    opened_ = std::make_unique<OpenedTarget>(target, *services.machine, *services.hives, events_, offline_.get());
    if (!opened_->ok()) {
        problem_ = opened_->problem();
        return;
    }
    environment_ = std::make_unique<TargetEnvironment>(services.environment, target.profileFolder,
                                                       offline_ ? &offline_->facts() : nullptr);
    services_ = std::make_unique<Services>(TargetServices(services, opened_->registry(), *environment_));
}

ReopenedTarget::~ReopenedTarget() = default;

std::vector<std::string> ReopenedTarget::EventLines() {
    std::vector<std::string> lines;
    for (const HiveEvent& e : events_) lines.push_back(DescribeHiveEvent(e));
    return lines;
}

}  // namespace vantrel
