#include "app/Alert.h"

namespace NSQuillet {

namespace {

IAlertPresenter* gPresenter = nullptr;

bool TakePrefix(std::string& text, const char* prefix) {
    const std::string wanted(prefix);
    if (text.compare(0, wanted.size(), wanted) != 0) return false;
    text.erase(0, wanted.size());
    return true;
}

}  // namespace

SAlert ParseAlert(const std::string& text) {
    SAlert alert;
    std::string rest = text;
    if (TakePrefix(rest, "[STOP]")) {
        alert.fKind = EAlertKind::kStop;
    } else if (TakePrefix(rest, "[WARN]")) {
        alert.fKind = EAlertKind::kWarn;
    } else {
        TakePrefix(rest, "[NOTE]");
    }
    std::vector<std::string> buttons;
    while (!rest.empty() && rest.back() == ']') {
        const size_t open = rest.rfind('[');
        if (open == std::string::npos) break;
        buttons.insert(buttons.begin(), rest.substr(open + 1, rest.size() - open - 2));
        rest.erase(open);
    }
    alert.fButtons = std::move(buttons);
    if (!rest.empty() && rest.front() == '[') {
        const size_t close = rest.find(']');
        if (close != std::string::npos) {
            alert.fHeading = rest.substr(1, close - 1);
            rest.erase(0, close + 1);
        }
    }
    alert.fBody = std::move(rest);
    return alert;
}

void SetAlertPresenter(IAlertPresenter* presenter) { gPresenter = presenter; }

IAlertPresenter* GetAlertPresenter() { return gPresenter; }

int32_t ShowAlert(const std::string& text) {
    IAlertPresenter* presenter = GetAlertPresenter();
    return presenter ? presenter->Present(ParseAlert(text)) : 0;
}

}  // namespace NSQuillet
