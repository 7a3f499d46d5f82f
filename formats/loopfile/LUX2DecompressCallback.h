#pragma once

#include <cstdint>

namespace NSQuillet {

// Told how far the decoding of a loop file's sound has come; answers true to stop it.
class CLUX2DecompressCallback {
public:
    virtual ~CLUX2DecompressCallback() = default;
    virtual bool Progress(int64_t framesDone) = 0;
};

}  // namespace NSQuillet
