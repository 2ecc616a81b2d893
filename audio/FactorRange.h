#pragma once
// Tempo and pitch factors SoundTouch handles well: an octave either way. The cut's pitch, the
// command line's speed and pitch and the preview's tempo and pitch all keep to it.
inline constexpr double kMinFactor = 0.5;
inline constexpr double kMaxFactor = 2.0;
