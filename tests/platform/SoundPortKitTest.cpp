#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Mishap.h"
#include "platform/soundport/JackServer.h"
#include "platform/soundport/SettingsRange.h"
#include "platform/soundport/SoundPortClient.h"
#include "platform/soundport/SoundPortKit.h"
#include "platform/soundport/SoundPortKitStatus.h"
#include "tests/support/DriverSettings.h"
#include "tests/support/FloatWaveFile.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSSoundPortKit2;
using NSQuilletTest::CTemporaryFolder;

ISoundPortKit& Kit() {
    uint32_t status = 0;
    return *SoundPortKit_Create("ISoundPortKit", &status);
}

// A known signal: channel c of output frame n. Exact in float.
float Signal(uint64_t frame, int32_t channel) {
    return float(int32_t(frame % 4096) - 2048) / 2048.0f * float(channel + 1) / 8.0f;
}

// Writes Signal into every non-null buffer and notes what it was called with.
class CSignalRenderer final : public IRenderer {
public:
    void Render(int32_t frames, float* const* channels, int32_t channelCount) override {
        for (int32_t c = 0; c < channelCount; ++c) {
            if (!channels[c]) continue;
            for (int32_t i = 0; i < frames; ++i) channels[c][i] = Signal(fFrames + uint64_t(i), c);
        }
        uint64_t mask = 0;
        for (int32_t c = 0; c < channelCount; ++c) mask |= channels[c] ? (uint64_t(1) << c) : 0;
        fSeenMask.store(mask);
        fSeenChannelCount.store(channelCount);
        fFrames += uint64_t(frames);
        fCallbacks.fetch_add(1);
    }
    void RateChanged(uint32_t rate) override { fRateChanges.push_back(rate); }

    void WaitForCallbacks(uint64_t count) const {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (fCallbacks.load() < count && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // Device thread while running; read after the driver stopped.
    uint64_t fFrames = 0;
    std::atomic<uint64_t> fCallbacks{0};
    std::atomic<uint64_t> fSeenMask{0};
    std::atomic<int32_t> fSeenChannelCount{0};
    std::vector<uint32_t> fRateChanges;
};

IDriver* NullOutput(const SDriverSettings& settings, const SNullOutputOptions& options = {}) {
    uint32_t status = 0;
    IDriver* driver = Kit().CreateNullOutput(settings, options, &status);
    EXPECT_EQ(status, kSoundPortKitSuccess);
    return driver;
}

// What the calls write to the error stream (fd 2), PortAudio's host libraries included.
template <class TCalls>
std::string ErrorStreamOf(TCalls&& calls) {
    CTemporaryFolder folder;
    const std::string path = folder.PathOf("stderr.txt");
    fflush(stderr);
    const int saved = dup(2);
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(file, 2);
    close(file);
    calls();
    fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> Big(uint64_t value, int width) {
    std::vector<uint8_t> bytes;
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) bytes.push_back(uint8_t(value >> shift));
    return bytes;
}

// A device block written by hand from its layout.
std::vector<uint8_t> HandMadeBlock(uint32_t version, const std::string& hostApi, const std::string& device,
                                   uint32_t rate, uint32_t buffer, uint64_t channels) {
    std::vector<uint8_t> block = {'S', 'P', 'K', 'B'};
    auto append = [&](const std::vector<uint8_t>& bytes) { block.insert(block.end(), bytes.begin(), bytes.end()); };
    append(Big(version, 4));
    append(Big(hostApi.size(), 2));
    block.insert(block.end(), hostApi.begin(), hostApi.end());
    append(Big(device.size(), 2));
    block.insert(block.end(), device.begin(), device.end());
    append(Big(rate, 4));
    append(Big(buffer, 4));
    append(Big(channels, 8));
    return block;
}

uint32_t StatusOfBlob(const std::vector<uint8_t>& block, std::string* missing = nullptr) {
    uint32_t status = 0;
    IDriver* driver = Kit().CreateDriverFromBlob(block.data(), block.size(), missing, &status);
    if (driver) driver->Destroy();
    return status;
}

}  // namespace

TEST(SoundPortKit, FactoryGivesTheLibraryOnlyForItsOwnInterface) {
    uint32_t status = 0;
    EXPECT_NE(SoundPortKit_Create("ISoundPortKit", &status), nullptr);
    EXPECT_EQ(status, kSoundPortKitSuccess);
    EXPECT_EQ(SoundPortKit_Create("IDiskKit", &status), nullptr);
    EXPECT_EQ(status, kSoundPortKitUnknownInterface);
    EXPECT_EQ(SoundPortKit_Create(nullptr, &status), nullptr);
    EXPECT_EQ(status, kSoundPortKitBadArgument);
}

TEST(SoundPortKit, ProbingListsTheNullOutputAsTheOnlyDefaultAndPrintsNothing) {
    std::vector<SHostApiInfo> hostApis;
    std::vector<SDeviceInfo> devices;
    uint32_t rescanned = 0;
    const std::string printed = ErrorStreamOf([&] {
        rescanned = Kit().Rescan();
        Kit().GetHostApis(&hostApis);
        Kit().GetDevices(&devices);
        uint32_t status = 0;
        if (IDriver* driver = Kit().CreateDefaultDriver(NSQuilletTest::DriverSettings(44100, 512, 0x3), &status)) driver->Destroy();
        Kit().Rescan();
    });
    EXPECT_EQ(printed, "") << "the host libraries' diagnostics reach the terminal";
    EXPECT_EQ(rescanned, kSoundPortKitSuccess);
    ASSERT_FALSE(hostApis.empty());
    EXPECT_EQ(hostApis.back().fName, kBuiltInHostApiName);
    ASSERT_FALSE(devices.empty());
    const SDeviceInfo& null = devices.back();
    EXPECT_TRUE(null.fIsNullOutput);
    EXPECT_EQ(null.fName, kNullOutputName);
    int defaults = 0;
    for (const SDeviceInfo& device : devices) defaults += device.fIsDefault ? 1 : 0;
    EXPECT_EQ(defaults, 1);
    // A machine without a card (CI) plays into the Null Output.
    if (devices.size() == 1) {
        EXPECT_TRUE(null.fIsDefault);
    }
    std::vector<uint32_t> rates;
    EXPECT_EQ(Kit().GetSupportedRates(kBuiltInHostApiName, kNullOutputName, 2, &rates), kSoundPortKitSuccess);
    EXPECT_EQ(rates, (std::vector<uint32_t>{11025, 22050, 32000, 44100, 48000, 88200, 96000}));
}

TEST(SoundPortKit, ADeviceTakesSettingsInRangeWithinItsChannelsAndAServersOwnRateAndBuffer) {
    SDeviceInfo card;
    card.fOutputChannels = 2;
    SDeviceInfo server = card;
    server.fFixedRate = 48000;
    server.fFixedBufferFrames = 256;
    struct SCase {
        const char* fName;
        const SDeviceInfo& fDevice;
        SDriverSettings fSettings;
        uint32_t fStatus;
    };
    const SCase cases[] = {
        {"card, any standard rate", card, NSQuilletTest::DriverSettings(11025, 64, 0x3), kSoundPortKitSuccess},
        {"card, rate below 8000", card, NSQuilletTest::DriverSettings(7999, 512, 0x3), kSoundPortKitBadArgument},
        {"card, 15 frames", card, NSQuilletTest::DriverSettings(44100, 15, 0x3), kSoundPortKitBadArgument},
        {"card, no channel", card, NSQuilletTest::DriverSettings(44100, 512, 0), kSoundPortKitBadArgument},
        {"card, a third channel", card, NSQuilletTest::DriverSettings(44100, 512, 0x4), kSoundPortKitSettingsRefused},
        {"server, its own", server, NSQuilletTest::DriverSettings(48000, 256, 0x1), kSoundPortKitSuccess},
        {"server, another rate", server, NSQuilletTest::DriverSettings(44100, 256, 0x3), kSoundPortKitSettingsRefused},
        {"server, another buffer", server, NSQuilletTest::DriverSettings(48000, 512, 0x3), kSoundPortKitSettingsRefused},
        {"server, out of range first", server, NSQuilletTest::DriverSettings(48000, 9000, 0x3), kSoundPortKitBadArgument},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(NSSoundPortKitDetails::CheckSettingsForDevice(c.fDevice, c.fSettings), c.fStatus) << c.fName;
}

TEST(SoundPortKit, WithoutAJackServerItsSettingsAreNotReadAndNothingIsPrinted) {
    NSQuilletTest::CScopedEnvironmentVariable server("JACK_DEFAULT_SERVER", "quillet-test-no-such-server");
    uint32_t rate = 1;
    int32_t buffer = 2;
    bool read = true;
    const std::string printed = ErrorStreamOf([&] { read = NSSoundPortKitDetails::ReadJackServerSettings(&rate, &buffer); });
    EXPECT_FALSE(read);
    EXPECT_EQ(rate, 1u);
    EXPECT_EQ(buffer, 2);
    EXPECT_EQ(printed, "");
}

TEST(SoundPortKitBlob, RoundTripsTheDeviceAndItsSettings) {
    IDriver* driver = NullOutput(NSQuilletTest::DriverSettings(48000, 128, 0b101));
    std::vector<uint8_t> block;
    ASSERT_EQ(driver->WriteBlob(&block), kSoundPortKitSuccess);
    driver->Destroy();
    // magic, version 1, "Built-in", "Null Output", 48000, 128, channels 0 and 2.
    EXPECT_EQ(block, HandMadeBlock(1, "Built-in", "Null Output", 48000, 128, 0b101));
    EXPECT_EQ(Kit().GetBlobVersion(), 1u);

    uint32_t status = 0;
    IDriver* recreated = Kit().CreateDriverFromBlob(block.data(), block.size(), nullptr, &status);
    ASSERT_EQ(status, kSoundPortKitSuccess);
    EXPECT_TRUE(recreated->GetDevice().fIsNullOutput);
    const SDriverSettings settings = recreated->GetSettings();
    EXPECT_EQ(settings.fRate, 48000u);
    EXPECT_EQ(settings.fBufferFrames, 128);
    EXPECT_EQ(settings.fActiveChannels, 0b101u);
    recreated->Destroy();
}

TEST(SoundPortKitBlob, RefusesOtherVersionsDamageAndAbsentDevices) {
    const std::vector<uint8_t> good = HandMadeBlock(1, "Built-in", "Null Output", 44100, 256, 0x3);
    struct SCase {
        const char* fName;
        std::vector<uint8_t> fBlock;
        uint32_t fStatus;
    };
    std::vector<SCase> cases = {
        {"version 2", HandMadeBlock(2, "Built-in", "Null Output", 44100, 256, 0x3), kSoundPortKitIncompatibleBlob},
        {"version 0", HandMadeBlock(0, "Built-in", "Null Output", 44100, 256, 0x3), kSoundPortKitIncompatibleBlob},
        {"no channel", HandMadeBlock(1, "Built-in", "Null Output", 44100, 256, 0), kSoundPortKitBadBlob},
        {"buffer above 8192", HandMadeBlock(1, "Built-in", "Null Output", 44100, 8193, 0x3), kSoundPortKitBadBlob},
        {"rate 0", HandMadeBlock(1, "Built-in", "Null Output", 0, 256, 0x3), kSoundPortKitBadBlob},
        {"empty device name", HandMadeBlock(1, "Built-in", "", 44100, 256, 0x3), kSoundPortKitBadBlob},
        {"absent card", HandMadeBlock(1, "ALSA", "No Such Card: USB (hw:9,0)", 44100, 256, 0x3), kSoundPortKitNoSuchDevice},
        {"nine channels of the Null Output's eight", HandMadeBlock(1, "Built-in", "Null Output", 44100, 256, 0x1FF),
         kSoundPortKitSettingsRefused},
    };
    std::vector<uint8_t> magic = good;
    magic[0] = 'X';
    cases.push_back({"wrong magic", magic, kSoundPortKitBadBlob});
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    cases.push_back({"a byte left over", longer, kSoundPortKitBadBlob});
    for (size_t size = 0; size < good.size(); ++size)
        cases.push_back({"truncated", std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(size)),
                         kSoundPortKitBadBlob});
    for (const SCase& c : cases) {
        std::string missing;
        EXPECT_EQ(StatusOfBlob(c.fBlock, &missing), c.fStatus) << c.fName << ", " << c.fBlock.size() << " bytes";
        if (c.fStatus == kSoundPortKitNoSuchDevice) {
            EXPECT_EQ(missing, "No Such Card: USB (hw:9,0)");
        }
    }
}

TEST(SoundPortClient, TurnsBlockAndDeviceFailuresIntoTheirFailures) {
    CSignalRenderer renderer;
    NSSoundPortKitUtils::CClient client(renderer);
    const auto deviceName = [](const std::exception& failure) {
        return NSMishap::FindMishap(failure)->GetProperty(NSSoundPortKitUtils::kProperty_AudioDeviceName).value_or("");
    };
    const auto target = [](const std::exception& failure) {
        return NSMishap::FindMishap(failure)->GetProperty(NSMishap::kProperty_TargetObjectType).value_or("");
    };
    try {
        client.OpenFromBlob(HandMadeBlock(7, "Built-in", "Null Output", 44100, 256, 0x3));
        FAIL() << "a block of version 7 opened";
    } catch (const NSMishap::XUnsupportedFormat& failure) {
        EXPECT_STREQ(failure.what(), "incompatible driver spec version");
    }
    try {
        client.OpenFromBlob(HandMadeBlock(1, "ALSA", "Gone (hw:5,0)", 44100, 256, 0x3));
        FAIL() << "an absent device opened";
    } catch (const NSMishap::XNotFound& failure) {
        EXPECT_STREQ(failure.what(), "couldn't recreate driver from blob");
        EXPECT_EQ(deviceName(failure), "Gone (hw:5,0)");
        EXPECT_EQ(target(failure), "audio_driver");
    }
    try {
        client.OpenFromBlob({1, 2, 3});
        FAIL() << "three bytes opened";
    } catch (const NSMishap::XFormatViolation& failure) {
        EXPECT_STREQ(failure.what(), "couldn't recreate driver from blob");
    }
    try {
        client.OpenNullOutput(NSQuilletTest::DriverSettings(44100, 256, uint64_t(1) << 8), {});
        FAIL() << "a ninth channel opened";
    } catch (const NSMishap::XUnsupportedFormat& failure) {
        EXPECT_EQ(deviceName(failure), "Null Output");
        EXPECT_EQ(target(failure), "audio_driver");
    }
    CTemporaryFolder folder;
    SNullOutputOptions options;
    options.fRecordPath = folder.PathOf("no/such/folder/take.wav");
    try {
        client.OpenNullOutput(NSQuilletTest::DriverSettings(44100, 256, 0x3), options);
        FAIL() << "a recording in a missing folder opened";
    } catch (const NSMishap::XCreate& failure) {
        EXPECT_EQ(target(failure), "file");
    }
    EXPECT_FALSE(client.IsOpen());
    EXPECT_THROW(client.GetSettings(), NSMishap::XIllegalCallSequence);
}

TEST(NullOutput, CallsTheRendererAtTheRateOfItsBuffers) {
    CSignalRenderer renderer;
    // 480 frames at 48 kHz: a callback every 10 ms.
    IDriver* driver = NullOutput(NSQuilletTest::DriverSettings(48000, 480, 0x3));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(driver->Start(&renderer), kSoundPortKitSuccess);
    EXPECT_EQ(driver->GetState(), EDriverState::kRunning);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const SDriverStatistics statistics = driver->GetStatistics();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    driver->Stop();
    const uint64_t after = renderer.fCallbacks.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(renderer.fCallbacks.load(), after) << "no callback after Stop";
    // One buffer ahead of the clock: seconds × 100 + 1 callbacks, within what a busy machine
    // may delay a thread.
    const double expected = seconds * 100.0 + 1.0;
    EXPECT_GE(double(statistics.fCallbacks), expected * 0.7);
    EXPECT_LE(double(statistics.fCallbacks), expected + 3.0);
    EXPECT_EQ(statistics.fFrames, statistics.fCallbacks * 480);
    EXPECT_EQ(driver->GetOutputLatencyMs(), 10.0);
    std::vector<std::string> sources = {"x"};
    EXPECT_EQ(driver->GetClockSources(&sources), kSoundPortKitUnavailable);
    EXPECT_TRUE(sources.empty());
    EXPECT_EQ(driver->OpenControlPanel(), kSoundPortKitUnavailable);
    driver->Destroy();
}

TEST(NullOutput, OpensUpToTheHighestActiveChannelAndHandsNullForTheOthers) {
    CSignalRenderer renderer;
    CTemporaryFolder folder;
    SNullOutputOptions options;
    options.fRecordPath = folder.PathOf("channels.wav");
    options.fFreeRunning = true;
    // Channels 1 and 3 sound: four channels open, 0 and 2 silent.
    IDriver* driver = NullOutput(NSQuilletTest::DriverSettings(44100, 64, 0b1010), options);
    ASSERT_EQ(driver->Start(&renderer), kSoundPortKitSuccess);
    renderer.WaitForCallbacks(20);
    driver->Destroy();
    EXPECT_EQ(renderer.fSeenChannelCount.load(), 4);
    EXPECT_EQ(renderer.fSeenMask.load(), 0b1010u);
    bool soxMissing = false;
    const std::vector<float> recorded = NSQuilletTest::ReadFloatWaveWithSox(options.fRecordPath, &soxMissing);
    if (soxMissing) GTEST_SKIP() << "sox is not installed";
    EXPECT_EQ(NSQuilletTest::SoxFormatOf(options.fRecordPath), "4 44100");
    ASSERT_EQ(recorded.size(), renderer.fFrames * 4);
    for (uint64_t frame = 0; frame < renderer.fFrames; ++frame) {
        ASSERT_EQ(recorded[frame * 4 + 0], 0.0f);
        ASSERT_EQ(recorded[frame * 4 + 1], Signal(frame, 1)) << frame;
        ASSERT_EQ(recorded[frame * 4 + 2], 0.0f);
        ASSERT_EQ(recorded[frame * 4 + 3], Signal(frame, 3)) << frame;
    }
}

TEST(NullOutput, RecordsEverythingPlayedAcrossAReleaseAndRetake) {
    CSignalRenderer renderer;
    CTemporaryFolder folder;
    SNullOutputOptions options;
    options.fRecordPath = folder.PathOf("take.wav");
    options.fFreeRunning = true;
    options.fRandomSizeSeed = 17;
    IDriver* driver = NullOutput(NSQuilletTest::DriverSettings(48000, 300, 0x3), options);
    ASSERT_EQ(driver->Start(&renderer), kSoundPortKitSuccess);
    renderer.WaitForCallbacks(2000);
    driver->Release();
    EXPECT_EQ(driver->GetState(), EDriverState::kReleased);
    const uint64_t released = renderer.fCallbacks.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(renderer.fCallbacks.load(), released);
    ASSERT_EQ(driver->Retake(), kSoundPortKitSuccess);
    renderer.WaitForCallbacks(released + 2000);
    driver->Stop();
    const SDriverStatistics statistics = driver->GetStatistics();
    driver->Destroy();
    EXPECT_EQ(statistics.fRecordingDroppedFrames, 0u);
    EXPECT_EQ(statistics.fFrames, renderer.fFrames);
    // Random sizes: not all callbacks asked for the whole buffer.
    EXPECT_LT(statistics.fFrames, statistics.fCallbacks * 300);

    bool soxMissing = false;
    const std::vector<float> recorded = NSQuilletTest::ReadFloatWaveWithSox(options.fRecordPath, &soxMissing);
    if (soxMissing) GTEST_SKIP() << "sox is not installed";
    EXPECT_EQ(NSQuilletTest::SoxFormatOf(options.fRecordPath), "2 48000");
    ASSERT_EQ(recorded.size(), renderer.fFrames * 2);
    for (uint64_t frame = 0; frame < renderer.fFrames; ++frame) {
        ASSERT_EQ(recorded[frame * 2], Signal(frame, 0)) << frame;
        ASSERT_EQ(recorded[frame * 2 + 1], Signal(frame, 1)) << frame;
    }
}

TEST(NullOutput, ReopeningAtAnotherRateRaisesTheRateNotification) {
    CSignalRenderer renderer;
    IDriver* driver = NullOutput(NSQuilletTest::DriverSettings(44100, 256, 0x3));
    ASSERT_EQ(driver->Start(&renderer), kSoundPortKitSuccess);
    EXPECT_TRUE(renderer.fRateChanges.empty()) << "the first stream has no rate to change from";
    ASSERT_EQ(driver->ApplySettings(NSQuilletTest::DriverSettings(44100, 128, 0x3)), kSoundPortKitSuccess);
    EXPECT_TRUE(renderer.fRateChanges.empty());
    ASSERT_EQ(driver->ApplySettings(NSQuilletTest::DriverSettings(96000, 128, 0x3)), kSoundPortKitSuccess);
    EXPECT_EQ(renderer.fRateChanges, std::vector<uint32_t>{96000});
    EXPECT_EQ(driver->GetOutputRate(), 96000u);
    EXPECT_EQ(driver->GetState(), EDriverState::kRunning);
    // Refused settings leave the driver stopped with the settings it had.
    EXPECT_EQ(driver->ApplySettings(NSQuilletTest::DriverSettings(96000, 128, 0)), kSoundPortKitBadArgument);
    EXPECT_EQ(driver->ApplySettings(NSQuilletTest::DriverSettings(48000, 128, uint64_t(1) << 9)), kSoundPortKitSettingsRefused);
    EXPECT_EQ(driver->GetSettings().fRate, 96000u);
    EXPECT_EQ(driver->GetState(), EDriverState::kStopped);
    driver->Destroy();
}
