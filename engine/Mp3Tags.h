#pragma once
// Where the audio of an MP3 file lies between the tags around it.
#include <cstdint>

// Start of the audio behind the ID3v2 tags at `start`, several in a row included;
// `start` itself when no tag begins there.
uint32_t SkipId3v2Tags(int fd, uint32_t start, uint32_t fileSize);

// End of the audio before the tags at the end of the file: ID3v1, APEv2 and Lyrics3,
// in any order.
uint32_t AudioEndBeforeTags(int fd, uint32_t fileSize);
