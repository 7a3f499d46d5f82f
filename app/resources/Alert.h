#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace NSQuillet {

enum class EAlertKind { kStop, kNote, kWarn };

// An alert in the program's inline syntax: "[WARN][Heading]Body[Cancel][OK]".
struct SAlert {
    EAlertKind fKind = EAlertKind::kNote;
    std::string fHeading;               // "" when the text has none
    std::string fBody;
    std::vector<std::string> fButtons;  // left to right, as written
};

// Answers count from the rightmost button: 33, then 34, then 35.
inline constexpr int32_t kAlertAnswerOfRightmostButton = 33;

// Splits `text`: an optional kind "[STOP]", "[NOTE]" or "[WARN]" (else kNote), an optional
// "[Heading]" right after it, the body, then every bracketed group at the end as a button.
// Never fails: text without brackets is a note with that body and no buttons.
SAlert ParseAlert(const std::string& text);

// The strict form of an alert table's entry: a kind, an optional heading right after it, a
// non-empty body without brackets, then at least one non-empty button and nothing after the
// last. Anything else is an XFormatViolation saying what is wrong.
SAlert ParseAlertEntry(const std::string& text);

// The answer of the button at `index` (from the left) among `buttonCount`.
inline constexpr int32_t AlertAnswerOfButton(size_t index, size_t buttonCount) {
    return kAlertAnswerOfRightmostButton + int32_t(buttonCount - 1 - index);
}

// Whoever shows alerts to the user: a dialog in the editor, standard error in quillet-cli, a
// recorder in tests. User-interface thread; blocks until answered.
class IAlertPresenter {
public:
    virtual ~IAlertPresenter() = default;
    // The answer of the button pressed (AlertAnswerOfButton).
    virtual int32_t Present(const SAlert& alert) = 0;
};

// The process-wide presenter; null (the start) means no one to ask. Not owned; the caller
// keeps it alive while it is set. User-interface thread.
void SetAlertPresenter(IAlertPresenter* presenter);
IAlertPresenter* GetAlertPresenter();

// Parses `text` and presents it; 0 when there is no presenter.
int32_t ShowAlert(const std::string& text);

}  // namespace NSQuillet
