#pragma once

#include <string>

#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/soundfile/SoundFileWriter.h"
#include "tools/DemoLoop.h"

namespace NSQuilletTest {

// Writes the demo loop as a 16-bit stereo WAVE file at `path`, the input of the command tests.
inline void WriteDemoLoopWave(const std::string& path) {
    auto sample = NSQuillet::NSTools::SDemoLoop::Render();
    auto file = NSDiskKitSupport::CreateMediaForWriting(path, 0);
    NSQuillet::WriteSoundFile(*sample, *file, NSQuillet::ESoundFileType::kWave);
    file->Close();
}

}  // namespace NSQuilletTest
