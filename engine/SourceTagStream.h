#pragma once
// A bounded, read-only view of a source for TagLib. The ID3v2 tag at its start comes from a
// copy in memory that never passes the carried-tag limit: frames that would pass it (a huge
// picture) are left out, the frames after them kept. The rest is read from the file, and no
// single read may pass the limit, so a tag declaring any size costs bounded memory.
#include <taglib/tiostream.h>

#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kMaxCarriedTagBytes = 16u << 20;

class SourceTagStream : public TagLib::IOStream {
public:
    // fd stays the caller's; notes gets what was left out of the ID3v2 tag.
    SourceTagStream(const std::string& path, int fd, std::vector<std::string>& notes);

    TagLib::FileName name() const override { return path.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return fd >= 0; }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return position; }
    long length() override { return static_cast<long>(head.size() + (fileSize - restStart)); }
    void truncate(long) override {}

private:
    void ReadHead(std::vector<std::string>& notes);
    void CopyFrames(unsigned version, uint64_t end, std::vector<std::string>& notes);
    bool ReadAt(uint64_t offset, size_t size, TagLib::ByteVector& into);

    std::string path;
    int fd;
    uint64_t fileSize = 0;
    TagLib::ByteVector head; // the ID3v2 tag as TagLib sees it
    uint64_t restStart = 0;  // where the file goes on behind the original ID3v2 tag
    long position = 0;
};
