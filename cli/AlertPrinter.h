#pragma once

#include <exception>
#include <ostream>
#include <string>

#include "app/Alert.h"

namespace NSQuillet::NSCli {

// The command line's alerts on the error stream: "quillet-cli: HEADING: BODY", with the
// failure's diagnostic message in brackets when verbose. Questions are answered with the
// rightmost (affirmative) button under --yes; otherwise their text is printed and they are
// declined with the leftmost button, which ends the command with exit code 3.
class CAlertPrinter final : public IAlertPresenter {
public:
    CAlertPrinter(std::ostream& err, bool verbose, bool answerYes = false)
        : fErr(err), fVerbose(verbose), fAnswerYes(answerYes) {}

    int32_t Present(const SAlert& alert) override;
    void PrintAlert(const std::string& heading, const std::string& body, const std::string& diagnostic = "") const;
    // The alert for a failure that ended a command.
    void PrintFailure(const std::exception& failure) const;

    // Whether a warning or stop alert was shown: the silent abort that follows it is a failure.
    bool HasShownFailureAlert() const { return fShownFailureAlert; }

private:
    std::ostream& fErr;
    bool fVerbose;
    bool fAnswerYes;
    bool fShownFailureAlert = false;
};

}  // namespace NSQuillet::NSCli
