#include "platform/soundport/DriverBlob.h"

#include "platform/soundport/SettingsRange.h"
#include "platform/soundport/SoundPortKitStatus.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

namespace {

constexpr uint8_t kMagic[4] = {'S', 'P', 'K', 'B'};
constexpr size_t kMaximumNameBytes = 1024;

void PutBig(std::vector<uint8_t>& bytes, uint64_t value, int width) {
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) bytes.push_back(uint8_t(value >> shift));
}

void PutName(std::vector<uint8_t>& bytes, const std::string& name) {
    PutBig(bytes, name.size(), 2);
    bytes.insert(bytes.end(), name.begin(), name.end());
}

class CBlobReader {
public:
    CBlobReader(const uint8_t* bytes, size_t size) : fBytes(bytes), fSize(size) {}

    bool Big(int width, uint64_t* value) {
        if (size_t(width) > fSize - fPosition) return false;
        uint64_t result = 0;
        for (int i = 0; i < width; ++i) result = (result << 8) | fBytes[fPosition++];
        *value = result;
        return true;
    }
    bool Name(std::string* name) {
        uint64_t length = 0;
        if (!Big(2, &length) || length == 0 || length > kMaximumNameBytes || length > fSize - fPosition) return false;
        name->assign(reinterpret_cast<const char*>(fBytes + fPosition), size_t(length));
        fPosition += size_t(length);
        return true;
    }
    bool AtEnd() const { return fPosition == fSize; }

private:
    const uint8_t* fBytes;
    size_t fSize;
    size_t fPosition = 0;
};

}  // namespace

std::vector<uint8_t> WriteDriverBlob(const SDriverBlob& blob) {
    std::vector<uint8_t> bytes(kMagic, kMagic + 4);
    PutBig(bytes, kDriverBlobVersion, 4);
    PutName(bytes, blob.fHostApi.substr(0, kMaximumNameBytes));
    PutName(bytes, blob.fDevice.substr(0, kMaximumNameBytes));
    PutBig(bytes, blob.fSettings.fRate, 4);
    PutBig(bytes, uint32_t(blob.fSettings.fBufferFrames), 4);
    PutBig(bytes, blob.fSettings.fActiveChannels, 8);
    return bytes;
}

uint32_t ReadDriverBlob(const uint8_t* bytes, size_t size, SDriverBlob* blob) {
    if (!blob) return kSoundPortKitBadArgument;
    if (!bytes || size < 8 || bytes[0] != kMagic[0] || bytes[1] != kMagic[1] || bytes[2] != kMagic[2] || bytes[3] != kMagic[3])
        return kSoundPortKitBadBlob;
    CBlobReader reader(bytes + 4, size - 4);
    uint64_t version = 0;
    reader.Big(4, &version);
    if (version != kDriverBlobVersion) return kSoundPortKitIncompatibleBlob;
    SDriverBlob read;
    uint64_t rate = 0, buffer = 0, channels = 0;
    if (!reader.Name(&read.fHostApi) || !reader.Name(&read.fDevice) || !reader.Big(4, &rate) ||
        !reader.Big(4, &buffer) || !reader.Big(8, &channels) || !reader.AtEnd())
        return kSoundPortKitBadBlob;
    read.fSettings.fRate = uint32_t(rate);
    read.fSettings.fBufferFrames = buffer > uint64_t(kMaximumBufferFrames) ? 0 : int32_t(buffer);
    read.fSettings.fActiveChannels = channels;
    if (!AreSettingsInRange(read.fSettings)) return kSoundPortKitBadBlob;
    *blob = std::move(read);
    return kSoundPortKitSuccess;
}

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
