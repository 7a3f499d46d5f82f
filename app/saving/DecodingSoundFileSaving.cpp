#include "app/saving/DecodingSoundFileSaving.h"

#include <exception>
#include <thread>

#include "app/saving/SoundFileSaving.h"
#include "engine/SampleFillGate.h"
#include "formats/lux2/LUX2Format.h"

namespace NSQuillet {

namespace {

// Passes the decoder's progress to the writer and the writer's stop to the decoder.
class CGateCallback final : public CLUX2DecompressCallback {
public:
    explicit CGateCallback(CSampleFillGate& gate) : fGate(gate) {}

    bool Progress(int64_t framesDone) override {
        fGate.Publish(framesDone);
        return fGate.IsStopRequested();
    }

private:
    CSampleFillGate& fGate;
};

}  // namespace

void SaveSoundFileWhileDecoding(const std::string& path, ESoundFileType type, CABCWaveSample& sample, bool replace,
                                IProgressReporter* progress,
                                const std::function<void(CLUX2DecompressCallback* callback)>& decode) {
    // One block is decoded before any frame is published: a thread would only wait.
    if (sample.GetFrameCount() <= kLUX2SoundBlockFrames) {
        decode(nullptr);
        SaveSoundFile(path, type, sample, replace, progress);
        return;
    }
    CSampleFillGate gate;
    std::thread decoding([&gate, &decode] {
        try {
            CGateCallback callback(gate);
            decode(&callback);
            gate.Finish();
        } catch (...) {
            gate.Fail(std::current_exception());
        }
    });
    try {
        SaveSoundFile(path, type, sample, replace, progress, &gate);
    } catch (...) {
        gate.RequestStop();
        decoding.join();
        throw;
    }
    decoding.join();
}

}  // namespace NSQuillet
