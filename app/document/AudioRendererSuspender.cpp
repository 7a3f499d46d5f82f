#include "app/document/AudioRendererSuspender.h"

#include "engine/AudioRenderer.h"

namespace NSQuillet {

void CAudioRendererSuspender::Suspend() { fRenderer.Pause(); }

void CAudioRendererSuspender::Resume() { fRenderer.Resume(); }

}  // namespace NSQuillet
