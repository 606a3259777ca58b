// The settings catalogue: rows that tie a control of the main window to one
// registry value, and the engine that runs the load and apply passes over
// them. Groups are tables; no group has code of its own.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "registry/KeyNames.h"
#include "registry/Registry.h"
#include "registry/RegistryRoutines.h"

namespace vantrel {

class Form;
class LiveSettings;
class Standings;

// How a row's control is addressed. The "state" of a control is a whole number:
//   "Check4"           check box: 0, 1, 2
//   "Slider1"          slider: the position
//   "Text1", "Label13" text box or label: text only (direct rules)
//   "Option1|Option2"  option group: 0 none selected, 1 the first, 2 the second
//   "List1[3]"         item 3 of a check-box list: 0 unchecked, 1 checked
//   "Combo2"           drop-down list: the selected item's index, -1 none
// A control string names exactly one of these forms.

enum class Writer { None, String, Long };  // SaveString, SaveStringLong
enum class LoadForm { None, Direct, MatchText, MatchNumber };
enum class ApplyForm { None, Direct, Chosen };
// A setting Windows reads live, which the apply also hands to Windows at once
// for the user running Vantrel (LiveSettings, platform/Platform.h).
enum class Live { None, MouseAcceleration };

// Load: if T equals text, set the state. Apply: if the state equals state, write text.
struct RulePair {
    std::string text;
    int state;
};

struct TweakRow {
    std::string control{};   // see the addressing forms above
    std::string page{};      // caption of the page, for messages ("Explorer")
    std::string caption{};   // caption of the control or of the label beside it
    RegKey root = 0;
    std::string loadKey{};   // key path the load pass reads
    std::string applyKey{};  // key path the apply pass writes
    std::string value{};     // value name
    Writer writer = Writer::None;
    LoadForm load = LoadForm::None;
    std::vector<RulePair> loadPairs{};  // MatchText / MatchNumber, first match wins
    bool hasOtherwise = false;        // MatchText only: state for every other text
    int otherwise = 0;
    ApplyForm apply = ApplyForm::None;
    std::vector<RulePair> applyPairs{};  // Chosen, first holding pair wins
    std::string alsoControl{};  // a second text control set from the same read
    std::string applyKey2{};    // a second key the same text is written to, right after the first
    // The value describes this one computer (its owner, organisation, the
    // Messenger start type) rather than a choice for every computer: an
    // export for Group Policy offers it unticked.
    bool localOnly = false;
    // A policy value. Its absence is "Not configured", which the control shows
    // in this state (a grayed check box, a list's first item); the apply of
    // this state deletes the value where it is present. Stored data that no
    // state writes stays as stored while the control is left as loaded. -1:
    // not a policy.
    int notConfigured = -1;
    Live live = Live::None;
};

// A row as the group tables hold it: constant data, with the same fields as
// TweakRow (texts as literals, "" for none; rule pairs as constant arrays).
// RowsOf turns a table into the rows the passes run.
struct PairDef {
    const char* text;
    int state;
};

struct RowDef {
    const char* control = "";
    const char* page = "";
    const char* caption = "";
    RegKey root = 0;
    const char* loadKey = "";
    const char* applyKey = "";
    const char* value = "";
    Writer writer = Writer::None;
    LoadForm load = LoadForm::None;
    std::span<const PairDef> loadPairs{};
    bool hasOtherwise = false;
    int otherwise = 0;
    ApplyForm apply = ApplyForm::None;
    std::span<const PairDef> applyPairs{};
    const char* alsoControl = "";
    const char* applyKey2 = "";
    bool localOnly = false;
    int notConfigured = -1;
    Live live = Live::None;
};

std::vector<TweakRow> RowsOf(std::span<const RowDef> defs);

// One write the apply pass could not make.
struct SkippedWrite {
    std::string page;
    std::string caption;
    std::string reason;  // "not a whole number in range", "the registry refused the write"
    long status = 0;     // the registry's code for a refused write, which the report words
    // Where it would have written, and the text it would have written there.
    RegKey root = 0;
    std::string key{};
    std::string value{};
    std::uint32_t type = reg::kNone;  // REG_SZ or REG_DWORD
    std::string text{};
    bool remove = false;   // the value was to be deleted (a policy set to "Not configured")
    bool notHeld = false;  // written, but it did not read back as written
};

// One value an apply is about to write (for the backup taken before it), with
// the page and the caption of the control it comes from.
struct ValueRef {
    RegKey root = 0;
    std::string key{};
    std::string value{};
    std::string page{};
    std::string caption{};
    std::string control{};  // the row's control string
};

// The groups. Load and apply orders of the passes are fixed by Passes.
const std::vector<TweakRow>& AccessibilityRows();
const std::vector<TweakRow>& InternetExplorerRows();
const std::vector<TweakRow>& InputRows();          // keyboard, then mouse
const std::vector<TweakRow>& ExplorerRows();       // all twelve, in apply order
const std::vector<TweakRow>& WindowsInfoRows();    // read only
const std::vector<TweakRow>& StartMenuRows();      // the fourteen List1 items
const std::vector<TweakRow>& PersonalFolderRows();
// The "Windows 10 and 11" pages: policies and settings of those systems.
const std::vector<TweakRow>& ModernWindowsRows();
// The fourteen Start menu item texts in index order.
const std::vector<std::string>& StartMenuItems();
// The nine personal-folder boxes in table order.
const std::vector<std::string>& PersonalFolderBoxes();

// Runs one row's load: read with GetString, set the control by the load rule.
// A failed set step leaves the control as it was (the pass goes on). Marks
// the control (and the second control) loaded: whether the value was present
// and what the control holds now (Form::markLoaded).
void LoadRow(Form& form, Registry& reg, const TweakRow& row);
// Whether an export carries the row's value: the value was present where the
// last load or import read it, or the user has changed the control since. A
// control that no load has set counts as set.
bool ValueIsSet(Form& form, const TweakRow& row);
// Runs one row's apply; records writes that were refused or skipped, a row
// once even when it writes two keys.
void ApplyRow(Form& form, Registry& reg, const TweakRow& row, std::vector<SkippedWrite>& skipped);
// The text a row's apply writes for its control as it is now; nothing for a
// row that is not written, or when no chosen pair holds (a policy's "Not
// configured" included).
std::optional<std::string> ApplyText(Form& form, const TweakRow& row);
// Whether the row's apply deletes its value: a policy shown "Not configured".
bool ClearsValue(Form& form, const TweakRow& row);
// What a control (a row's control string) holds, as a direct apply writes it.
std::string HeldValue(Form& form, const std::string& control);
// Gives a control (a row's control string) of `to` the state or text it has on `from`.
void CopyControl(Form& from, Form& to, const std::string& control);

// After an apply: marks each row's control loaded as the load pass would
// now, with the values the apply stored (Form::markLoaded), the controls
// untouched.
void MarkStored(Form& form, Registry& reg);

// The load pass: accessibility, Internet Explorer, keyboard and mouse,
// Explorer (without owner and organisation), Windows information (which fills
// owner and organisation), the Windows 10 and 11 pages, then LoadShellFolders.
void LoadSettings(Form& form, Registry& reg);
void LoadShellFolders(Form& form, Registry& reg);
// Start-up's steps for the Start menu list: fill the fourteen items, then read the check marks.
void FillStartMenuList(Form& form);
void LoadStartMenuChecks(Form& form, Registry& reg);
// The writes of the apply pass: personal folders, accessibility, Internet
// Explorer, Start menu, keyboard and mouse, Explorer, the Windows 10 and 11
// pages (a policy's "Not configured" deletes its value). Returns the skipped
// writes. A row that writes a value named in `keep` is not written at all:
// the setting keeps its stored value. Given standings, rows with no effect
// on this Windows are not written (and are not skipped writes: nothing was
// lost). Once every row is written, each value written is read back; one
// that does not hold is a skipped write too (SkippedWrite::notHeld).
std::vector<SkippedWrite> ApplySettings(Form& form, Registry& reg, const std::vector<SkippedWrite>& keep = {},
                                        const Standings* standings = nullptr);
// The stored text of each row Windows reads live (TweakRow::live), in
// ApplyRows order ("" when absent): what LiveSettings compares with after.
std::vector<std::string> LiveValues(Registry& reg);
// After an apply, for the user running Vantrel: each row Windows reads live
// whose stored text differs from `before` (LiveValues taken before the
// apply) is handed to Windows as stored now.
void ApplyLive(Registry& reg, LiveSettings& live, const std::vector<std::string>& before);
// The rows ApplySettings writes, in its order.
const std::vector<const TweakRow*>& ApplyRows();
// Every value ApplySettings may write, in write order, without repeats: the
// values Vantrel manages.
const std::vector<ValueRef>& ApplyTargets();
// Every row of the catalogue once: the load pass's groups in its order, then
// the personal folders and the Start menu items.
const std::vector<const TweakRow*>& CatalogueRows();

// Whether two references name one value (names, too, compare without regard to case).
bool SameValue(const ValueRef& a, const ValueRef& b);
// The entry of ApplyTargets for a value; nullptr when the apply pass never writes it.
const ValueRef* FindTarget(const ValueRef& value);
// The same for a value a .reg file names (key path and name in UTF-8). A
// name the system's code page cannot carry exactly (one it would write with
// a look-alike character) names no managed value.
const ValueRef* FindTarget(const CodePage& ansi, RegKey root, std::string_view path, std::string_view name);

}  // namespace vantrel
