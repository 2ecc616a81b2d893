#pragma once
// What a cut carries of its source's tags: read with TagLib from ID3v2 (2.2 to 2.4), APEv2
// and ID3v1, in that order of precedence, with every text decoded to UTF-8.
#include <taglib/tbytevector.h>

#include <cstdint>
#include <string>
#include <vector>

struct TagTextFrame {
    std::string id; // the ID3v2.3 frame that carries it
    std::string text;
};

struct TagComment { // a comment (COMM) or unsynchronised lyrics (USLT)
    std::string language;
    std::string description;
    std::string text;
};

struct TagPicture {
    std::string mime;
    uint8_t type = 3; // front cover
    std::string description;
    TagLib::ByteVector data; // the image, byte for byte, shared with what was read
};

struct CarriedTags {
    std::vector<TagTextFrame> texts; // in the source's order, one per frame id
    std::vector<TagComment> comments;
    std::vector<TagComment> lyrics;
    std::vector<TagPicture> pictures;
    std::vector<std::string> notes; // what was not carried and why, for the command line

    const std::string* Find(const std::string& id) const;
};

// Never fails: a broken or oversized tag gives what could be read within the carried-tag
// limit (kMaxCarriedTagBytes).
CarriedTags ReadSourceTags(const std::string& path);
