// What each setting and each system tool depends on: on which Windows
// versions, builds and editions it has an effect, the stored values that
// override it or keep it from taking effect, and when a change takes effect.
// Every fact carries the public Microsoft page it comes from. What no source
// settles is left out and is unknown: it counts as in effect, is written as
// always, and the lists say it is assumed. A policy's "supported on" range,
// and the Policy CSP's "Applicable OS", say where the policy works, not
// where the value it overrides is used: neither is a source for a version
// range here.
//
// Every catalogue row and every tool has a row below, which names what it
// knows for Windows XP, Vista, 7, 8, 8.1, 10 and 11; a row with no version
// facts is unknown on all seven. What was searched for the unknowns is said
// beside them.
// The Windows 10 and 11 pages' policies are facts about their own values: a
// policy's Administrative Template says where the policy, which is the value
// written, is processed.

#include "settings/Standing.h"

namespace vantrel {

namespace {

// Version numbers: "Operating System Version" (Windows documentation,
// OSVERSIONINFOEX): Windows XP 5.1, Windows Vista 6.0. Windows 10 version
// 20H2 is build 19042 and Windows 11 is version 10.0 from build 22000
// (Policy CSP reference: "Windows 10, version 20H2 [10.0.19042]", "Windows
// 11, version 21H2 [10.0.22000]").
constexpr WindowsVersion kWindowsXp{5, 1, 0};
constexpr WindowsVersion kWindowsVista{6, 0, 0};
constexpr WindowsVersion kWindows81{6, 3, 0};
constexpr WindowsVersion kWindows10v20H2{10, 0, 19042};
constexpr WindowsVersion kWindows11{10, 0, 22000};
constexpr WindowsVersion kWindows10{10, 0, 0};
// The products [MS-GPPREF] lists run from Windows XP to Windows 11 and
// Windows Server 2025, all of version 10.0 at most.
constexpr WindowsVersion kPastListed{10, 1, 0};

// ---- sources ----

// The Windows 10 and 11 pages' policies.
constexpr const char* kEnterpriseOnly =
    "No effect on this edition: the policy applies only to the Enterprise and Education editions.";
constexpr Source kEnterpriseEducation{
    "Group Policy settings that apply only to Windows 10 Enterprise and Education Editions",
    "learn.microsoft.com/windows/client-management/group-policies-for-enterprise-and-education-editions"};
constexpr Source kWebSearchPolicy{"Search Policy CSP, DoNotUseWebResults (ConnectedSearchUseWeb; Search.admx)",
                                  "learn.microsoft.com/windows/client-management/mdm/policy-csp-search"};
constexpr Source kSearchBoxPolicy{"ADMX_WindowsExplorer Policy CSP, DisableSearchBoxSuggestions (WindowsExplorer.admx)",
                                  "learn.microsoft.com/windows/client-management/mdm/policy-csp-admx-windowsexplorer"};
constexpr Source kRecommendedPolicy{"Start policy settings, Hide recommended section (StartMenu.admx: at least "
                                    "Windows 11 SE)",
                                    "learn.microsoft.com/windows/configuration/start/policy-settings"};
constexpr Source kTelemetryPolicy{"System Policy CSP, AllowTelemetry (DataCollection.admx: at least Windows 10); "
                                  "0 is honoured only on Enterprise, Education and Server, elsewhere it is 1",
                                  "learn.microsoft.com/windows/client-management/mdm/policy-csp-system"};
constexpr Source kCopilotPolicy{"WindowsAI Policy CSP, TurnOffWindowsCopilot (WindowsCopilot.admx: at least Windows "
                                "11): deprecated; it does not govern the new Copilot app",
                                "learn.microsoft.com/windows/client-management/mdm/policy-csp-windowsai"};
constexpr Source kRecallPolicy{"Manage Recall: snapshots are taken only on a Copilot+ PC; WindowsAI Policy CSP, "
                               "DisableAIDataAnalysis",
                               "learn.microsoft.com/windows/client-management/manage-recall"};
constexpr Source kCloudContentPolicies{"Experience Policy CSP (CloudContent.admx)",
                                       "learn.microsoft.com/windows/client-management/mdm/policy-csp-experience"};
constexpr Source kAdvertisingPolicy{"Manage connections from Windows operating system components to Microsoft "
                                    "services, 18.1 General: Turn off the advertising ID",
                                    "learn.microsoft.com/windows/privacy/manage-connections-from-windows-operating-"
                                    "system-components-to-microsoft-services"};
constexpr Source kWidgetsPolicy{"NewsAndInterests Policy CSP, AllowNewsAndInterests (at least Windows 10)",
                                "learn.microsoft.com/windows/client-management/mdm/policy-csp-newsandinterests"};
constexpr Source kMouseSpeed{"Windows 2000 Registry Reference, MouseSpeed; SystemParametersInfoA, SPI_SETMOUSE",
                             "technet.microsoft.com/library/cc978664.aspx"};

constexpr Source kMessengerGone{"NetMessageBufferSend function (lmmsg.h): \"not supported as of Windows Vista "
                                "because the messenger service is not supported\"",
                                "learn.microsoft.com/windows/win32/api/lmmsg/nf-lmmsg-netmessagebuffersend"};
constexpr Source kServiceStart{"ServiceStartMode Enum: Automatic is \"started by the operating system, at system "
                               "start-up\"",
                               "learn.microsoft.com/dotnet/api/system.serviceprocess.servicestartmode"};
constexpr Source kControlSets{"REG: ControlSet\\Select Subkey Entries (KB 102984): \"Default\" identifies the "
                              "default control set",
                              "support.microsoft.com/kb/102984"};
constexpr Source kCleanupGone{"Windows Confidential: The Policy That Controls Nothing: \"the Desktop Cleanup "
                              "Wizard is completely gone in Windows Vista and beyond\"",
                              "learn.microsoft.com/previous-versions/technet-magazine/hh304572(v=msdn.10)"};
constexpr Source kDesktopPolicies{"Policy CSP - ADMX_Desktop, NoDesktopCleanupWizard (User Configuration)",
                                  "learn.microsoft.com/windows/client-management/mdm/policy-csp-admx-desktop"};
constexpr Source kTaskbarPolicies{"Policy CSP - ADMX_Taskbar, TaskbarNoNotification \"Turn off all balloon "
                                  "notifications\" (User Configuration)",
                                  "learn.microsoft.com/windows/client-management/mdm/policy-csp-admx-taskbar"};
constexpr Source kStartMenuPolicies{"Policy CSP - ADMX_StartMenu (the policy's registry value, User Configuration)",
                                    "learn.microsoft.com/windows/client-management/mdm/policy-csp-admx-startmenu"};
constexpr Source kRunPolicy{"Policy CSP - ADMX_StartMenu, NoRun \"Remove Run menu from Start Menu\" (Computer and "
                            "User Configuration)",
                            "learn.microsoft.com/windows/client-management/mdm/policy-csp-admx-startmenu"};
constexpr Source kControlPanelPolicy{"Policy CSP - ADMX_ControlPanel, NoControlPanel \"Prohibit access to Control "
                                     "Panel and PC settings\" (User Configuration)",
                                     "learn.microsoft.com/windows/client-management/mdm/policy-csp-admx-controlpanel"};
constexpr Source kHomePagePolicy{"The 'Disable changing home page settings' policy does not apply as expected "
                                 "(KB 2501278): Internet Explorer 7 and later use the policy's Start Page",
                                 "support.microsoft.com/help/2501278"};
// The retirement FAQ itself is not among the stored pages; its words were
// read as the press quoted them (rcpmag.com, 2021-05-25 and 2022-06-13;
// malwarebytes.com, 2022-06), and the source named is the FAQ's own address.
constexpr Source kIeRetired{"Internet Explorer 11 desktop app retirement FAQ: retired on Windows 10 semi-annual "
                            "versions from 20H2; LTSC and Server editions and the MSHTML platform out of scope",
                            "aka.ms/IEJune15Blog"};
// The page is Microsoft's own (its title and address as Microsoft gives them).
constexpr Source kIeNotOn11{"Windows 11 Specs and System Requirements, feature deprecations and removals: "
                            "\"Internet Explorer is "
                            "disabled\"",
                            "www.microsoft.com/windows/windows-11-specifications"};
constexpr Source kBootConfiguration{"BCDEdit (Windows commands): \"the primary tool for editing the boot "
                                    "configuration of Windows Vista and later\"; the store's objects \"effectively "
                                    "replace Boot.ini\"",
                                    "learn.microsoft.com/windows-server/administration/windows-commands/bcdedit"};
constexpr Source kBootOptions{"Mapping Boot Options to Elements (Boot Configuration Data reference)", ""};
constexpr Source kFileProtection{"Windows Resource Protection: \"the new name for Windows File Protection (WFP)\", "
                                 "which guards system files on Windows XP",
                                 "learn.microsoft.com/windows/win32/wfp/windows-resource-protection-portal"};
constexpr Source kRunKeys{"Run and RunOnce Registry Keys: \"cause programs to run each time that a user logs on\"",
                          "learn.microsoft.com/windows/win32/setupapi/run-and-runonce-registry-keys"};
constexpr Source kLegacyRunList{"DisableLocalMachineRun (Windows 2000 Registry Reference): \"the value in "
                                "HKEY_LOCAL_MACHINE takes precedence\"",
                                ""};
// [MS-GPPREF] (Group Policy: Preferences Extension Data Structure, v20240423):
// its elements map their attributes to the client's registry values, and its
// Appendix A lists Windows XP to Windows 11 with no exception for these
// sections (their endnotes <6>, <7>, <8>, <15>, <16> only say the paths may
// differ off Windows).
constexpr const char* kGppAddress = "learn.microsoft.com/openspecs/windows_protocols/ms-gppref";
constexpr Source kGppFolderOptions{"[MS-GPPREF] 2.2.1.7.1 GlobalFolderOptions and 2.2.1.7.2 GlobalFolderOptionsVista "
                                   "elements; Appendix A: Windows XP to 11",
                                   kGppAddress};
constexpr Source kGppStartMenu{"[MS-GPPREF] 2.2.1.21.1 StartMenu and 2.2.1.21.2 StartMenuVista inner elements; "
                               "Appendix A: Windows XP to 11",
                               kGppAddress};
constexpr Source kGppStartMenuVista{"[MS-GPPREF] 2.2.1.21.2 StartMenuVista inner element; Appendix A: Windows XP "
                                    "to 11",
                                    kGppAddress};
constexpr Source kGppInternetExplorer11{"[MS-GPPREF] 2.2.1.10.4 Internet Explorer 10 and Internet Explorer 11 "
                                        "Registry Keys; IE11 is preinstalled with Windows 8.1 (Internet Explorer "
                                        "11 - FAQ for IT Pros) and Windows 10 includes it (Overview of Windows as "
                                        "a service)",
                                        kGppAddress};
// Vantrel's own actions, which no Windows setting stands between.
constexpr Source kOwnAction{"none needed: Vantrel does it itself when the button or menu item is chosen", ""};
constexpr Source kNothingWritten{"none needed: Vantrel writes nothing for it", ""};

// ---- the facts ----

constexpr const char* kExplorerPolicies = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";

// A restriction under the current user's Explorer policies, on while it holds
// 1: Group Policy "adds this entry to the registry with a value of 1 when you
// enable the policy" (Windows 2000 Registry Reference, e.g. "NoDesktop"); the
// policies' key and "User Configuration" come from the source named.
constexpr PolicyRule UserRestriction(const char* value, const Source& source) {
    return {{{{{reg::kCurrentUser, kExplorerPolicies, value}}, "1"}}, &source};
}

// The values that decide for some settings, named by the rows below.
constexpr PolicyRule kTaskbarNoNotification = UserRestriction("TaskbarNoNotification", kTaskbarPolicies);
constexpr PolicyRule kNoDesktopCleanupWizard = UserRestriction("NoDesktopCleanupWizard", kDesktopPolicies);
constexpr PolicyRule kNoControlPanel = UserRestriction("NoControlPanel", kControlPanelPolicy);
constexpr PolicyRule kNoSMHelp = UserRestriction("NoSMHelp", kStartMenuPolicies);
constexpr PolicyRule kNoSMMyDocs = UserRestriction("NoSMMyDocs", kStartMenuPolicies);
constexpr PolicyRule kNoStartMenuMyMusic = UserRestriction("NoStartMenuMyMusic", kStartMenuPolicies);
constexpr PolicyRule kNoSMMyPictures = UserRestriction("NoSMMyPictures", kStartMenuPolicies);
constexpr PolicyRule kNoNetworkConnections = UserRestriction("NoNetworkConnections", kStartMenuPolicies);
constexpr PolicyRule kNoStartMenuNetworkPlaces = UserRestriction("NoStartMenuNetworkPlaces", kStartMenuPolicies);
constexpr PolicyRule kNoRecentDocsMenu = UserRestriction("NoRecentDocsMenu", kStartMenuPolicies);
constexpr PolicyRule kNoFind = UserRestriction("NoFind", kStartMenuPolicies);
constexpr PolicyRule kNoFavoritesMenu = UserRestriction("NoFavoritesMenu", kStartMenuPolicies);
// "Run" (List1[11]): NoRun for the computer or for the user.
constexpr PolicyRule kNoRun{
    {{{{reg::kLocalMachine, kExplorerPolicies, "NoRun"}, {reg::kCurrentUser, kExplorerPolicies, "NoRun"}},
      "1",
      Holds::Equals,
      true}},
    &kRunPolicy};
// The local machine's startup items (tool:runmachine).
constexpr PolicyRule kDisableLocalMachineRun{{{{{reg::kLocalMachine, kExplorerPolicies, "DisableLocalMachineRun"},
                                                {reg::kCurrentUser, kExplorerPolicies, "DisableLocalMachineRun"}},
                                               "1"}},
                                             &kLegacyRunList};
// The home page (Text16): the administrator's Start Page, changing the home
// page turned off, Internet Explorer 7 or later.
constexpr PolicyRule kHomePageLocked{
    {{{{reg::kCurrentUser, R"(Software\Policies\Microsoft\Internet Explorer\Main)", "Start Page"}},
      nullptr,
      Holds::Any},
     {{{reg::kCurrentUser, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel)", "HomePage"}}, "1"},
     {{{reg::kLocalMachine, R"(Software\Microsoft\Internet Explorer)", "Version"}}, "7", Holds::AtLeast}},
    &kHomePagePolicy};
// "Enable Net Send" (Check1): the control set the next start uses.
constexpr StoredCondition kOtherControlSet{
    {{{reg::kLocalMachine, R"(SYSTEM\Select)", "Default"}}, "1", Holds::Differs},
    "The next start uses another control set than ControlSet001, which this setting writes",
    &kControlSets};

// Rows whose feature is the Internet Explorer desktop window itself (it
// opens full screen, its Search Assistant bar, the Go button of its address
// bar): nothing else reads them, so where the desktop application is retired
// or missing they are not used. Every other Internet Explorer row is also
// read by the MSHTML platform (WebOC), which the retirement leaves in place,
// and stays unknown.
constexpr Dependency InternetExplorerWindow(const char* subject) {
    return {.subject = subject,
            .versions = {{.from = kWindows10v20H2, .before = kWindows11,
                          .editions = edition::kHome | edition::kClient | edition::kEnterprise, .effect = false,
                          .why = "Not used on this edition of Windows 10 from version 20H2 (build 19042): its "
                                 "Internet Explorer 11 desktop application, the only reader of this setting, is "
                                 "retired there and opens Microsoft Edge.",
                          .source = &kIeRetired},
                         {.from = kWindows11, .effect = false,
                          .why = "Not used by Windows 11: it has no Internet Explorer 11 desktop application, the "
                                 "only reader of this setting.",
                          .source = &kIeNotOn11}}};
}

// A value that one of [MS-GPPREF]'s Folder Options or Start menu elements
// maps: a registry value of the client on every product it lists.
constexpr VersionFact Listed(const Source& source) {
    return {.from = kWindowsXp, .before = kPastListed, .source = &source};
}

// A value that the Internet Explorer 10 and 11 element of [MS-GPPREF] maps:
// in effect where Internet Explorer 11 is part of Windows, on Windows 8.1 and
// on the Windows 10 client editions; elsewhere unknown (Windows 7 may run
// Internet Explorer 8 to 11, Windows Server 2016 and later and Windows 11 are
// not named by either page). The elements for Internet Explorer 5 to 9 (some
// of which name NotifyDownloadComplete too) are not used: no page found says
// which Internet Explorer Windows XP, Vista and 8 carry.
constexpr Dependency InternetExplorer11(const char* subject) {
    return {.subject = subject,
            .versions = {{.from = kWindows81, .before = kWindows10, .source = &kGppInternetExplorer11},
                         {.from = kWindows10, .before = kWindows11,
                          .editions = edition::kHome | edition::kClient | edition::kEnterprise | edition::kLtsc,
                          .source = &kGppInternetExplorer11}}};
}

constexpr Dependency kTable[] = {
    // ---- Explorer ----
    // "Enable Net Send" starts the Messenger service at the next start, from
    // the control set it writes (ControlSet001); the next start uses the one
    // "Select" names as "Default".
    {.subject = "Check1",
     .versions = {{.from = {5, 0, 0}, .before = kWindowsVista, .source = &kMessengerGone},
                  {.from = kWindowsVista, .effect = false, .source = &kMessengerGone}},
     .noEffectWhile = &kOtherControlSet,
     .timing = Timing::Restart,
     .timingSource = &kServiceStart},
    // "Enable Auto Complete": AutoSuggest under Explorer\AutoComplete, which
    // the Internet Explorer 10 and 11 element maps.
    InternetExplorer11("Check2"),
    // "Enable Balloon Tips": no Microsoft page names EnableBalloonTips
    // (searched: the value, balloon tips articles): versions unknown. The
    // policy that turns off all balloon notifications overrides it.
    {.subject = "Check3", .policy = &kTaskbarNoNotification},
    // "Show Hidden Files and Folders", "Hide file extension of known file
    // types": Explorer\Advanced\Hidden and HideFileExt, which both Folder
    // Options elements map (the attributes "hidden" and "hideFileExt").
    // Before Windows XP: unknown.
    {.subject = "Check4", .versions = {Listed(kGppFolderOptions)}},
    {.subject = "Check5", .versions = {Listed(kGppFolderOptions)}},
    // Days between desktop cleanup: the wizard of Windows XP, gone from
    // Windows Vista on; its policy "Remove the Desktop Cleanup Wizard".
    {.subject = "Text1",
     .versions = {{.from = kWindowsXp, .before = kWindowsVista, .source = &kCleanupGone},
                  {.from = kWindowsVista, .effect = false, .source = &kCleanupGone}},
     .policy = &kNoDesktopCleanupWizard},
    // Registered organization and owner: no page found on what reads them
    // after setup.
    {.subject = "Text21"},
    {.subject = "Text19"},
    // The four search options of the Windows XP search: no page found naming
    // the values.
    {.subject = "Check6"},
    {.subject = "Check7"},
    {.subject = "Check8"},
    {.subject = "Check9"},

    // ---- Keyboard and Mouse ----
    // SystemParametersInfo documents the features (SPI_SETKEYBOARDDELAY,
    // SPI_SETMOUSETRAILS, ...) but names no value under Control Panel\Keyboard
    // or Control Panel\Mouse; no page found that does for Windows XP to 11.
    {.subject = "Slider3"},
    {.subject = "Slider4"},
    {.subject = "Check10"},
    {.subject = "Option1|Option2"},
    {.subject = "Slider1"},
    {.subject = "Slider2"},

    // ---- Internet Options ----
    InternetExplorerWindow("Check11"),  // full screen on startup
    InternetExplorerWindow("Check12"),  // Search Assistant
    // The script debugger, image resizing, animations and printed
    // backgrounds: the Internet Explorer 10 and 11 element names other
    // values (DisableScriptDebugging, AutoImageResize, PlayAnimations) and
    // no Print_Background (Main\Print_Background: the 8 and 9 element):
    // unknown.
    {.subject = "Check13"},
    {.subject = "Check14"},
    InternetExplorer11("Check15"),  // Use FormSuggest
    InternetExplorer11("Check16"),  // NotifyDownloadComplete
    {.subject = "Check17"},
    {.subject = "Check18"},
    InternetExplorerWindow("Check19"),  // Go button
    // The home page. With "Disable changing home page settings" on
    // (Control Panel\HomePage = 1), Internet Explorer 7 and later use the
    // administrator's Start Page instead of the user's; Internet Explorer 6
    // and earlier still read the user's. The installed version is the
    // "Version" string under HKLM\Software\Microsoft\Internet Explorer
    // ("Licensing and Distribution", Internet Explorer developer
    // documentation, learn.microsoft.com/previous-versions/windows/internet-explorer/ie-developer/platform-apis/aa770040(v=vs.85)).
    // Its versions: unknown (read by the WebOC's GoHome as well; the
    // Internet Explorer 10 and 11 element of [MS-GPPREF] maps the home page
    // to Main\Homepage, not to the Start Page this row writes; nor does it
    // name the Search Page or the Download Directory).
    {.subject = "Text16", .policy = &kHomePageLocked},
    {.subject = "Text17"},
    {.subject = "Text18"},

    // ---- Start menu items ----
    // Every item's value is mapped by the [MS-GPPREF] Start menu elements,
    // whose values "define behaviors of the client operating system"
    // (2.2.1.21.3): by both elements, or by the Vista element alone for
    // Start_AdminToolsRoot (systemAdmin) and Start_ShowRun (runCommand; the
    // XP element maps its showRun to another value, StartShowRun). Before
    // Windows XP: unknown. The policies' "supported on" ranges say nothing
    // of the values. Each policy below removes its item.
    {.subject = "List1[0]", .versions = {Listed(kGppStartMenuVista)}},  // Administrative Tools: no policy found
    {.subject = "List1[1]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoControlPanel},
    {.subject = "List1[2]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoSMHelp},
    {.subject = "List1[3]", .versions = {Listed(kGppStartMenu)}},  // My Computer: no policy found
    {.subject = "List1[4]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoSMMyDocs},
    {.subject = "List1[5]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoStartMenuMyMusic},
    {.subject = "List1[6]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoSMMyPictures},
    {.subject = "List1[7]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoNetworkConnections},
    {.subject = "List1[8]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoStartMenuNetworkPlaces},
    {.subject = "List1[9]", .versions = {Listed(kGppStartMenu)}},  // Printers and Faxes: no policy found
    {.subject = "List1[10]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoRecentDocsMenu},
    // "Run": NoRun may be set for the computer or for the user. Which root
    // wins when they differ is not documented: either one holding 1 counts.
    {.subject = "List1[11]", .versions = {Listed(kGppStartMenuVista)}, .policy = &kNoRun},
    {.subject = "List1[12]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoFind},
    {.subject = "List1[13]", .versions = {Listed(kGppStartMenu)}, .policy = &kNoFavoritesMenu},

    // ---- Windows 10 and 11 ----
    // Each policy's value is the policy itself: its Administrative
    // Template's "supported on" says where Windows processes it (the Policy
    // CSP's "Applicable OS" tells only when the management entry exists).
    // Timing: unknown but the mouse's.
    {.subject = "Check27",
     .versions = {{.before = kWindows10, .effect = false, .source = &kWebSearchPolicy},
                  {.from = kWindows10, .editions = edition::kHome | edition::kClient, .effect = false,
                   .why = kEnterpriseOnly, .source = &kEnterpriseEducation},
                  {.from = kWindows10, .source = &kWebSearchPolicy}}},
    {.subject = "Check28",
     .versions = {{.before = kWindows10, .effect = false, .source = &kSearchBoxPolicy},
                  {.from = kWindows10, .source = &kSearchBoxPolicy}}},
    {.subject = "Check29",
     .versions = {{.before = kWindows11, .effect = false, .source = &kRecommendedPolicy},
                  {.from = kWindows11, .source = &kRecommendedPolicy}}},
    // Its level 0 (Security) only on the Enterprise, Education and Server
    // editions; "using this setting on other devices is equivalent to
    // setting the value of 1" (the same page).
    {.subject = "Combo2",
     .versions = {{.before = kWindows10, .effect = false, .source = &kTelemetryPolicy},
                  {.from = kWindows10, .source = &kTelemetryPolicy}},
     .unhonoured = {.data = "0", .editions = edition::kHome | edition::kClient, .instead = "1",
                    .source = &kTelemetryPolicy}},
    {.subject = "Check30",
     .versions = {{.before = kWindows11, .effect = false, .source = &kCopilotPolicy},
                  {.from = kWindows11, .source = &kCopilotPolicy}}},
    {.subject = "Check31",
     .versions = {{.before = kWindows10, .effect = false, .source = &kRecallPolicy},
                  {.from = kWindows10, .source = &kRecallPolicy}}},
    {.subject = "Check32",
     .versions = {{.before = WindowsVersion{10, 0, 15063}, .effect = false, .source = &kCloudContentPolicies},
                  {.from = WindowsVersion{10, 0, 15063}, .source = &kCloudContentPolicies}}},
    {.subject = "Check33",
     .versions = {{.before = kWindows10, .effect = false, .source = &kCloudContentPolicies},
                  {.from = kWindows10, .editions = edition::kHome | edition::kClient, .effect = false,
                   .why = kEnterpriseOnly, .source = &kEnterpriseEducation},
                  {.from = kWindows10, .source = &kCloudContentPolicies}}},
    {.subject = "Check34",
     .versions = {{.before = kWindows10, .effect = false, .source = &kAdvertisingPolicy},
                  {.from = kWindows10, .source = &kAdvertisingPolicy}}},
    {.subject = "Check35",
     .versions = {{.before = kWindows10, .effect = false, .source = &kWidgetsPolicy},
                  {.from = kWindows10, .source = &kWidgetsPolicy}}},
    {.subject = "Check36",
     .versions = {{.before = kWindows10, .effect = false, .source = &kCloudContentPolicies},
                  {.from = kWindows10, .editions = edition::kHome | edition::kClient, .effect = false,
                   .why = kEnterpriseOnly, .source = &kEnterpriseEducation},
                  {.from = kWindows10, .source = &kCloudContentPolicies}}},
    // Also for Windows 10 Pro (a note of the same page); Home: unknown.
    {.subject = "Check37",
     .versions = {{.before = kWindows10, .effect = false, .source = &kCloudContentPolicies},
                  {.from = kWindows10, .editions = edition::kClient | edition::kEnterprise | edition::kLtsc,
                   .source = &kEnterpriseEducation}}},
    {.subject = "Check38",
     .versions = {{.before = kWindows10, .effect = false, .source = &kCloudContentPolicies},
                  {.from = kWindows10, .editions = edition::kHome | edition::kClient, .effect = false,
                   .why = kEnterpriseOnly, .source = &kEnterpriseEducation},
                  {.from = kWindows10, .source = &kCloudContentPolicies}}},
    {.subject = "Check39",
     .versions = {{.before = WindowsVersion{10, 0, 17134}, .effect = false, .source = &kCloudContentPolicies},
                  {.from = WindowsVersion{10, 0, 17134}, .source = &kCloudContentPolicies}}},
    // The mouse's acceleration: documented from Windows 2000, and handed to
    // Windows at once (SPI_SETMOUSE, minimum supported client Windows 2000
    // Professional).
    {.subject = "Combo3",
     .versions = {{.from = {5, 0, 0}, .source = &kMouseSpeed}},
     .timing = Timing::AtOnce,
     .timingSource = &kMouseSpeed},

    // ---- Accessibility Options ----
    // The Utility Manager's "Start with Windows": no page found on which
    // versions read it.
    {.subject = "Check21"},
    {.subject = "Check22"},
    {.subject = "Check23"},

    // ---- Personal Folders ----
    // "Shell Folders" is a shadow kept for old programs ("Windows
    // Confidential: The Sad Story of the Shell Folders Key", TechNet
    // Magazine); no page found on the versions that read the "User Shell
    // Folders" values the rows write first.
    {.subject = "Text5"},
    {.subject = "Text7"},
    {.subject = "Text8"},
    {.subject = "Text10"},
    {.subject = "Text11"},
    {.subject = "Text12"},
    {.subject = "Text13"},
    {.subject = "Text14"},
    {.subject = "Text15"},

    // ---- Windows Information: read only, nothing is written ----
    {.subject = "Label13", .timing = Timing::ReadOnly, .timingSource = &kNothingWritten},
    {.subject = "Label15", .timing = Timing::ReadOnly, .timingSource = &kNothingWritten},
    {.subject = "Label17", .timing = Timing::ReadOnly, .timingSource = &kNothingWritten},
    {.subject = "Label19", .timing = Timing::ReadOnly, .timingSource = &kNothingWritten},
    {.subject = "Label21", .timing = Timing::ReadOnly, .timingSource = &kNothingWritten},
    {.subject = "Label23", .timing = Timing::ReadOnly, .timingSource = &kNothingWritten},
    {.subject = "Label25", .timing = Timing::ReadOnly, .timingSource = &kNothingWritten},
    {.subject = "Label27", .timing = Timing::ReadOnly, .timingSource = &kNothingWritten},

    // ---- tools ----
    // Boot.ini: replaced by the boot configuration store from Windows Vista
    // on; read when the computer starts.
    {.subject = "tool:bootini",
     .versions = {{.from = {5, 0, 0}, .before = kWindowsVista, .source = &kBootConfiguration},
                  {.from = kWindowsVista, .effect = false, .source = &kBootConfiguration}},
     .timing = Timing::Restart,
     .timingSource = &kBootOptions},
    // Boot and logon screens: Windows File Protection guards ntoskrnl.exe and
    // logonui.exe on Windows XP, where the tool replaces them as it
    // describes; from Windows Vista on, Windows Resource Protection lets no
    // program but Windows' own installer replace them. Timing: unknown.
    {.subject = "tool:screens",
     .versions = {{.from = {5, 0, 0}, .before = kWindowsVista, .source = &kFileProtection},
                  {.from = kWindowsVista, .effect = false, .source = &kFileProtection}}},
    // Cache cleanup: the folder is removed when the button is pressed.
    {.subject = "tool:cache",
     .versions = {{.source = &kOwnAction}},
     .timing = Timing::AtOnce,
     .timingSource = &kOwnAction},
    // Startup items. The current user's list: its policies unknown (the
    // legacy run list policy names another key).
    {.subject = "tool:runuser",
     .versions = {{.source = &kRunKeys}},
     .timing = Timing::NextLogon,
     .timingSource = &kRunKeys},
    // The local machine's list: DisableLocalMachineRun = 1 directs the
    // system to ignore it; the machine's value takes precedence.
    {.subject = "tool:runmachine",
     .versions = {{.source = &kRunKeys}},
     .policy = &kDisableLocalMachineRun,
     .timing = Timing::NextLogon,
     .timingSource = &kRunKeys},
    // Web links: the address is opened when the menu item is chosen.
    {.subject = "tool:weblinks",
     .versions = {{.source = &kOwnAction}},
     .timing = Timing::AtOnce,
     .timingSource = &kOwnAction},
    // The e-mail security page stays hidden and writes nothing.
    {.subject = "tool:email", .timing = Timing::ReadOnly, .timingSource = &kNothingWritten},
};

}  // namespace

std::span<const Dependency> Dependencies() {
    return kTable;
}

const std::vector<ToolSubject>& ToolSubjects() {
    static const std::vector<ToolSubject> tools = {
        {"tool:bootini", "Startup", "Boot.ini:", "Command13"},
        {"tool:screens", "Startup", "Load Screens:", "Text2|Text3"},
        {"tool:cache", "Caching", "Caching Options:", ""},
        {"tool:runuser", "Startup Items", "Current User Start Up Items:", "List3"},
        {"tool:runmachine", "Startup Items", "Local Machine Startup Items:", "List2"},
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
