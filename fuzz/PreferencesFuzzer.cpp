// Reads the input as a preferences file. What a valid file gives must survive the program's own
// road: restored into preferences, captured, written and read again it is the same. A crash,
// hang or leak, a failure other than a damaged file's (format) or another version's
// (unsupported format), or a difference after the round trip is a bug.
//
// An input that does not begin with "FORM" edits a valid file made by the writer instead, so
// that the search starts inside the format: bit 0 of its first byte cuts the file short (by the
// rest of the byte), and each further three bytes XOR one byte of the file (a 16-bit offset,
// then the value).

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesForm.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "foundation/Mishap.h"

namespace {

using namespace NSQuillet;
using TBytes = std::vector<uint8_t>;

TBytes Bytes(const COwnedMemoryMedia& media) { return TBytes(media.GetBytes(), media.GetBytes() + media.GetSize()); }

TBytes WriteValidFile() {
    CPreferences preferences;
    preferences.SetHorizontalRulerUnitsSaved(1);
    preferences.SetScrollDuringPlayback(false);
    preferences.SetLastExportExtension(".sf2");
    preferences.SetExportSampleRate(96000);
    preferences.SetConvertToMonoSelection(EMonoChoice::kLeft);
    preferences.GetNoteCounters().Set(ENote::kLuxFile, 2);
    SAudioDeviceBlock block;
    block.fVersion = CVersion(1, 2, 0, 3, 17);
    block.fBytes = {'A', 'L', 'S', 'A', 0, 'h', 'w', ':', '0', 0, 0, 0xAC, 0x44, 1, 0};
    preferences.SetAudioDeviceBlock(block);
    preferences.GetRecentDocuments().Add("/home/user/loops/beat.lx2", "beat.lx2");
    preferences.GetRecentDocuments().Add("/home/user/Klänge/Trommel.wav", "Trommel ドラム");
    COwnedMemoryMedia media;
    WritePreferencesForm(media, preferences.Capture());
    return Bytes(media);
}

void ReadAndRoundTrip(const TBytes& file) {
    SStoredPreferences stored;
    try {
        COwnedMemoryMedia media(file.size(), file.data());
        stored = ReadPreferencesForm(media);
    } catch (const NSMishap::XFormatViolation&) {
        return;
    } catch (const NSMishap::XUnsupportedFormat&) {
        return;
    } catch (...) {
        std::abort();
    }
    CPreferences preferences;
    preferences.Restore(stored);
    const SStoredPreferences captured = preferences.Capture();
    COwnedMemoryMedia written;
    WritePreferencesForm(written, captured);
    written.SetPosition(0);
    if (ReadPreferencesForm(written) != captured) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TBytes kValidFile = WriteValidFile();
    if (size >= 4 && std::memcmp(data, "FORM", 4) == 0) {
        ReadAndRoundTrip(TBytes(data, data + size));
        return 0;
    }
    if (size < 1) return 0;
    TBytes file = kValidFile;
    for (size_t at = 1; at + 3 <= size; at += 3) {
        const size_t offset = ((size_t(data[at]) << 8) | data[at + 1]) % file.size();
        file[offset] ^= data[at + 2];
    }
    if (data[0] & 1) file.resize(file.size() - 1 - (size_t(data[0]) >> 1) % file.size());
    ReadAndRoundTrip(file);
    return 0;
}
