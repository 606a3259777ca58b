// The rest of the portable platform: a command interpreter and a browser that
// only record what they are asked to do, and an environment whose folders and
// clock are fixed (and can be set), on 32-bit Windows unless told otherwise.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel {

class RecordingShell : public CommandShell {
public:
    struct Started {
        std::string commandLine;
        int windowStyle;
        bool operator==(const Started&) const = default;
    };
    void Run(const std::string& commandLine, int windowStyle) override;
    std::vector<Started> started;
};

class RecordingBrowser : public Browser {
public:
    void Open(const std::string& address) override;
    std::vector<std::string> opened;
};

// Records what Windows would be handed; refuses everything when told to.
class RecordingLiveSettings : public LiveSettings {
public:
    bool SetMouseAcceleration(int acceleration) override {
        mouseAccelerations.push_back(acceleration);
        return !refuse;
    }
    std::vector<int> mouseAccelerations;
    bool refuse = false;
};

class PortableEnvironment : public Environment {
public:
    // A user "User" with the Windows XP profile layout, 1 May 2004 12:00:00,
    // on Windows XP (5.1.2600).
    PortableEnvironment();

    std::string AppDataFolder() override { return appData_; }
    std::string ProfileFolder() override { return profile_; }
    std::tm Now() override { return now_; }
    // The time set for UTC; the local time until one is set.
    std::tm NowUtc() override { return utcSet_ ? utc_ : now_; }
    bool RunsUnderWow64() override { return wow64_; }
    // "{00000000-0000-4000-8000-000000000001}", then ...02 and on: the same
    // run gives the same identifiers.
    std::string NewGuid() override;
    vantrel::WindowsVersion WindowsVersion() override { return version_; }
    vantrel::WindowsEdition WindowsEdition() override { return edition_; }

    void setAppDataFolder(std::string folder) { appData_ = std::move(folder); }
    void setProfileFolder(std::string folder) { profile_ = std::move(folder); }
    void setNow(const std::tm& now) { now_ = now; }
    void setNowUtc(const std::tm& utc) {
        utc_ = utc;
        utcSet_ = true;
    }
    void setRunsUnderWow64(bool wow64) { wow64_ = wow64; }
    void setWindowsVersion(vantrel::WindowsVersion version) { version_ = version; }
    void setWindowsEdition(vantrel::WindowsEdition edition) { edition_ = edition; }

private:
    std::string appData_;
    std::string profile_;
    std::tm now_{};
    std::tm utc_{};
    bool utcSet_ = false;
    bool wow64_ = false;
    unsigned long long guids_ = 0;
    vantrel::WindowsVersion version_{5, 1, 2600};
    vantrel::WindowsEdition edition_{0, 0, 1};  // Windows XP Professional: a workstation, no suite
};

}  // namespace vantrel
