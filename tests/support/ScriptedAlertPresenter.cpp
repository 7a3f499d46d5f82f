#include "tests/support/ScriptedAlertPresenter.h"

#include <algorithm>
#include <string>

#include "foundation/Mishap.h"

namespace NSQuillet {

CScriptedAlertPresenter::CScriptedAlertPresenter() : fPrevious(GetAlertPresenter()) { SetAlertPresenter(this); }

CScriptedAlertPresenter::~CScriptedAlertPresenter() { SetAlertPresenter(fPrevious); }

int32_t CScriptedAlertPresenter::Present(const SAlert& alert) {
    fShown.push_back(alert);
    const size_t buttons = alert.fButtons.size();
    if (fAnswers.empty()) {
        if (buttons <= 1) return kAlertAnswerOfRightmostButton;
        throw NSMishap::XIllegalCallSequence("unscripted question: " + alert.fBody);
    }
    const int32_t answer = fAnswers.front();
    fAnswers.pop_front();
    if (answer < kAlertAnswerOfRightmostButton || answer >= kAlertAnswerOfRightmostButton + int32_t(std::max<size_t>(buttons, 1)))
        throw NSMishap::XIllegalCallSequence("scripted answer " + std::to_string(answer) + " is no button of: " + alert.fBody);
    return answer;
}

}  // namespace NSQuillet
