#pragma once

namespace NSQuillet {

// Told when a preference that changes what views show or how the editor behaves has a new
// value. Called once per change, after the value is in place. User-interface thread.
class IPreferencesListener {
public:
    // Operation 0: the horizontal ruler units or the view-stereo-as-sum flag.
    virtual void OnDisplayPreferencesChanged() = 0;
    // Operation 1: default bars to one, always move the left locator, crop to loop or scroll
    // during playback.
    virtual void OnBehaviorPreferencesChanged() = 0;

protected:
    ~IPreferencesListener() = default;
};

}  // namespace NSQuillet
