#include "platform/soundport/QuietHostDiagnostics.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

namespace NSSoundPortKit2::NSSoundPortKitDetails {

namespace {

void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
void DropJackMessage(const char*) {}

}  // namespace

void QuietHostDiagnostics() {
    snd_lib_error_set_handler(DropAlsaMessage);
    jack_set_error_function(DropJackMessage);
    jack_set_info_function(DropJackMessage);
}

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
