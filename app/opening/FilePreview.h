#pragma once

#include <functional>
#include <memory>
#include <string>

namespace NSQuillet {

class CABCWaveSample;
class CLUXObject;
class CWavePlayer;
class IWavePlayerListener;

// A file made ready to be heard from the Open dialog: a sound file's audio (with a split stereo
// pair's partner), played straight, or a loop file as a loop object with the loop and effect
// settings it carries.
class CFilePreview {
public:
    // Polled between blocks of the reading; true stops it.
    using FStopRequested = std::function<bool()>;

    // Reads the whole file. A stop ends it with XAbort; the readers' failures propagate (a
    // format opening refuses: XUnsupportedFormat; a loop without length: XFormatViolation
    // "zero loop length"). Never asks or shows anything, so any one thread may read; the
    // preview then goes to the user-interface thread to be played. `stop` may be null.
    static std::unique_ptr<CFilePreview> Read(const std::string& path, const FStopRequested& stop);

    ~CFilePreview();
    CFilePreview(const CFilePreview&) = delete;
    CFilePreview& operator=(const CFilePreview&) = delete;

    bool IsLoop() const { return fLoop != nullptr; }

    // Plays it through `player` (CWavePlayer::PlaySample or PlayLoopObject); false when the
    // output is not working. The player must be stopped before the preview goes.
    // User-interface thread.
    bool Play(CWavePlayer& player, IWavePlayerListener* listener);

private:
    CFilePreview() = default;

    std::unique_ptr<CABCWaveSample> fSample;
    std::unique_ptr<CLUXObject> fLoop;
};

}  // namespace NSQuillet
