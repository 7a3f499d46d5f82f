#pragma once

#include <exception>
#include <ostream>
#include <string>
#include <utility>

#include "app/resources/Alert.h"

namespace NSQuillet::NSCli {

// The command line's alerts on the error stream: "quillet-cli: HEADING: BODY" (the kind's word,
// "Error", "Warning" or "Note", for an alert without heading), with the failure's diagnostic
// message in brackets when verbose. Questions are answered with the
// rightmost (affirmative) button under --yes; otherwise their text is printed and they are
// declined with the leftmost button, which ends the command with exit code 3. With a
// `subject` (the input file of a run over several files) each line names it first:
// "quillet-cli: SUBJECT: HEADING: BODY".
class CAlertPrinter final : public IAlertPresenter {
public:
    CAlertPrinter(std::ostream& err, bool verbose, bool answerYes = false, std::string subject = "")
        : fErr(err), fVerbose(verbose), fAnswerYes(answerYes), fSubject(std::move(subject)) {}

    int32_t Present(const SAlert& alert) override;
    void PrintAlert(const std::string& heading, const std::string& body, const std::string& diagnostic = "") const;
    // The alert the editor's responder would show for a failure that ended a command
    // (ChooseFailureAlert), with the failure's code, message and target as the diagnostic.
    // Nothing for an abort.
    void PrintFailure(const std::exception& failure) const;
    // The internal-error alert, for a failure of no recognised class.
    void PrintUnknownFailure() const;

    // Whether a warning or stop alert was shown: the silent abort that follows it is a failure.
    bool HasShownFailureAlert() const { return fShownFailureAlert; }

private:
    void PrintChosenAlert(const SAlert& alert, const std::string& diagnostic) const;

    std::ostream& fErr;
    bool fVerbose;
    bool fAnswerYes;
    std::string fSubject;
    bool fShownFailureAlert = false;
};

}  // namespace NSQuillet::NSCli
