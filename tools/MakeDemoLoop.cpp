#include <exception>
#include <iostream>

#include "app/saving/SoundFileSaving.h"
#include "tools/DemoLoop.h"

// Writes the bundled demo loop as a WAVE file: make-demo-loop OUT.wav
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-demo-loop OUT.wav\n";
        return 2;
    }
    try {
        auto sample = NSQuillet::NSTools::SDemoLoop::Render();
        NSQuillet::SaveSoundFile(argv[1], NSQuillet::ESoundFileType::kWave, *sample, true, nullptr);
    } catch (const std::exception& failure) {
        std::cerr << "make-demo-loop: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
