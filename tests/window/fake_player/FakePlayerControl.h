#pragma once
// The fake player's own exports, for the test that drives it. Each call of a player export
// is logged as one line: its name, then its arguments separated by spaces.
#ifdef __cplusplus
extern "C" {
#endif

// Clears the log and sets the answers: Open returns openResult (and from a non-zero result
// on IsOpend answers 1), GetLen lengthMs, GetPos positionMs.
typedef void (*FakePlayerConfigureFn)(int openResult, int lengthMs, int positionMs);
// GetPos answers positionMs from now on; nothing else changes.
typedef void (*FakePlayerSetPositionFn)(int positionMs);
// HasAudioDevice answers present (1 after Configure).
typedef void (*FakePlayerSetAudioDeviceFn)(int present);
// The log so far, one call a line.
typedef const char* (*FakePlayerLogFn)(void);

#ifdef __cplusplus
}
#endif
