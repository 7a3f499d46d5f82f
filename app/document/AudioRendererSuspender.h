#pragma once

#include "app/document/AudioSuspender.h"

namespace NSQuillet {

class CAudioRenderer;

// Suspends the audio output by pausing its renderer: the first pause stops what plays, then
// keeps the device's callback out until the matching resume. User-interface thread.
class CAudioRendererSuspender final : public IAudioSuspender {
public:
    // Not owned; outlives the suspender.
    explicit CAudioRendererSuspender(CAudioRenderer& renderer) : fRenderer(renderer) {}

    // "no mutex" when the callback keeps the renderer for 2000 ms.
    void Suspend() override;
    void Resume() override;

private:
    CAudioRenderer& fRenderer;
};

}  // namespace NSQuillet
