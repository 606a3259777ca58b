// The engine that runs one catalogue row: it addresses the row's control on
// the form, reads or sets its state and runs the row's load or apply rule.
// Every set step follows the resume-next discipline: a text that does not
// convert or a value the control refuses leaves the control as it was.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "model/Controls.h"
#include "settings/TweakRow.h"

namespace vantrel {
namespace {

// A control string resolved against a form.
struct Target {
    enum class Kind { Text, Check, Slider, Options, ListItem, Combo };
    Kind kind = Kind::Text;
    TextControl* text = nullptr;
    CheckBox* check = nullptr;
    Slider* slider = nullptr;
    OptionButton* first = nullptr;
    OptionButton* second = nullptr;
    ListBox* list = nullptr;
    int item = 0;
};

Target Resolve(Form& form, const std::string& control) {
    Target t;
    if (auto bar = control.find('|'); bar != std::string::npos) {
        t.kind = Target::Kind::Options;
        t.first = &form.option(control.substr(0, bar));
        t.second = &form.option(control.substr(bar + 1));
        return t;
    }
    if (auto open = control.find('['); open != std::string::npos) {
        t.kind = Target::Kind::ListItem;
        t.list = &form.list(control.substr(0, open));
        std::from_chars(control.data() + open + 1, control.data() + control.size(), t.item);
        return t;
    }
    Control& c = form.control(control);
    switch (c.kind()) {
    case ControlKind::CheckBox:
        t.kind = Target::Kind::Check;
        t.check = &static_cast<CheckBox&>(c);
        break;
    case ControlKind::Slider:
        t.kind = Target::Kind::Slider;
        t.slider = &static_cast<Slider&>(c);
        break;
    case ControlKind::ComboBox:
        t.kind = Target::Kind::Combo;
        t.list = &static_cast<ListBox&>(c);
        break;
    default:
        t.kind = Target::Kind::Text;
        t.text = &form.text(control);  // refuses any other kind
        break;
    }
    return t;
}

[[noreturn]] void Mismatch() {
    throw RunTimeError(errnum::kTypeMismatch, "Type mismatch");
}

int ReadState(const Target& t) {
    switch (t.kind) {
    case Target::Kind::Check: return t.check->value();
    case Target::Kind::Slider: return t.slider->value();
    case Target::Kind::Options: return t.first->value() ? 1 : (t.second->value() ? 2 : 0);
    case Target::Kind::ListItem: return t.list->Selected(t.item) ? 1 : 0;
    case Target::Kind::Combo: return t.list->ListIndex();
    case Target::Kind::Text: break;
    }
    Mismatch();
}

// Sets the control's state. A state the control does not hold is a failed
// step: false, and the control keeps its state. (Failures are answered
// without exceptions: absent values are common and a load must stay cheap.)
bool SetState(const Target& t, long long state) {
    switch (t.kind) {
    case Target::Kind::Check:
        if (state < 0 || state > 2) return false;
        t.check->setValue(static_cast<int>(state));
        return true;
    case Target::Kind::Slider:
        t.slider->setValue(state);
        return true;
    case Target::Kind::Options:
        if (state == 1) {
            t.first->setValue(true);
        } else if (state == 2) {
            t.second->setValue(true);
        } else if (state == 0) {
            t.first->setValue(false);
            t.second->setValue(false);
        } else {
            return false;
        }
        return true;
    case Target::Kind::ListItem:
        if (state != 0 && state != 1) return false;
        t.list->setSelected(t.item, state == 1);
        return true;
    case Target::Kind::Combo:
        if (state < -1 || state >= t.list->ListCount()) return false;
        t.list->setListIndex(static_cast<int>(state));
        return true;
    case Target::Kind::Text: break;
    }
    return false;
}

// The control's value as the text a direct apply writes.
std::string ReadDirect(const Target& t) {
    if (t.kind == Target::Kind::Text) return t.text->text();
    return std::to_string(ReadState(t));
}

// A direct load: text controls take the text unchanged; a slider takes it as
// a 32-bit whole number, every other control as a 16-bit one.
bool SetDirect(const Target& t, const std::string& text) {
    if (t.kind == Target::Kind::Text) {
        t.text->setText(text);
        return true;
    }
    if (t.kind == Target::Kind::Slider) {
        auto n = TextToLong(text);
        return n && SetState(t, *n);
    }
    auto n = TextToInteger(text);
    return n && SetState(t, *n);
}

// Text taken as a number for a numeric comparison: decimal notation with
// surrounding blanks, a sign, a fraction and an exponent allowed.
std::optional<double> TextToNumber(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    std::size_t i = 0;
    auto digits = [&] {
        std::size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    // The text is a plain decimal number now, which the C runtime's atof
    // reads as strtod would (MinGW's strtod would link its own copy).
    return std::atof(std::string(text).c_str());
}

// The set step of a matched rule. A numeric rule given a text that is not a
// number fails its first comparison, and resume-next then runs the first
// pair's branch: the control takes the first pair's state.
void SetMatched(const Target& t, const TweakRow& row, const std::string& text) {
    if (row.loadPairs.empty()) return;
    if (row.load == LoadForm::MatchNumber) {
        auto n = TextToNumber(text);
        if (!n) {
            SetState(t, row.loadPairs.front().state);
            return;
        }
        for (const RulePair& pair : row.loadPairs) {
            if (TextToNumber(pair.text) == *n) {
                SetState(t, pair.state);
                return;
            }
        }
        return;
    }
    for (const RulePair& pair : row.loadPairs) {
        if (pair.text == text) {
            SetState(t, pair.state);
            return;
        }
    }
    if (row.hasOtherwise) SetState(t, row.otherwise);
}

// What a resolved control holds, as a direct apply would write it.
std::string Held(const Target& t) {
    try {
        return ReadDirect(t);
    } catch (const RunTimeError&) {
        return {};
    }
}

// Runs the row's set step, then marks the control (and the second control)
// loaded with what it holds now. An absent policy value is "Not configured".
void SetFromRule(Form& form, const TweakRow& row, const std::string& text, bool present) {
    const Target t = Resolve(form, row.control);
    try {
        if (!present && row.notConfigured >= 0) {
            SetState(t, row.notConfigured);
        } else if (row.load == LoadForm::Direct) {
            SetDirect(t, text);
        } else {
            SetMatched(t, row, text);
        }
    } catch (const RunTimeError&) {
        // the control keeps its state; the second control is a step of its own
    }
    form.markLoaded(row.control, {present, Held(t)});
    if (!row.alsoControl.empty()) {
        const Target also = Resolve(form, row.alsoControl);
        try {
            SetDirect(also, text);
        } catch (const RunTimeError&) {
        }
        form.markLoaded(row.alsoControl, {present, Held(also)});
    }
}

// A policy's stored data that none of its states writes (a value set by
// other means) stays as stored while the control holds what its load left.
bool KeepsOtherData(Form& form, Registry& reg, const TweakRow& row) {
    if (row.notConfigured < 0) return false;
    const Form::LoadMark* mark = form.loadMark(row.control);
    if (mark == nullptr || !mark->present || Held(Resolve(form, row.control)) != mark->held) return false;
    bool present = false;
    const std::string stored = GetString(reg, row.root, row.applyKey, row.value, &present);
    auto written = [&](const RulePair& pair) { return pair.text == stored; };
    return present && std::none_of(row.applyPairs.begin(), row.applyPairs.end(), written);
}

// Deletes a policy's value where it is present; "Not configured" asks for
// nothing more (the key is left as it is).
void Clear(Registry& reg, const TweakRow& row, std::vector<SkippedWrite>& skipped) {
    bool present = false;
    GetString(reg, row.root, row.applyKey, row.value, &present);
    if (!present) return;
    long status = 0;
    if (DelSetting(reg, row.root, row.applyKey, row.value, &status) == WriteResult::Stored) return;
    skipped.push_back({row.page, row.caption, "the registry refused to delete it", status, row.root, row.applyKey,
                       row.value, reg::kNone, "", true});
}

const char* SkipReason(WriteResult result) {
    switch (result) {
    case WriteResult::Refused: return "the registry refused the write";
    case WriteResult::NotANumber: return "not a whole number in range";
    case WriteResult::Stored: break;
    }
    return nullptr;
}

void Write(Registry& reg, const TweakRow& row, const std::string& key, const std::string& text,
           std::vector<SkippedWrite>& skipped) {
    long status = 0;
    WriteResult result = row.writer == Writer::Long ? SaveStringLong(reg, row.root, key, row.value, text, &status)
                                                    : SaveString(reg, row.root, key, row.value, text, &status);
    // An empty number box stands for an absent value (that is how one loads):
    // nothing to store, and nothing the user lost.
    if (result == WriteResult::NotANumber && text.empty()) return;
    if (const char* reason = SkipReason(result)) {
        skipped.push_back({row.page, row.caption, reason, status, row.root, key, row.value,
                           row.writer == Writer::Long ? reg::kDword : reg::kSz, text});
    }
}

// The text the row's apply rule writes for the control's current value;
// nothing when no chosen pair holds.
std::optional<std::string> RuleText(Form& form, const TweakRow& row) {
    Target t = Resolve(form, row.control);
    if (row.apply == ApplyForm::Direct) return ReadDirect(t);
    int state = ReadState(t);
    for (const RulePair& pair : row.applyPairs) {
        if (pair.state == state) return pair.text;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ApplyText(Form& form, const TweakRow& row) {
    if (row.apply == ApplyForm::None || row.writer == Writer::None) return std::nullopt;
    try {
        return RuleText(form, row);
    } catch (const RunTimeError&) {
        return std::nullopt;
    }
}

bool ClearsValue(Form& form, const TweakRow& row) {
    if (row.notConfigured < 0) return false;
    try {
        return ReadState(Resolve(form, row.control)) == row.notConfigured;
    } catch (const RunTimeError&) {
        return false;
    }
}

std::string HeldValue(Form& form, const std::string& control) {
    return Held(Resolve(form, control));
}

void LoadRow(Form& form, Registry& reg, const TweakRow& row) {
    if (row.load == LoadForm::None) return;
    bool present = false;
    const std::string text = GetString(reg, row.root, row.loadKey, row.value, &present);
    SetFromRule(form, row, text, present);
}

bool ValueIsSet(Form& form, const TweakRow& row) {
    const Form::LoadMark* mark = form.loadMark(row.control);
    return mark == nullptr || mark->present || HeldValue(form, row.control) != mark->held;
}

void CopyControl(Form& from, Form& to, const std::string& control) {
    const Target source = Resolve(from, control);
    const Target target = Resolve(to, control);
    if (source.kind == Target::Kind::Text) {
        target.text->setText(source.text->text());
    } else {
        SetState(target, ReadState(source));
    }
}

void ApplyRow(Form& form, Registry& reg, const TweakRow& row, std::vector<SkippedWrite>& skipped) {
    if (KeepsOtherData(form, reg, row)) return;
    if (ClearsValue(form, row)) return Clear(reg, row, skipped);
    const std::optional<std::string> text = ApplyText(form, row);
    if (!text) return;
    const std::size_t before = skipped.size();
    Write(reg, row, row.applyKey, *text, skipped);
    if (row.applyKey2.empty()) return;
    Write(reg, row, row.applyKey2, *text, skipped);
    if (skipped.size() == before + 2) skipped.pop_back();  // one setting, named once
}

}  // namespace vantrel
