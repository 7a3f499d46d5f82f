#include "platform/soundport/JackServer.h"

#include <jack/jack.h>

#include "platform/soundport/QuietHostDiagnostics.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

bool ReadJackServerSettings(uint32_t* rate, int32_t* bufferFrames) {
    if (!rate || !bufferFrames) return false;
    QuietHostDiagnostics();
    jack_status_t status{};
    jack_client_t* client = jack_client_open("Quillet settings", JackNoStartServer, &status);
    if (!client) return false;
    const jack_nframes_t serverRate = jack_get_sample_rate(client);
    const jack_nframes_t serverBuffer = jack_get_buffer_size(client);
    jack_client_close(client);
    if (serverRate == 0 || serverBuffer == 0) return false;
    *rate = serverRate;
    *bufferFrames = int32_t(serverBuffer);
    return true;
}

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
