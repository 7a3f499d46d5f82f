#include "engine/LevelMeter.h"

namespace NSQuillet {

namespace {

void KeepLarger(std::atomic<float>& held, float value) {
    float current = held.load(std::memory_order_relaxed);
    while (value > current && !held.compare_exchange_weak(current, value, std::memory_order_relaxed)) {
    }
}

}  // namespace

void CLevelMeter::Report(float leftPeak, float rightPeak, bool clipped) {
    KeepLarger(fLeftPeak, leftPeak);
    KeepLarger(fRightPeak, rightPeak);
    if (clipped) fClipped.store(true, std::memory_order_relaxed);
}

CLevelMeter::SReading CLevelMeter::Take() {
    SReading reading;
    reading.fLeftPeak = fLeftPeak.exchange(0.0f, std::memory_order_relaxed);
    reading.fRightPeak = fRightPeak.exchange(0.0f, std::memory_order_relaxed);
    reading.fClipped = fClipped.exchange(false, std::memory_order_relaxed);
    return reading;
}

}  // namespace NSQuillet
