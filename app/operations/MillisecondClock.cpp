#include "app/operations/MillisecondClock.h"

#include <chrono>

namespace NSCourier {

namespace {

class CSteadyMillisecondClock final : public IMillisecondClock {
public:
    uint64_t NowMilliseconds() const override {
        using namespace std::chrono;
        return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};

}  // namespace

const IMillisecondClock& GetSteadyClock() {
    static const CSteadyMillisecondClock clock;
    return clock;
}

}  // namespace NSCourier
