// Work on the targets other than the user who runs Vantrel: another user's
// profile, the Default profile, every profile, or those of a Windows that is
// not running. Each target is opened as a registry of its own and the usual
// steps go over it in an application of its own; nothing of them learns
// about targets.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/App.h"
#include "platform/Targets.h"

namespace vantrel {

struct Switches;
struct UnattendedOutcome;

// A run for the targets the switches name, each opened, run as the current
// user's run is (but for the RunScope of another target) and closed in turn.
// *wrote is set once any target had something written.
UnattendedOutcome RunForTargets(App& app, const Switches& switches, bool* wrote);

// A target opened again by the label a run gave it ("Default profile",
// "user S-1-5-21-...-1001 (PC\ann)", "offline D:\Windows, user ..."), as
// Restore Backup reopens the target a backup was taken from. Its hive stays
// loaded while the object lives.
class ReopenedTarget {
public:
    ReopenedTarget(Services& services, const std::string& label);
    // A target of this computer that FindTargets gave.
    ReopenedTarget(Services& services, const Target& target);
    ~ReopenedTarget();
    // "" when it is open; else why not (no administrator rights, not found,
    // its hive would not load).
    const std::string& problem() const { return problem_; }
    // The running user's services with the target's registry and profile.
    Services& services() { return *services_; }
    // What happened to its hives, one line each, the unload included once
    // the object is gone (read it before).
    std::vector<std::string> EventLines();

private:
    void Open(Services& services, const Target& target);

    std::string problem_;
    std::vector<HiveEvent> events_;
    std::unique_ptr<OfflineWindows> offline_;
    std::unique_ptr<OpenedTarget> opened_;
    std::unique_ptr<Environment> environment_;
    std::unique_ptr<Services> services_;
};

}  // namespace vantrel
