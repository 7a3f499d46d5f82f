#pragma once

#include <cstdint>

namespace NSCourier {

class IMillisecondClock {
public:
    virtual ~IMillisecondClock() = default;
    virtual uint64_t NowMilliseconds() const = 0;
};

// The monotonic clock of the process.
const IMillisecondClock& GetSteadyClock();

}  // namespace NSCourier
