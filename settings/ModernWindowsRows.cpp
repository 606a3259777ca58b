// The "Windows 10 and 11" pages: Group Policy settings of those systems, each
// written where its Administrative Template writes it, and the mouse's
// acceleration. A policy's box shows the policy editor's three states:
// grayed "Not configured" (the value absent), checked "Enabled", unchecked
// "Disabled"; its caption is the policy's own name. Where no Microsoft source
// gives a policy's disabled data, the box has two states and never writes
// one. Every value, its data and its source: Dependencies.cpp gives where
// each takes effect; the values below come from these pages:
//   [ADMX]  the policy's Administrative Template (.admx, Microsoft): key,
//           value name, enabledValue and disabledValue;
//   [CSP]   the Policy CSP reference page of the policy
//           (learn.microsoft.com/windows/client-management/mdm/policy-csp-<area>),
//           "Group policy mapping": friendly name, key and value name;
//   [Conn]  "Manage connections from Windows operating system components to
//           Microsoft services" (learn.microsoft.com/windows/privacy/manage-
//           connections-from-windows-operating-system-components-to-microsoft-services).
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

constexpr const char* kSearch = "Search and Start";
constexpr const char* kPrivacy = "Privacy and suggestions";
constexpr const char* kSpotlight = "Widgets and spotlight";
constexpr const char* kPointer = "Mouse pointer";

constexpr const char* kWindowsSearch = R"(SOFTWARE\Policies\Microsoft\Windows\Windows Search)";
constexpr const char* kExplorer = R"(Software\Policies\Microsoft\Windows\Explorer)";
constexpr const char* kCloudContent = R"(Software\Policies\Microsoft\Windows\CloudContent)";

constexpr int kGrayed = 2;  // a policy's box: "Not configured"

// A policy shown by a check box: checked writes the data its pairs give
// Enabled, unchecked the data they give Disabled (none: the policy has no
// disabled value Vantrel writes, and the box cycles between grayed and
// checked), both as REG_DWORD; grayed deletes the value. Stored data of
// neither state leaves the box as it is, and an apply writes nothing for it
// until the box is changed.
constexpr PairDef kEnabled1Disabled0[] = {{"1", 1}, {"0", 0}};
constexpr PairDef kEnabled1[] = {{"1", 1}};
constexpr PairDef kEnabled0[] = {{"0", 1}};

constexpr RowDef PolicyBox(const char* control, const char* page, const char* caption, RegKey root,
                           const char* key, const char* value, std::span<const PairDef> pairs) {
    return {.control = control, .page = page, .caption = caption, .root = root, .loadKey = key, .applyKey = key,
            .value = value, .writer = Writer::Long, .load = LoadForm::MatchText, .loadPairs = pairs,
            .apply = ApplyForm::Chosen, .applyPairs = pairs, .notConfigured = kGrayed};
}

// The diagnostic data level, Combo2: item 0 "Not configured" (absent), items
// 1 to 4 the levels 0 to 3 of the policy's list (DataCollection.admx, enum
// AllowTelemetry; CSP System/AllowTelemetry; "Configure Windows diagnostic
// data in your organization": Security 0, Basic 1, Enhanced 2, Full 3).
constexpr PairDef kTelemetryLevels[] = {{"0", 1}, {"1", 2}, {"2", 3}, {"3", 4}};

// MouseSpeed, Combo3: "0 No acceleration. 1 Double at MouseThreshold1. 2
// Double at MouseThreshold1; quadruple at MouseThreshold2." (Windows 2000
// Registry Reference, "MouseSpeed", HKCU\Control Panel\Mouse, REG_SZ,
// technet.microsoft.com/library/cc978664.aspx). The thresholds are left as
// stored.
constexpr PairDef kMouseSpeeds[] = {{"0", 0}, {"1", 1}, {"2", 2}};

constexpr RegKey hkcu = reg::kCurrentUser, hklm = reg::kLocalMachine;

constexpr RowDef kRows[] = {
    // Search.admx DoNotUseWebResults [CSP Search]: Enabled writes 0
    // ([Conn], 2.1 "Cortana and Search Group Policies"); no disabled
    // data found (the CSP's 1 is the management value, not the ADMX's).
    PolicyBox("Check27", kSearch, "Don't search the web or display web results in Search", hklm, kWindowsSearch,
              "ConnectedSearchUseWeb", kEnabled0),
    // WindowsExplorer.admx DisableSearchBoxSuggestions, User [ADMX, CSP ADMX_WindowsExplorer].
    PolicyBox("Check28", kSearch, "Turn off display of recent search entries in the File Explorer search box",
              hkcu, kExplorer, "DisableSearchBoxSuggestions", kEnabled1Disabled0),
    // StartMenu.admx HideRecommendedSection, Both, no enabled or disabled
    // value in the ADMX; 1 is the CSP's "Recommended section hidden" [CSP Start].
    PolicyBox("Check29", kSearch, "Remove Recommended section from Start Menu", hkcu, kExplorer,
              "HideRecommendedSection", kEnabled1),
    {.control = "Combo2", .page = kPrivacy, .caption = "Allow Diagnostic Data", .root = hklm,
     .loadKey = R"(Software\Policies\Microsoft\Windows\DataCollection)",
     .applyKey = R"(Software\Policies\Microsoft\Windows\DataCollection)", .value = "AllowTelemetry",
     .writer = Writer::Long, .load = LoadForm::MatchText, .loadPairs = kTelemetryLevels,
     .apply = ApplyForm::Chosen, .applyPairs = kTelemetryLevels, .notConfigured = 0},
    // WindowsCopilot.admx TurnOffWindowsCopilot, User [ADMX, CSP WindowsAI].
    PolicyBox("Check30", kPrivacy, "Turn off Windows Copilot", hkcu,
              R"(SOFTWARE\Policies\Microsoft\Windows\WindowsCopilot)", "TurnOffWindowsCopilot",
              kEnabled1Disabled0),
    // DisableAIDataAnalysis, the user configuration [CSP WindowsAI]: 1 is
    // the CSP's "Disable Saving Snapshots"; the ADMX was not read.
    PolicyBox("Check31", kPrivacy, "Turn off saving snapshots for use with Recall", hkcu,
              R"(SOFTWARE\Policies\Microsoft\Windows\WindowsAI)", "DisableAIDataAnalysis", kEnabled1),
    // CloudContent.admx, User and Machine [ADMX, CSP Experience].
    PolicyBox("Check32", kPrivacy, "Do not use diagnostic data for tailored experiences", hkcu, kCloudContent,
              "DisableTailoredExperiencesWithDiagnosticData", kEnabled1Disabled0),
    PolicyBox("Check33", kPrivacy, "Turn off Microsoft consumer experiences", hklm, kCloudContent,
              "DisableWindowsConsumerFeatures", kEnabled1Disabled0),
    // "Turn off the advertising ID": Enabled writes 1 ([Conn], 18.1 General).
    PolicyBox("Check34", kPrivacy, "Turn off the advertising ID", hklm,
              R"(SOFTWARE\Policies\Microsoft\Windows\AdvertisingInfo)", "DisabledByGroupPolicy", kEnabled1),
    // NewsAndInterests.admx AllowNewsAndInterests, Machine [ADMX, CSP NewsAndInterests].
    PolicyBox("Check35", kSpotlight, "Allow widgets", hklm, R"(SOFTWARE\Policies\Microsoft\Dsh)",
              "AllowNewsAndInterests", kEnabled1Disabled0),
    PolicyBox("Check36", kSpotlight, "Turn off all Windows spotlight features", hkcu, kCloudContent,
              "DisableWindowsSpotlightFeatures", kEnabled1Disabled0),
    PolicyBox("Check37", kSpotlight, "Do not suggest third-party content in Windows spotlight", hkcu,
              kCloudContent, "DisableThirdPartySuggestions", kEnabled1Disabled0),
    PolicyBox("Check38", kSpotlight, "Do not show Windows tips", hklm, kCloudContent, "DisableSoftLanding",
              kEnabled1Disabled0),
    PolicyBox("Check39", kSpotlight, "Turn off Windows Spotlight on Settings", hkcu, kCloudContent,
              "DisableWindowsSpotlightOnSettings", kEnabled1Disabled0),
    {.control = "Combo3", .page = kPointer, .caption = "Mouse acceleration:", .root = hkcu,
     .loadKey = R"(Control Panel\Mouse)", .applyKey = R"(Control Panel\Mouse)", .value = "MouseSpeed",
     .writer = Writer::String, .load = LoadForm::MatchText, .loadPairs = kMouseSpeeds,
     .apply = ApplyForm::Chosen, .applyPairs = kMouseSpeeds, .live = Live::MouseAcceleration},
};

}  // namespace

const std::vector<TweakRow>& ModernWindowsRows() {
    static const std::vector<TweakRow> rows = RowsOf(kRows);
    return rows;
}

}  // namespace vantrel
