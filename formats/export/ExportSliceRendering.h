#pragma once

#include <cstdint>
#include <memory>

#include "engine/WaveSample.h"

namespace NSQuillet {

class CExporter;

// Item `index` of `exporter` rendered (CExporter::RenderSlice) and brought to `sampleRate` and
// `bitDepth` (16 or 24): at the rendered rate only the depth changes, exactly (16 to 24 bits is
// × 256, 24 to 16 rounds to nearest); another rate goes through the sample-rate converter and
// is clamped to full scale. The loop points move with the audio.
// User-interface thread; allocates the rendered and the converted sample.
std::unique_ptr<CABCWaveSample> RenderExportSlice(CExporter& exporter, int32_t index, uint32_t sampleRate,
                                                  int32_t bitDepth);

}  // namespace NSQuillet
