#include "platform/sndkits/AiffLoopChunks.h"

#include <cstring>
#include <vector>

#include "platform/sndkits/SoundKitStatus.h"

namespace NSSoundKits::NSSoundKitsDetails {

namespace {

void Put16(std::vector<uint8_t>& bytes, uint32_t value) {
    bytes.push_back(uint8_t(value >> 8));
    bytes.push_back(uint8_t(value));
}

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    Put16(bytes, value >> 16);
    Put16(bytes, value & 0xFFFFu);
}

void PutMarker(std::vector<uint8_t>& bytes, uint16_t id, uint32_t position, const char* name) {
    Put16(bytes, id);
    Put32(bytes, position);
    const size_t length = std::strlen(name);
    bytes.push_back(uint8_t(length));
    bytes.insert(bytes.end(), name, name + length);
    // A pascal string is padded to an even total length.
    if ((length + 1) % 2) bytes.push_back(0);
}

}  // namespace

uint32_t AppendAiffLoopChunks(CSndFileVirtualFile& file, uint32_t start, uint32_t end) {
    std::vector<uint8_t> chunks;
    // The chunk before ends on an odd byte only when its pad byte is missing.
    if (file.GetSize() % 2) chunks.push_back(0);

    std::vector<uint8_t> markers;
    Put16(markers, 2);
    PutMarker(markers, 1, start, "beg loop");
    PutMarker(markers, 2, end, "end loop");
    chunks.insert(chunks.end(), {'M', 'A', 'R', 'K'});
    Put32(chunks, uint32_t(markers.size()));
    chunks.insert(chunks.end(), markers.begin(), markers.end());

    chunks.insert(chunks.end(), {'I', 'N', 'S', 'T'});
    Put32(chunks, 20);
    // Base note 60, detune 0, notes 0..127, velocities 1..127, gain 0 dB.
    chunks.insert(chunks.end(), {60, 0, 0, 127, 1, 127});
    Put16(chunks, 0);
    Put16(chunks, 1);  // sustain loop: forward, from marker 1 to marker 2
    Put16(chunks, 1);
    Put16(chunks, 2);
    Put16(chunks, 0);  // release loop: none
    Put16(chunks, 0);
    Put16(chunks, 0);

    const int64_t total = file.GetSize() + int64_t(chunks.size());
    if (total - 8 > int64_t(UINT32_MAX)) return kSoundKitWriteFailure;
    const uint32_t status = file.WriteAt(file.GetSize(), chunks.data(), int64_t(chunks.size()));
    if (status != kSoundKitSuccess) return status;
    std::vector<uint8_t> formSize;
    Put32(formSize, uint32_t(total - 8));
    return file.WriteAt(4, formSize.data(), 4);
}

}  // namespace NSSoundKits::NSSoundKitsDetails
