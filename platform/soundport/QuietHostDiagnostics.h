#pragma once

namespace NSSoundPortKit2::NSSoundPortKitDetails {

// Points the ALSA and JACK libraries' error and information messages at a handler that drops
// them: probing a machine without a card or a JACK server would otherwise fill the terminal
// ("jack server is not running…", "ALSA lib … Unknown PCM"). What matters is reported through
// the library's statuses instead. Idempotent; before the host APIs start.
void QuietHostDiagnostics();

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
