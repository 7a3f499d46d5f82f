#pragma once

#include <cstdint>

namespace NSQuillet {

// What long work needs from whoever shows its progress. Called on the user-interface thread.
class IProgressReporter {
public:
    virtual ~IProgressReporter() = default;
    // Progress in thousandths of the work, 0..1000; as often as the work likes.
    virtual void Progress(int32_t permille) = 0;
    // Polled by the work after each block.
    virtual bool IsStopRequested() const = 0;
};

// Raises the abort "user pressed stop" when the reporter says so.
void ThrowIfStopRequested(const IProgressReporter& reporter);

}  // namespace NSQuillet
