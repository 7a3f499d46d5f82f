#include "app/resources/Alert.h"

#include "foundation/Mishap.h"

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

SAlert ParseAlertEntry(const std::string& text) {
    SAlert alert;
    std::string rest = text;
    if (TakePrefix(rest, "[STOP]")) {
        alert.fKind = EAlertKind::kStop;
    } else if (TakePrefix(rest, "[WARN]")) {
        alert.fKind = EAlertKind::kWarn;
    } else if (TakePrefix(rest, "[NOTE]")) {
        alert.fKind = EAlertKind::kNote;
    } else {
        throw NSMishap::XFormatViolation("alert does not begin with [STOP], [NOTE] or [WARN]");
    }
    std::vector<std::string> parts;
    size_t at = 0;
    bool headingDone = false;
    while (at < rest.size()) {
        if (rest[at] != '[') {
            if (!alert.fBody.empty() || !alert.fButtons.empty())
                throw NSMishap::XFormatViolation("alert text after its first button");
            const size_t open = rest.find('[', at);
            alert.fBody = rest.substr(at, open == std::string::npos ? std::string::npos : open - at);
            if (alert.fBody.find(']') != std::string::npos) throw NSMishap::XFormatViolation("alert body holds a ]");
            headingDone = true;
            at = open == std::string::npos ? rest.size() : open;
            continue;
        }
        const size_t close = rest.find(']', at);
        if (close == std::string::npos) throw NSMishap::XFormatViolation("alert bracket not closed");
        std::string part = rest.substr(at + 1, close - at - 1);
        if (part.empty() || part.find('[') != std::string::npos)
            throw NSMishap::XFormatViolation("empty or nested bracket in alert");
        if (!headingDone) {
            alert.fHeading = std::move(part);
            headingDone = true;
        } else {
            if (alert.fBody.empty()) throw NSMishap::XFormatViolation("alert without a body");
            alert.fButtons.push_back(std::move(part));
        }
        at = close + 1;
    }
    if (alert.fBody.empty()) throw NSMishap::XFormatViolation("alert without a body");
    if (alert.fButtons.empty()) throw NSMishap::XFormatViolation("alert without a button");
    return alert;
}

void SetAlertPresenter(IAlertPresenter* presenter) { gPresenter = presenter; }

IAlertPresenter* GetAlertPresenter() { return gPresenter; }

int32_t ShowAlert(const std::string& text) {
    IAlertPresenter* presenter = GetAlertPresenter();
    return presenter ? presenter->Present(ParseAlert(text)) : 0;
}

}  // namespace NSQuillet
