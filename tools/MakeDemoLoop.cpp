#include <exception>
#include <iostream>

#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/soundfile/SoundFileWriter.h"
#include "platform/diskkit/FourCharCode.h"
#include "tools/DemoLoop.h"

// Writes the bundled demo loop as a WAVE file: make-demo-loop OUT.wav
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-demo-loop OUT.wav\n";
        return 2;
    }
    try {
        auto sample = NSQuillet::NSTools::SDemoLoop::Render();
        auto file = NSDiskKitSupport::CreateMediaForWriting(argv[1], NSDiskKit::MakeFourCharCode('W', 'A', 'V', 'E'));
        NSQuillet::WriteSoundFile(*sample, *file, NSQuillet::ESoundFileType::kWave);
        file->Close();
    } catch (const std::exception& failure) {
        std::cerr << "make-demo-loop: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
