#pragma once

#include <QColor>

namespace NSQuillet::NSWaveformColours {

// The colours the waveform views share, from the skin's palette (resources/skin): a dark
// ground, light grey ink, blue wave and slices, amber selection, red playback cursor.
inline const QColor kPanelGround(38, 43, 50);
inline const QColor kInk(170, 178, 188);
inline const QColor kWave(106, 166, 250);
inline const QColor kSelection(255, 194, 26);
inline const QColor kPlaybackCursor(217, 65, 43);

inline QColor WithAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

}  // namespace NSQuillet::NSWaveformColours
