// What each setting and each system tool depends on: the Windows versions on
// which it has an effect, the policy values that override it, and when a
// change takes effect. Every fact carries the public Microsoft documentation
// it comes from. A row or a tool not listed here, and every part of an entry
// left at its default, is unknown: no source was found, so it counts as in
// effect and is written as always.
//
// Unknown entries: the Explorer page but
// "Enable Net Send" and the desktop cleanup interval; the keyboard and mouse;
// the Internet Options page but its home page; the accessibility tools; the
// personal folders; the Windows information labels (read only); the Start
// menu items "Administrative Tools", "Control Panel", "My Computer",
// "Printers and Faxes" (and the versions and timing of "Run"); the times of
// every Start menu item; the current user's startup items' policies; the
// screens' timing; the cache cleanup's and the e-mail page's versions; the
// overriding policies and the timing of the Windows 10 and 11 pages' rows
// but the mouse's acceleration (their editions: not held by this table).

#include "settings/Standing.h"

namespace vantrel {

namespace {

// Version numbers: "Operating System Version" (Windows documentation,
// OSVERSIONINFOEX): Windows XP 5.1, Windows Server 2003 5.2, Windows Vista
// 6.0, Windows 7 6.1, Windows 8 6.2.
constexpr WindowsVersion kWindowsXp{5, 1, 0};
constexpr WindowsVersion kWindowsVista{6, 0, 0};
constexpr WindowsVersion kWindows7{6, 1, 0};
constexpr WindowsVersion kWindows8{6, 2, 0};
// Windows 10 is version 10.0; Windows 11 is version 10.0 from build 22000
// ("Windows 11, version 21H2 [10.0.22000]", Policy CSP reference).
constexpr WindowsVersion kWindows10{10, 0, 0};
constexpr WindowsVersion kWindows11{10, 0, 22000};

constexpr VersionSpan From(WindowsVersion from) {
    return {true, from};
}

constexpr VersionSpan Before(WindowsVersion before) {
    return {true, {}, before};
}

constexpr VersionSpan Between(WindowsVersion from, WindowsVersion before) {
    return {true, from, before};
}

constexpr const char* kExplorerPolicies = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";
constexpr const char* kIeMainPolicies = R"(Software\Policies\Microsoft\Internet Explorer\Main)";
constexpr const char* kIePanelPolicies = R"(Software\Policies\Microsoft\Internet Explorer\Control Panel)";

// A restriction of the current user's Explorer policies, on while it holds 1:
// the policies of StartMenu.admx are of class User, stored under
// HKEY_CURRENT_USER, and Group Policy "adds this entry to the registry with a
// value of 1 when you enable the policy" (Windows 2000 Registry Reference,
// e.g. "NoDesktop").
constexpr PolicyRule UserRestriction(const char* value) {
    return {{{{{reg::kCurrentUser, kExplorerPolicies, value}}, "1"}}};
}

constexpr Dependency kTable[] = {
    // Explorer: "Enable Net Send" starts the Messenger service.
    // Versions: NetMessageBufferSend "is not supported as of Windows Vista
    // because the messenger service is not supported" (lmmsg.h reference).
    // Timing: a start type of 2 is "started by the operating system, at
    // system start-up" (ServiceStartMode, .NET reference; "Start", Windows
    // 2000 Registry Reference: 2 Automatic, 4 Disabled).
    {"Check1", Before(kWindowsVista), {}, Timing::Restart},
    // Explorer: days between desktop cleanup. Versions: "the Desktop
    // Cleanup Wizard is completely gone in Windows Vista and beyond"
    // (TechNet Magazine, "Windows Confidential: The Policy That Controls
    // Nothing"). Its policy "Remove the Desktop Cleanup Wizard" exists
    // (same article; Desktop.admx, Policy CSP ADMX_Desktop), but no source
    // found names the registry value it sets: unknown.
    {"Text1", Before(kWindowsVista)},

    // Internet Options: the home page. With "Disable changing home page
    // settings" on (HKCU\Software\Policies\Microsoft\Internet
    // Explorer\Control Panel, HomePage = 1), Internet Explorer 7 and later
    // use the administrator's "Start Page" under
    // HKCU\Software\Policies\Microsoft\Internet Explorer\Main instead of
    // the user's (Microsoft Support, KB 2501278, "The 'Disable changing
    // home page settings' policy does not apply as expected").
    {"Text16",
     {},
     {{{{{reg::kCurrentUser, kIeMainPolicies, "Start Page"}}, nullptr},
       {{{reg::kCurrentUser, kIePanelPolicies, "HomePage"}}, "1"}}}},

    // Start menu items. Each policy below removes its item from the Start
    // menu; its support range in StartMenu.admx ("supportedOn") is the
    // range of Windows versions whose Start menu has the item. Timing:
    // unknown.
    // "Help and Support Center": policy NoHelp, value NoSMHelp, Windows
    // 2000 to Windows 7.
    {"List1[2]", Before(kWindows8), UserRestriction("NoSMHelp")},
    // "My Documents": policy NoSMMyDocuments, value NoSMMyDocs, Windows 2000 to Windows 7.
    {"List1[4]", Before(kWindows8), UserRestriction("NoSMMyDocs")},
    // "My Music": policy NoSMMyMusic, value NoStartMenuMyMusic, Windows XP to Windows 7.
    {"List1[5]", Between(kWindowsXp, kWindows8), UserRestriction("NoStartMenuMyMusic")},
    // "My Pictures": policy NoSMMyPictures, value NoSMMyPictures, Windows XP to Windows 7.
    {"List1[6]", Between(kWindowsXp, kWindows8), UserRestriction("NoSMMyPictures")},
    // "Network Connections": policy NoNetAndDialupConnect, value
    // NoNetworkConnections, Windows 2000 to Windows Vista.
    {"List1[7]", Before(kWindows7), UserRestriction("NoNetworkConnections")},
    // "My Network Places": policy NoSMMyNetworkPlaces, value
    // NoStartMenuNetworkPlaces, Windows XP to Windows 7.
    {"List1[8]", Between(kWindowsXp, kWindows8), UserRestriction("NoStartMenuNetworkPlaces")},
    // "My Recent Documents": policy NoRecentDocsMenu, Windows 2000 to Windows 7.
    {"List1[10]", Before(kWindows8), UserRestriction("NoRecentDocsMenu")},
    // "Run": policy NoRun, from Windows 2000 with no end ("Remove Run from
    // Start menu", also in "Adhering to System Policy Settings"): the
    // versions whose Start menu shows the item are not said: unknown.
    {"List1[11]", {}, UserRestriction("NoRun")},
    // "Search": policy NoFind, Windows XP and Windows Server 2003 only.
    {"List1[12]", Between(kWindowsXp, kWindowsVista), UserRestriction("NoFind")},
    // "Favorites": policy NoFavoritesMenu, Windows 2000 to Windows 7.
    {"List1[13]", Before(kWindows8), UserRestriction("NoFavoritesMenu")},

    // Windows information: read only, nothing is written.
    {"Label13", {}, {}, Timing::ReadOnly},
    {"Label15", {}, {}, Timing::ReadOnly},
    {"Label17", {}, {}, Timing::ReadOnly},
    {"Label19", {}, {}, Timing::ReadOnly},
    {"Label21", {}, {}, Timing::ReadOnly},
    {"Label23", {}, {}, Timing::ReadOnly},
    {"Label25", {}, {}, Timing::ReadOnly},
    {"Label27", {}, {}, Timing::ReadOnly},

    // The Windows 10 and 11 pages. Each policy is used from Windows 10 (the
    // pages' own rule) or from the later build its policy's Administrative
    // Template gives as "supported on" (Windows.admx names each range); the
    // Policy CSP's "Applicable OS" tells only when the management entry
    // exists. Editions, which this table cannot hold yet, and every source:
    // settings/ModernWindowsRows.cpp and the research notes. Timing: unknown
    // but the mouse's.
    // "Don't search the web or display web results in Search": Search.admx
    // not read: from Windows 10.
    {"Check27", From(kWindows10)},
    // "Turn off display of recent search entries in the File Explorer search
    // box": SUPPORTED_Windows7 (WindowsExplorer.admx), shown from Windows 10.
    {"Check28", From(kWindows10)},
    // "Remove Recommended section from Start Menu": SUPPORTED_Windows_11_0_SE,
    // "At least Windows 11 SE" (StartMenu.admx, Windows.admx).
    {"Check29", From(kWindows11)},
    // "Allow Diagnostic Data": SUPPORTED_Windows_10_0, "At least Windows 10" (DataCollection.admx).
    {"Combo2", From(kWindows10)},
    // "Turn off Windows Copilot": SUPPORTED_Windows_11_0_NOSERVER_ENTERPRISE_EDUCATION_PRO_SANDBOX,
    // "At least Windows 11" (WindowsCopilot.admx, Windows.admx).
    {"Check30", From(kWindows11)},
    // "Turn off saving snapshots for use with Recall": the ADMX not read.
    {"Check31", From(kWindows10)},
    // "Do not use diagnostic data for tailored experiences":
    // SUPPORTED_Windows_10_0_RS2, Windows 10 version 1703 [10.0.15063]
    // (CloudContent.admx; Experience Policy CSP).
    {"Check32", From({10, 0, 15063})},
    // CloudContent.admx, SUPPORTED_Windows_10_0_NOSERVER: consumer experiences,
    // all spotlight features, third-party suggestions, Windows tips.
    {"Check33", From(kWindows10)},
    // "Turn off the advertising ID": the ADMX not read.
    {"Check34", From(kWindows10)},
    // "Allow widgets": SUPPORTED_Windows_10_0_NOSERVER (NewsAndInterests.admx).
    {"Check35", From(kWindows10)},
    {"Check36", From(kWindows10)},
    {"Check37", From(kWindows10)},
    {"Check38", From(kWindows10)},
    // "Turn off Windows Spotlight on Settings": SUPPORTED_Windows_10_0_RS4,
    // Windows 10 version 1803 [10.0.17134] (CloudContent.admx; Experience Policy CSP).
    {"Check39", From({10, 0, 17134})},
    // Mouse acceleration: MouseSpeed is documented from Windows 2000 (Windows
    // 2000 Registry Reference, technet.microsoft.com/library/cc978664.aspx),
    // so it is the one control of those pages in effect before Windows 10.
    // The apply hands it to Windows at once (SPI_SETMOUSE, SystemParametersInfoA,
    // winuser.h: minimum supported client Windows 2000 Professional).
    {"Combo3", From({5, 0, 0}), {}, Timing::AtOnce},

    // Boot.ini editor. Versions: the boot configuration data store's
    // "objects and elements in the store effectively replace Boot.ini", and
    // "BCDEdit is the primary tool for editing the boot configuration of
    // Windows Vista and later versions of Windows" (bcdedit, Windows
    // commands reference). Timing: boot.ini holds the boot options
    // ("Mapping Boot Options to Elements", BCD reference), read when the
    // computer starts.
    {"tool:bootini", Before(kWindowsVista), {}, Timing::Restart},
    // Boot and logon screens: "Windows Resource Protection (WRP) prevents
    // the replacement of essential system files ... It became available
    // starting with Windows Server 2008 and Windows Vista" (Windows
    // Resource Protection, Windows documentation); only the Windows
    // Update service, "Trusted Installer", has full control of them
    // (WRPMitigation, Windows 7 and Windows Vista compatibility fixes).
    // Timing: unknown.
    {"tool:screens", Before(kWindowsVista)},
    // Cache cleanup: the folder is removed when the button is pressed.
    {"tool:cache", {}, {}, Timing::AtOnce},
    // Startup items. The Run key starts its programs "after every logon"
    // (RunOnce Request, Windows Embedded Standard 2009). Policies of the
    // current user's list: the documentation of "Do not process the legacy
    // run list" names another key for it (Windows NT\CurrentVersion\Windows\Run):
    // unknown.
    {"tool:runuser", {}, {}, Timing::NextLogon},
    // The local machine's list: DisableLocalMachineRun = 1 "directs the
    // system to ignore the customized run list" of
    // HKEY_LOCAL_MACHINE\...\CurrentVersion\Run; "this entry can appear in
    // both HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER. If this entry appears
    // in both subtrees, the value in HKEY_LOCAL_MACHINE takes precedence"
    // (Windows 2000 Registry Reference, "DisableLocalMachineRun"; the
    // policy "Disable legacy run list", Windows 2000 Group Policy
    // reference: "the setting in Computer Configuration takes precedence").
    {"tool:runmachine",
     {},
     {{{{{reg::kLocalMachine, kExplorerPolicies, "DisableLocalMachineRun"},
         {reg::kCurrentUser, kExplorerPolicies, "DisableLocalMachineRun"}},
        "1"}}},
     Timing::NextLogon},
    // Web links: the address is opened when the menu item is chosen.
    {"tool:weblinks", {}, {}, Timing::AtOnce},
};

}  // namespace

std::span<const Dependency> Dependencies() {
    return kTable;
}

const std::vector<ToolSubject>& ToolSubjects() {
    static const std::vector<ToolSubject> tools = {
        {"tool:bootini", "Startup", "Boot.ini:", "Command13"},
        {"tool:screens", "Startup", "Load Screens:", "Text2|Text3"},
        {"tool:cache", "Caching:", "Caching Options:", ""},
        {"tool:runuser", "Startup Items:", "Current User Start Up Items:", "List3"},
        {"tool:runmachine", "Startup Items:", "Local Machine Startup Items:", "List2"},
        {"tool:weblinks", "Vantrel", "Visit Corvane, Check For Vantrel Update", ""},
        {"tool:email", "E-Mail Security", "E-Mail Security", ""},
    };
    return tools;
}

const Dependency* DependencyOf(const std::string& subject) {
    for (const Dependency& d : Dependencies()) {
        if (subject == d.subject) return &d;
    }
    return nullptr;
}

}  // namespace vantrel
