#include "SourceTags.h"

#include "LegacyText.h"
#include "SourceTagStream.h"

#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1genres.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>

#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace {

using TagLib::String;

// The text frames a cut copies, by the ID3v2.4 names TagLib gives every version's frames.
const std::map<std::string, std::string> kId3v2Texts = {
    {"TIT2", "TIT2"}, {"TPE1", "TPE1"}, {"TPE2", "TPE2"}, {"TALB", "TALB"}, {"TRCK", "TRCK"},
    {"TPOS", "TPOS"}, {"TDRC", "TYER"}, {"TYER", "TYER"}, {"TCON", "TCON"}, {"TCOM", "TCOM"},
    {"TEXT", "TEXT"}, {"TCOP", "TCOP"}, {"TPUB", "TPUB"}, {"TBPM", "TBPM"}, {"TKEY", "TKEY"}};
const std::map<std::string, std::string> kApeTexts = {
    {"TITLE", "TIT2"},     {"ARTIST", "TPE1"},   {"ALBUM ARTIST", "TPE2"}, {"ALBUMARTIST", "TPE2"},
    {"ALBUM", "TALB"},     {"TRACK", "TRCK"},    {"DISC", "TPOS"},         {"YEAR", "TYER"},
    {"GENRE", "TCON"},     {"COMPOSER", "TCOM"}, {"LYRICIST", "TEXT"},     {"COPYRIGHT", "TCOP"},
    {"PUBLISHER", "TPUB"}, {"LABEL", "TPUB"},    {"BPM", "TBPM"},          {"KEY", "TKEY"},
    {"INITIALKEY", "TKEY"}};

std::string Language(const TagLib::ByteVector& code) {
    const std::string language(code.data(), code.size() < 3 ? code.size() : 3);
    return language.size() == 3 ? language : "XXX";
}

bool IsNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::string MimeOf(const TagLib::ByteVector& image) {
    if (image.startsWith("\xFF\xD8")) {
        return "image/jpeg";
    }
    return image.startsWith("\x89PNG") ? "image/png" : image.startsWith("GIF") ? "image/gif" : "";
}

// Reads the tags twice: the first pass only classes the charset-less strings, so the second
// can decode them all by the file's majority.
class TagReader {
public:
    TagReader(bool countOnly, LegacyCharset fileMajority)
        : counting(countOnly), majority(fileMajority) {}

    void Read(TagLib::MPEG::File& file) {
        if (file.hasID3v2Tag()) {
            ReadId3v2(*file.ID3v2Tag());
        }
        if (file.hasAPETag()) {
            ReadApe(*file.APETag());
        }
        if (file.hasID3v1Tag()) {
            ReadId3v1(*file.ID3v1Tag());
        }
    }

    CarriedTags tags;
    std::vector<LegacyCharset> seen;

private:
    std::string Text(const String& s, bool legacy, bool cutShort = false) {
        if (!legacy) {
            return s.to8Bit(true);
        }
        const std::string bytes = s.to8Bit(false);
        if (counting) {
            seen.push_back(ClassifyLegacy(bytes, cutShort));
        }
        return DecodeLegacy(bytes, majority, cutShort);
    }

    // Earlier tags take precedence: a later one only fills in what is missing.
    void AddText(const std::string& id, std::string text) {
        if (id == "TYER") {
            text = text.substr(0, 4);
            if (!IsNumber(text)) {
                return;
            }
        }
        if (!text.empty() && !tags.Find(id)) {
            tags.texts.push_back({id, text});
        }
    }

    void AddPicture(TagPicture picture) {
        if (carried + picture.data.size() > kMaxCarriedTagBytes) {
            tags.notes.push_back("a picture of " + std::to_string(picture.data.size() >> 20) +
                                 " MB was not carried: the tag would pass its limit");
            return;
        }
        carried += picture.data.size();
        tags.pictures.push_back(std::move(picture));
    }

    // Multiple values as one text, genre numbers as their names.
    std::string Joined(const TagLib::ID3v2::TextIdentificationFrame& frame, bool genre) {
        const bool legacy = frame.textEncoding() == String::Latin1;
        std::string joined;
        for (const String& field : frame.fieldList()) {
            std::string value = Text(field, legacy);
            if (genre && IsNumber(value)) {
                value = TagLib::ID3v1::genre(std::stoi(value.substr(0, 3))).to8Bit(true);
            }
            if (!value.empty() && (joined + "/").find(value + "/") == std::string::npos) {
                joined += (joined.empty() ? "" : "/") + value;
            }
        }
        return joined;
    }

    void ReadId3v2(TagLib::ID3v2::Tag& id3) {
        for (TagLib::ID3v2::Frame* frame : id3.frameList()) {
            const std::string id(frame->frameID().data(), frame->frameID().size());
            if (auto* text = dynamic_cast<TagLib::ID3v2::TextIdentificationFrame*>(frame)) {
                if (const auto it = kId3v2Texts.find(id); it != kId3v2Texts.end()) {
                    AddText(it->second, Joined(*text, id == "TCON"));
                }
            } else if (auto* comm = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame)) {
                const bool legacy = comm->textEncoding() == String::Latin1;
                TagComment c{Language(comm->language()), Text(comm->description(), legacy),
                             Text(comm->text(), legacy)};
                // iTunes keeps the old encode's loudness, gapless data and disc ids here.
                if (c.description.rfind("iTun", 0) != 0) {
                    tags.comments.push_back(c);
                }
            } else if (auto* uslt =
                           dynamic_cast<TagLib::ID3v2::UnsynchronizedLyricsFrame*>(frame)) {
                const bool legacy = uslt->textEncoding() == String::Latin1;
                tags.lyrics.push_back({Language(uslt->language()),
                                       Text(uslt->description(), legacy),
                                       Text(uslt->text(), legacy)});
            } else if (auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame)) {
                const bool legacy = apic->textEncoding() == String::Latin1;
                const std::string description = Text(apic->description(), legacy);
                if (!counting) {
                    const TagLib::ByteVector image = apic->picture();
                    AddPicture({apic->mimeType().to8Bit(), static_cast<uint8_t>(apic->type()),
                                description, image});
                }
            }
        }
    }

    void ReadApe(TagLib::APE::Tag& ape) {
        const bool hadPictures = !tags.pictures.empty();
        for (const auto& [key, item] : ape.itemListMap()) {
            const std::string name = key.upper().to8Bit(true);
            if (item.type() == TagLib::APE::Item::Binary && name.rfind("COVER ART", 0) == 0) {
                const TagLib::ByteVector data = item.binaryData();
                const int nameEnd = data.find('\0');
                const TagLib::ByteVector image = data.mid(nameEnd < 0 ? 0 : nameEnd + 1);
                if (!counting && !hadPictures && !MimeOf(image).empty()) {
                    AddPicture({MimeOf(image),
                                static_cast<uint8_t>(name == "COVER ART (BACK)" ? 4 : 3), "",
                                image});
                }
                continue;
            }
            const std::string value = item.values().toString("/").to8Bit(true);
            if (const auto it = kApeTexts.find(name); it != kApeTexts.end()) {
                AddText(it->second, value);
            } else if (name == "COMMENT" && tags.comments.empty() && !value.empty()) {
                tags.comments.push_back({"XXX", "", value});
            } else if (name == "LYRICS" && tags.lyrics.empty() && !value.empty()) {
                tags.lyrics.push_back({"XXX", "", value});
            }
        }
    }

    void ReadId3v1(TagLib::ID3v1::Tag& v1) {
        AddText("TIT2", Text(v1.title(), true, true));
        AddText("TPE1", Text(v1.artist(), true, true));
        AddText("TALB", Text(v1.album(), true, true));
        AddText("TYER", v1.year() ? std::to_string(v1.year()) : "");
        AddText("TRCK", v1.track() ? std::to_string(v1.track()) : "");
        AddText("TCON", v1.genre().to8Bit(true));
        const std::string comment = Text(v1.comment(), true, true);
        if (tags.comments.empty() && !comment.empty()) {
            tags.comments.push_back({"XXX", "", comment});
        }
    }

    const bool counting;
    const LegacyCharset majority;
    uint64_t carried = 0;
};

} // namespace

const std::string* CarriedTags::Find(const std::string& id) const {
    for (const TagTextFrame& frame : texts) {
        if (frame.id == id) {
            return &frame.text;
        }
    }
    return nullptr;
}

CarriedTags ReadSourceTags(const std::string& path) {
    CarriedTags result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return result;
    }
    try {
        std::vector<std::string> notes;
        SourceTagStream stream(path, fd, notes);
        TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
        TagReader census(true, LegacyCharset::Ascii);
        census.Read(file);
        TagReader reader(false, MajorityCharset(census.seen));
        reader.Read(file);
        result = std::move(reader.tags);
        result.notes.insert(result.notes.begin(), notes.begin(), notes.end());
    } catch (const std::exception&) {
        result.notes.push_back("the source's tags could not be read");
    }
    ::close(fd);
    return result;
}
