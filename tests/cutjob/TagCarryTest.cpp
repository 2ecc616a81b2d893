// A cut carries its source's tags, whatever their shape, read back by TagLib and by ffprobe,
// and its audio and ID3v1 tag stay byte for byte those of the same cut without them.
#include "CodePage.h"
#include "CutFixture.h"

#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

using Bytes = std::vector<uint8_t>;
using TagLib::String;

Bytes Cover(size_t size) {
    Bytes image(size, 0);
    for (size_t i = 0; i < size; ++i) {
        image[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    }
    image[0] = 0xFF, image[1] = 0xD8;
    return image;
}

String Gbk(const char* utf8) {
    return String(Utf8ToGbk(utf8), String::Latin1);
}
String U(const char* utf8) {
    return String(utf8, String::UTF8);
}

// A tag TagLib renders: title, artist and album in `encoding`, a cover first when asked.
Bytes Id3v2(TagLib::ID3v2::Version version, String::Type encoding, const String& title,
            const String& artist, const String& album, size_t cover = 0) {
    TagLib::ID3v2::Tag tag;
    if (cover > 0) {
        auto* picture = new TagLib::ID3v2::AttachedPictureFrame;
        const Bytes image = Cover(cover);
        picture->setPicture(TagLib::ByteVector(reinterpret_cast<const char*>(image.data()),
                                               static_cast<unsigned>(image.size())));
        picture->setMimeType("image/jpeg");
        tag.addFrame(picture);
    }
    const std::pair<const char*, String> texts[] = {
        {"TIT2", title}, {"TPE1", artist}, {"TALB", album}};
    for (const auto& [id, text] : texts) {
        auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, encoding);
        frame->setText(text);
        tag.addFrame(frame);
    }
    const TagLib::ByteVector bytes = tag.render(version);
    return Bytes(bytes.begin(), bytes.end());
}

Bytes Id3v22() {
    const Bytes image = Cover(960);
    const std::string tag =
        std::string("ID3\2\0\0\0\0\x07\x68", 10) + // 1000 frame bytes
        std::string("TT2\0\0\x09\0Song 2.2", 15) + std::string("TP1\0\0\x07\0Singer", 13) +
        std::string("PIC\0\x03\xC6\0JPG\x03\0", 12) + std::string(image.begin(), image.end());
    return Bytes(tag.begin(), tag.end());
}

template <typename Tag> Bytes Rendered(Tag& tag) {
    const TagLib::ByteVector bytes = tag.render();
    return Bytes(bytes.begin(), bytes.end());
}

Bytes Ape() {
    TagLib::APE::Tag tag;
    tag.setTitle(U("Über"));
    tag.setArtist("Apex");
    return Rendered(tag);
}

Bytes Id3v1(const char* title, const char* artist) {
    TagLib::ID3v1::Tag tag;
    tag.setTitle(Gbk(title));
    tag.setArtist(Gbk(artist));
    return Rendered(tag);
}

struct TagShape {
    const char* name;
    Bytes before;
    Bytes after;
    std::string title; // empty: the output's base name
    std::string artist;
    size_t cover = 0;
    bool noted = false;
};

std::string Ffprobe(const std::string& path) {
    std::string out;
    FILE* pipe = popen(
        ("ffprobe -v error -show_entries format_tags -of default=nw=1 '" + path + "' 2>&1").c_str(),
        "r");
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof(buffer), pipe)) {
        out += buffer;
    }
    if (pipe) {
        pclose(pipe);
    }
    return out;
}

class TagCarryTest : public testing::TestWithParam<TagShape> {
protected:
    CutFixture cut;
};

TEST_P(TagCarryTest, CarriesTagsOverUnchangedAudio) {
    const TagShape& shape = GetParam();
    Bytes source = shape.before;
    const Bytes audio = mp3gen::MakeMp3({.seconds = 3.0, .noise = true});
    source.insert(source.end(), audio.begin(), audio.end());
    source.insert(source.end(), shape.after.begin(), shape.after.end());
    ASSERT_TRUE(mp3gen::WriteFileBytes(cut.dir.File("song.mp3"), source));
    std::filesystem::create_directory(cut.dir.File("plain"));
    const std::string out = cut.dir.File("cut.mp3");
    const std::string plain = cut.dir.File("plain/cut.mp3");
    const DecodedAudio tagged = cut.Cut(cut.dir.File("song.mp3"), out, {500, 2500});
    EXPECT_EQ(!cut.job.GetTagNotes().empty(), shape.noted);
    CutRequest untagged{500, 2500};
    untagged.carryTags = false;
    const DecodedAudio reference = cut.Cut(cut.dir.File("song.mp3"), plain, untagged);
    ASSERT_TRUE(tagged.ok && reference.ok);
    EXPECT_EQ(tagged.pcm, reference.pcm);

    TagLib::MPEG::File file(out.c_str(), false);
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    ASSERT_TRUE(tag && file.ID3v2Tag()->header()->majorVersion() == 3);
    const Bytes written = mp3gen::ReadFileBytes(out);
    const size_t tagBytes = tag->header()->completeTagSize();
    EXPECT_EQ(Bytes(written.begin() + static_cast<long>(tagBytes), written.end()),
              mp3gen::ReadFileBytes(plain));
    const std::string title = shape.title.empty() ? "cut" : shape.title;
    EXPECT_EQ(tag->title().to8Bit(true), title);
    EXPECT_EQ(tag->artist().to8Bit(true), shape.artist);
    EXPECT_EQ(tag->frameListMap()["TLEN"].front()->toString(), "2000");
    const auto pictures = tag->frameListMap()["APIC"];
    ASSERT_EQ(pictures.size(), shape.cover ? 1u : 0u);
    if (shape.cover) {
        const auto image =
            static_cast<TagLib::ID3v2::AttachedPictureFrame*>(pictures.front())->picture();
        EXPECT_EQ(Bytes(image.begin(), image.end()), Cover(shape.cover));
    }
    const std::string probed = Ffprobe(out);
    EXPECT_NE(probed.find("TAG:title=" + title + "\n"), std::string::npos) << probed;
    EXPECT_EQ(probed.find("TAG:artist=" + shape.artist + "\n") != std::string::npos,
              !shape.artist.empty())
        << probed;
}

const Bytes kAudioOnly;
const Bytes kBroken = [] {
    Bytes tag = Id3v2(TagLib::ID3v2::v3, String::Latin1, "Kept", "", "");
    const Bytes bad{'T', 'P', 'E', '1', 0x7F, 0, 0, 0, 0, 0, 0, 'X'};
    tag.insert(tag.begin() + 10 + 15, bad.begin(), bad.end());
    return tag;
}();
const Bytes kHugeSize = [] {
    Bytes tag = Id3v2(TagLib::ID3v2::v3, String::Latin1, "Huge", "", "");
    tag[6] = tag[7] = tag[8] = tag[9] = 0x7F;
    return tag;
}();

INSTANTIATE_TEST_SUITE_P(
    Shapes, TagCarryTest,
    testing::Values(
        TagShape{"v22", Id3v22(), {}, "Song 2.2", "Singer", 960},
        TagShape{"v23_utf16",
                 Id3v2(TagLib::ID3v2::v3, String::UTF16, U("吻别"), U("张学友"), U("吻别"), 5000),
                 {},
                 "吻别",
                 "张学友",
                 5000},
        TagShape{"v24_utf8",
                 Id3v2(TagLib::ID3v2::v4, String::UTF8, U("七里香"), U("周杰伦"), U("七里香")),
                 {},
                 "七里香",
                 "周杰伦"},
        TagShape{"ape_only", {}, Ape(), "Über", "Apex"},
        TagShape{"id3v1_only", {}, Id3v1("红豆", "王菲"), "红豆", "王菲"},
        TagShape{
            "gbk_in_latin1",
            Id3v2(TagLib::ID3v2::v3, String::Latin1, Gbk("传奇"), Gbk("李健"), Gbk("似水流年")),
            Id3v1("传奇", "李健"), "传奇", "李健"},
        TagShape{"cover_3mb",
                 Id3v2(TagLib::ID3v2::v3, String::Latin1, "Big", "Cover", "", 3 << 20),
                 {},
                 "Big",
                 "Cover",
                 3 << 20},
        TagShape{"picture_past_limit",
                 Id3v2(TagLib::ID3v2::v4, String::UTF8, U("小"), U("大"), "", 20 << 20),
                 {},
                 "小",
                 "大",
                 0,
                 true},
        TagShape{"broken_frames", kBroken, {}, "Kept", ""},
        TagShape{"huge_declared_size", kHugeSize, {}, "Huge", ""},
        TagShape{"none", kAudioOnly, {}, "", ""}),
    [](const testing::TestParamInfo<TagShape>& shape) { return std::string(shape.param.name); });

TEST(TagRewrite, TheCutsOwnFactsReplaceOrDropTheFalseFrames) {
    TagLib::ID3v2::Tag tag;
    for (const char* id : {"TIT2", "TBPM", "TKEY", "TSRC", "TSSE", "TLEN", "TCOM"}) {
        auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, String::Latin1);
        frame->setText(std::string(id) == "TBPM" ? "120" : "99");
        tag.addFrame(frame);
    }
    const TagLib::ByteVector rendered = tag.render(TagLib::ID3v2::v4);
    CutFixture cut;
    Bytes source(rendered.begin(), rendered.end());
    const Bytes audio = mp3gen::MakeMp3({.seconds = 3.0, .noise = true});
    source.insert(source.end(), audio.begin(), audio.end());
    ASSERT_TRUE(mp3gen::WriteFileBytes(cut.dir.File("song.mp3"), source));
    CutRequest request{0, 2000};
    request.speed = 1.25;
    request.pitch = 1.1f;
    ASSERT_TRUE(cut.Cut(cut.dir.File("song.mp3"), cut.dir.File("cut.mp3"), request).ok);
    TagLib::MPEG::File file(cut.dir.File("cut.mp3").c_str(), false);
    std::set<std::string> kept;
    for (const auto& [id, frames] : file.ID3v2Tag()->frameListMap()) {
        if (!frames.isEmpty()) { // TagLib leaves the v2.3 date's TDAT behind, empty
            kept.insert(std::string(id.data(), id.size()) + "=" +
                        frames.front()->toString().to8Bit());
        }
    }
    EXPECT_EQ(kept, (std::set<std::string>{"TIT2=99", "TBPM=150", "TLEN=1600", "TCOM=99"}));
}

} // namespace
