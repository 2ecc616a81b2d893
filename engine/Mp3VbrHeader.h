#pragma once
// The information frame an encoder may put first ("Xing", "Info" or "VBRI"): it
// carries no audio, and LAME's tag in it records the encoder's delay and padding.
#include <cstddef>
#include <cstdint>

struct VbrHeader {
    bool present = false; // the frame is an information frame, not audio
    uint32_t frames = 0;  // audio frames the header counts, 0 when it does not say
    bool gapless = false; // a LAME tag gives the two counts below
    int delay = 0;        // samples the encoder put before the audio
    int padding = 0;      // samples it put after the audio
};

// Reads the header from the `avail` bytes of a frame starting at `frame`.
VbrHeader ParseVbrHeader(const uint8_t* frame, size_t avail);
