#include "platform/portable/PortablePlatform.h"

#include <cstdio>

namespace vantrel {

void RecordingShell::Run(const std::string& commandLine, int windowStyle) {
    started.push_back({commandLine, windowStyle});
}

void RecordingBrowser::Open(const std::string& address) { opened.push_back(address); }

PortableEnvironment::PortableEnvironment()
    : appData_("C:\\Documents and Settings\\User\\Application Data"),
      profile_("C:\\Documents and Settings\\User") {
    now_.tm_year = 2004 - 1900;
    now_.tm_mon = 4;
    now_.tm_mday = 1;
    now_.tm_hour = 12;
    now_.tm_wday = 6;  // a Saturday
    now_.tm_yday = 121;
    now_.tm_isdst = -1;
}

std::string PortableEnvironment::NewGuid() {
    char text[40];
    std::snprintf(text, sizeof text, "{00000000-0000-4000-8000-%012llX}", ++guids_);
    return text;
}

}  // namespace vantrel
