#pragma once
// The limits of what a cut may be asked for, shared by the window, the command line and the
// engine's check of a cut's plan.
#include <climits>

// Times are whole milliseconds in an int: about 24.8 days.
inline constexpr int kMaxTimeMs = INT_MAX;
// A fade longer than a day is a typing slip, not a fade.
inline constexpr int kMaxFadeMs = 86400 * 1000;
inline constexpr int kMaxThrottleMs = 60000;
// Encoder streams one cut is encoded on at once.
inline constexpr int kMaxLanes = 2;
