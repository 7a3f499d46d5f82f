#pragma once

#include <exception>
#include <ostream>
#include <string>

namespace NSQuillet::NSCli {

// Prints alerts on the error stream as "quillet-cli: HEADING: BODY", with the failure's
// diagnostic message in brackets when verbose.
class CAlertPrinter {
public:
    CAlertPrinter(std::ostream& err, bool verbose) : fErr(err), fVerbose(verbose) {}

    void PrintAlert(const std::string& heading, const std::string& body, const std::string& diagnostic = "") const;
    // The alert for a failure that ended a command.
    void PrintFailure(const std::exception& failure) const;

private:
    std::ostream& fErr;
    bool fVerbose;
};

}  // namespace NSQuillet::NSCli
