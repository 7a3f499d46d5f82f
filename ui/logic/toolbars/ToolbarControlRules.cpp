#include "ui/logic/toolbars/ToolbarControlRules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/document/QuilletDocument.h"
#include "app/document/ViewAndEditAttributes.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/LoopSettings.h"

namespace NSQuillet {

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [+-] digits [. digits], or [+-] . digits.
bool IsDecimalNumber(const std::string& text) {
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    size_t digits = 0;
    while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
    }
    return digits > 0 && at == text.size();
}

constexpr uint32_t kRulerUnitsInOrder[] = {kRulerUnits_Time, kRulerUnits_Samples, kRulerUnits_Beats};
constexpr uint32_t kToolsInOrder[] = {kEditTool_Arrow, kEditTool_Mute, kEditTool_Lock, kEditTool_Pen};
constexpr EWindowAction kToolActions[] = {EWindowAction::kArrowTool, EWindowAction::kMuteTool,
                                          EWindowAction::kLockTool, EWindowAction::kPenTool};
constexpr EWindowAction kTransportActions[] = {EWindowAction::kStop, EWindowAction::kPlayLoop,
                                               EWindowAction::kPlayPreviousSlice, EWindowAction::kPlayCurrentSlice,
                                               EWindowAction::kPlayCurrentSliceAndMoveToNext};

}  // namespace

std::optional<int32_t> ParseBarsText(const std::string& text) {
    if (text.empty() || text.size() > size_t(kBarsFieldMaximumLength)) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), IsDigit)) return std::nullopt;
    return int32_t(std::strtol(text.c_str(), nullptr, 10));
}

SLoopLength ChooseBeats(SLoopLength current, int32_t beats) {
    current.fBeats = beats;
    if (beats == 0 && current.fBars == 0) current.fBars = 1;
    return current;
}

std::vector<std::string> SplitItems(const std::string& items) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= items.size()) {
        const size_t end = std::min(items.find(';', start), items.size());
        parts.push_back(items.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::vector<STimeSignature> ParseTimeSignatureItems(const std::string& items) {
    std::vector<STimeSignature> signatures;
    for (const std::string& item : SplitItems(items)) {
        const size_t slash = item.find('/');
        if (slash == std::string::npos) continue;
        const std::string numerator = Trimmed(item.substr(0, slash));
        const std::string denominator = Trimmed(item.substr(slash + 1));
        const auto whole = [](const std::string& text) {
            return !text.empty() && text.size() <= 2 && std::all_of(text.begin(), text.end(), IsDigit);
        };
        if (!whole(numerator) || !whole(denominator)) continue;
        const STimeSignature signature{std::atoi(numerator.c_str()), std::atoi(denominator.c_str())};
        if (signature.fNumerator < 1 || signature.fDenominator < 1) continue;
        signatures.push_back(signature);
    }
    return signatures;
}

const std::vector<STimeSignature>& GetTimeSignatureItems() {
    static const std::vector<STimeSignature> items =
        ParseTimeSignatureItems(StringReference(NSStringIds::kTimeSignatureItems).GetText());
    return items;
}

std::optional<int32_t> FindTimeSignatureItem(const std::vector<STimeSignature>& items, STimeSignature signature) {
    const auto at = std::find(items.begin(), items.end(), signature);
    if (at == items.end()) return std::nullopt;
    return int32_t(at - items.begin());
}

std::string FormatTimeSignature(STimeSignature signature) {
    return std::to_string(signature.fNumerator) + "/" + std::to_string(signature.fDenominator);
}

std::string FormatPreviewTempoText(int32_t tempo) {
    char number[32];
    std::snprintf(number, sizeof number, "%d.%03d", tempo / 1000, tempo % 1000);
    std::string text = StringReference(NSStringIds::kPreviewTempoPattern).GetText();
    const size_t at = text.find("0.000");
    if (at == std::string::npos) return number;
    return text.replace(at, 5, number);
}

std::optional<int32_t> ParsePreviewTempoText(const std::string& text) {
    std::string number = Trimmed(text);
    if (number.size() >= 3) {
        std::string unit = number.substr(number.size() - 3);
        std::transform(unit.begin(), unit.end(), unit.begin(), [](unsigned char c) { return char(std::toupper(c)); });
        if (unit == "BPM") number = Trimmed(number.substr(0, number.size() - 3));
    }
    std::replace(number.begin(), number.end(), ',', '.');
    if (!IsDecimalNumber(number)) return std::nullopt;
    const double bpm = std::strtod(number.c_str(), nullptr);
    const SValueRange range = CLoopSettings::kPreviewTempoRange;
    const double thousandths = std::clamp(bpm * 1000.0, double(range.fLowest), double(range.fHighest));
    return int32_t(std::lround(thousandths));
}

uint32_t GetRulerUnitsOfItem(int32_t item) {
    return item >= 0 && item < 3 ? kRulerUnitsInOrder[item] : kRulerUnits_Time;
}

int32_t GetItemOfRulerUnits(uint32_t units) {
    for (int32_t item = 0; item < 3; ++item)
        if (kRulerUnitsInOrder[item] == units) return item;
    return 0;
}

uint32_t GetToolOfButton(int32_t button) {
    return button >= 0 && button < kToolButtonCount ? kToolsInOrder[button] : kEditTool_Arrow;
}

int32_t GetButtonOfTool(uint32_t tool) {
    for (int32_t button = 0; button < kToolButtonCount; ++button)
        if (kToolsInOrder[button] == tool) return button;
    return -1;
}

EWindowAction GetToolButtonAction(int32_t button) {
    return button >= 0 && button < kToolButtonCount ? kToolActions[button] : EWindowAction::kArrowTool;
}

EWindowAction GetTransportButtonAction(int32_t button) {
    return button >= 0 && button < kTransportButtonCount ? kTransportActions[button] : EWindowAction::kStop;
}

int32_t GetTransportButtonOfPlayMode(uint32_t playMode) {
    switch (playMode) {
        case CQuilletDocument::kPlayMode_Loop: return 1;
        case CQuilletDocument::kPlayMode_PreviousSlice: return 2;
        case CQuilletDocument::kPlayMode_CurrentSlice:
        case CQuilletDocument::kPlayMode_ChosenSlice: return 3;
        case CQuilletDocument::kPlayMode_CurrentSliceAndMoveToNext: return 4;
        default: return 0;
    }
}

bool CanPreviewPlayLoop(const SToolbarConditions& c) { return c.fLoopLengthSet && c.fPreviewOn; }

SToolbarEnables ComputeToolbarEnables(const SToolbarConditions& c) {
    SToolbarEnables e;
    e.fSoundControls = c.fHasSound;
    e.fTransport = c.fHasSound && c.fCanPlay;
    e.fSilenceSelected = c.fHasSound && c.fPreviewOn;
    e.fPreviewTempo = c.fHasSound && c.fLoopLengthSet;
    const bool effects = c.fHasSound && CanPreviewPlayLoop(c);
    e.fEnvelope = effects && c.fEnvelopeOn;
    e.fTransientShaper = effects && c.fTransientShaperOn;
    e.fEqualizer = effects && c.fEqualizerOn;
    return e;
}

bool IsEffectsNotAudibleNoteDue(bool switchedOn, const SToolbarConditions& c) {
    return switchedOn && !CanPreviewPlayLoop(c);
}

}  // namespace NSQuillet
