#include "cli/SubcommandGuard.h"

#include "foundation/Mishap.h"

namespace NSQuillet::NSCli {

EExitCode RunGuarded(const CAlertPrinter& alerts, const std::function<EExitCode()>& command) {
    try {
        return command();
    } catch (const NSMishap::XSilentAbort&) {
        return alerts.HasShownFailureAlert() ? kExitFailure : kExitStopped;
    } catch (const NSMishap::XAbort& stop) {
        alerts.PrintAlert("Stopped", stop.what());
        return kExitStopped;
    } catch (const std::exception& failure) {
        alerts.PrintFailure(failure);
        return kExitFailure;
    } catch (...) {
        alerts.PrintUnknownFailure();
        return kExitFailure;
    }
}

}  // namespace NSQuillet::NSCli
