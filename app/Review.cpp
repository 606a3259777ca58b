#include "app/Review.h"

#include <algorithm>

#include "app/Report.h"
#include "registry/RecordingRegistry.h"
#include "registry/RegistryRoutines.h"
#include "settings/TweakRow.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

std::string TypeName(std::uint32_t type) {
    switch (type) {
    case reg::kNone: return "REG_NONE";
    case reg::kSz: return "REG_SZ";
    case reg::kExpandSz: return "REG_EXPAND_SZ";
    case reg::kBinary: return "REG_BINARY";
    case reg::kDword: return "REG_DWORD";
    case reg::kMultiSz: return "REG_MULTI_SZ";
    case 11: return "REG_QWORD";
    default: return "type " + std::to_string(type);
    }
}

// Strings of string data, each cut at its NUL; whether the last one had one.
std::vector<std::u16string> Strings(const std::vector<std::uint8_t>& data, bool* terminated) {
    const std::u16string text = FromUtf16LeBytes(data);
    std::vector<std::u16string> strings;
    std::size_t start = 0;
    *terminated = false;
    while (start < text.size()) {
        const std::size_t nul = text.find(u'\0', start);
        if (nul == std::u16string::npos) {
            strings.push_back(text.substr(start));
            return strings;
        }
        strings.push_back(text.substr(start, nul - start));
        start = nul + 1;
        *terminated = true;
    }
    return strings;
}

std::string Hex(const std::vector<std::uint8_t>& data) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    constexpr std::size_t kShown = 16;
    std::string out;
    for (std::size_t i = 0; i < data.size() && i < kShown; ++i) {
        if (i != 0) out.push_back(' ');
        out += {kDigits[data[i] >> 4], kDigits[data[i] & 0xF]};
    }
    if (data.size() > kShown) out += " ... (" + std::to_string(data.size()) + " bytes)";
    return out.empty() ? "(no data)" : out;
}

// The data the registry would hold after a text write of the given type;
// nothing when the text does not convert to a number.
std::optional<StoredData> DataOfText(const CodePage& ansi, std::uint32_t type, const std::string& text) {
    if (type == reg::kDword) {
        const auto n = TextToLong(text);
        if (!n) return std::nullopt;
        const auto bytes = reg::DwordBytes(static_cast<std::uint32_t>(*n));
        return StoredData{reg::kDword, {bytes.begin(), bytes.end()}};
    }
    const std::string terminated = text + '\0';
    return StoredData{type, AnsiDataToStored(ansi, type, reinterpret_cast<const std::uint8_t*>(terminated.data()),
                                             terminated.size())};
}

// A change worth showing: it alters the value, or it is a write that would
// not be made though it would have altered it (or whose outcome is unknown).
bool Shows(const ValueChange& change, bool intentKnown) {
    if (change.notWritten.empty() || intentKnown) return change.written != change.now;
    return true;
}

}  // namespace

std::string WrittenText(const std::optional<StoredData>& written) {
    if (!written) return {};
    if (written->type == reg::kDword && written->data.size() == 4) return std::to_string(reg::DwordOf(written->data.data()));
    if (!IsStringType(written->type)) return {};
    std::u16string text = FromUtf16LeBytes(written->data);
    return Utf16ToUtf8(text.substr(0, text.find(u'\0')));
}

std::optional<StoredData> StoredNow(Registry& reg, RegKey root, const std::string& key, const std::string& value) {
    RegKey handle = 0;
    if (reg.OpenKey(root, Utf8ToAnsi(reg.codePage(), key), &handle) != reg::kSuccess) return std::nullopt;
    StoredData stored;
    const bool read = QueryStoredValue(reg, handle, Utf8ToUtf16(value), &stored.type, &stored.data);
    reg.CloseKey(handle);
    if (!read) return std::nullopt;
    return stored;
}

std::vector<ValueChange> ChangesOfApply(Form& form1, Registry& reg, FileSystem& errors, const Standings& standings,
                                        const std::vector<SkippedWrite>& keep) {
    const CodePage& ansi = reg.codePage();
    RecordingRegistry layer(reg);
    const std::vector<SkippedWrite> skipped = Worded(ApplySettings(form1, layer, keep), errors);
    std::vector<ValueChange> changes, noEffect;
    for (const ValueRef& target : ApplyTargets()) {
        const RecordingRegistry::Write* last = nullptr;
        for (const RecordingRegistry::Write& w : layer.writes()) {
            if (SameValue({w.root, Utf8ToAnsi(ansi, w.path), Utf8ToAnsi(ansi, w.name)}, target)) last = &w;
        }
        const SkippedWrite* skip = nullptr;
        for (const SkippedWrite& s : skipped) {
            if (SameValue({s.root, s.key, s.value}, target)) skip = &s;
        }
        if (last == nullptr && skip == nullptr) continue;

        ValueChange change{target.page, target.caption, target.root,
                           AnsiToUtf8(ansi, WithoutTrailingBackslash(target.key)), AnsiToUtf8(ansi, target.value)};
        change.control = target.control;
        change.now = StoredNow(reg, change.root, change.key, change.value);
        bool intentKnown = true;
        if (last != nullptr) {
            if (!last->remove) change.written = StoredData{last->type, last->data};
        } else if (skip->remove) {
            change.notWritten = skip->reason;  // a deletion the registry would refuse
        } else {
            change.written = DataOfText(ansi, skip->type, skip->text);
            intentKnown = change.written.has_value();
            change.notWritten = intentKnown ? skip->reason : Quoted(AnsiToUtf8(ansi, skip->text)) + " is " + skip->reason;
        }
        if (!Shows(change, intentKnown)) continue;
        const Standing standing = standings.Of(target.control);
        if (standing.kind == StandingKind::NoEffect) {
            change.noEffect = true;
            change.notWritten = "no effect on this Windows (" + standing.why + ")";
            noEffect.push_back(std::move(change));
        } else {
            changes.push_back(std::move(change));
        }
    }
    for (ValueChange& c : noEffect) changes.push_back(std::move(c));  // last, as a group
    return changes;
}

ManagedOps SplitManaged(const std::vector<RegOp>& ops, const CodePage& ansi) {
    ManagedOps split;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const RegOp& op = ops[i];
        const std::string where = std::string(RegRootShortName(op.root)) + (op.path.empty() ? "" : "\\" + op.path);
        switch (op.kind) {
        case RegOpKind::SetValue:
        case RegOpKind::DeleteValue:
            if (FindTarget(ansi, op.root, op.path, op.name) != nullptr) {
                split.ops.push_back(op);
            } else {
                split.others.push_back(DescribeValue(op.root, op.path, op.name) +
                                       (op.kind == RegOpKind::DeleteValue ? " (to delete)" : ""));
            }
            break;
        case RegOpKind::DeleteKey:
            split.others.push_back(where + " (the whole key, to delete)");
            break;
        case RegOpKind::CreateKey: {
            // A key block without values names a key and nothing in it.
            const bool empty = i + 1 == ops.size() || ops[i + 1].kind == RegOpKind::CreateKey ||
                               ops[i + 1].kind == RegOpKind::DeleteKey;
            if (empty) split.others.push_back(where + " (a key)");
            break;
        }
        }
    }
    return split;
}

std::vector<ValueChange> ChangesOfOps(Registry& reg, const std::vector<RegOp>& ops, FileSystem& errors) {
    const CodePage& ansi = reg.codePage();
    RecordingRegistry layer(reg);
    std::vector<ValueChange> changes;
    for (const RegOp& op : ops) {
        if (op.kind != RegOpKind::SetValue && op.kind != RegOpKind::DeleteValue) continue;
        const ValueRef ref{op.root, Utf8ToAnsi(ansi, op.path), Utf8ToAnsi(ansi, op.name)};
        auto change = std::find_if(changes.begin(), changes.end(), [&](const ValueChange& c) {
            return SameValue({c.root, Utf8ToAnsi(ansi, c.key), Utf8ToAnsi(ansi, c.value)}, ref);
        });
        if (change == changes.end()) {
            const ValueRef* target = FindTarget(ansi, op.root, op.path, op.name);
            change = changes.insert(changes.end(), ValueChange{target ? target->page : "", target ? target->caption : "",
                                                               op.root, op.path, op.name});
            if (target) change->control = target->control;
            change->now = StoredNow(reg, op.root, op.path, op.name);
        }
        change->written.reset();
        if (op.kind == RegOpKind::SetValue) change->written = StoredData{op.type, op.data};
        const long status = ApplyRegOp(layer, op);
        change->notWritten.clear();
        if (status != reg::kSuccess) change->notWritten = RefusedReason(errors, status);
    }
    changes.erase(std::remove_if(changes.begin(), changes.end(), [](const ValueChange& c) { return !Shows(c, true); }),
                  changes.end());
    return changes;
}

std::string DescribeStored(const std::optional<StoredData>& stored) {
    if (!stored) return "(absent)";
    const std::vector<std::uint8_t>& data = stored->data;
    std::string body;
    std::string type = TypeName(stored->type);
    if (IsStringType(stored->type) && data.size() % 2 == 0) {
        bool terminated = false;
        const std::vector<std::u16string> strings = Strings(data, &terminated);
        // A single string shows what stands before its NUL, and any text after it.
        bool after = false;
        for (std::size_t i = 0; i < strings.size(); ++i) {
            const std::u16string& s = strings[i];
            if ((stored->type == reg::kMultiSz || i > 0) && s.empty()) continue;
            after = after || (i > 0 && stored->type != reg::kMultiSz);
            body += (body.empty() ? "\"" : ", \"") + Utf16ToUtf8(s) + "\"";
        }
        if (body.empty()) body = "\"\"";
        if (after) type += ", text after a NUL";
        if (!terminated && !data.empty()) type += ", no closing NUL";
    } else if (stored->type == reg::kDword && data.size() == 4) {
        body = std::to_string(reg::DwordOf(data.data()));
    } else {
        body = Hex(data);
    }
    return body + " (" + type + ")";
}

std::string DescribeValue(RegKey root, const std::string& key, const std::string& value) {
    return std::string(RegRootShortName(root)) + (key.empty() ? "" : "\\" + key) + " : " +
           (value.empty() ? std::string("(Default)") : value);
}

ReviewList ReviewListOf(const std::vector<ValueChange>& changes, const std::string& title, const std::string& intro,
                        const Standings& standings, const CodePage& ansi) {
    ReviewList list{title, intro,
                    {"Page", "Setting", "Key and value name", "Stored now", "Would be written", "Takes effect"},
                    {}, "Apply Changes", "Close"};
    for (const ValueChange& c : changes) {
        std::string written = c.written ? DescribeStored(c.written) : std::string("(deleted)");
        if (!c.notWritten.empty()) {
            written = (c.written ? written + " - " : std::string()) + "not saved: " + c.notWritten;
        }
        // A choice this edition does not honour says what Windows does instead.
        const std::string unhonoured = standings.Unhonoured(c.control, WrittenText(c.written));
        list.rows.push_back({{PageName(c.page), c.setting, DescribeValue(c.root, c.key, c.value), DescribeStored(c.now),
                              written,
                              AnsiToUtf8(ansi, unhonoured.empty() ? TakesEffect(standings.Of(c.control)) : unhonoured)},
                             !c.notWritten.empty() || !unhonoured.empty()});
    }
    return list;
}

}  // namespace vantrel
