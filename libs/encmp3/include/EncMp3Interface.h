/* libencmp3: LAME's encoder-library interface (the BladeEnc-style entry points)
 * over libmp3lame. The program loads the library at run time and binds the
 * entry points by name; the layouts below are fixed and packed.
 *
 * Buffer contract (the interface carries no buffer sizes):
 * - beInitStream reports the smallest output buffer for one chunk of
 *   *samples values: 1.25 x samples per channel + 7200 bytes.
 * - beEncodeChunk writes at most max(that minimum, 1.25 x samples per channel
 *   of this call + 7200) bytes, so a buffer sized for the chunk passed is enough.
 *   The stream encodes on a thread of its own: a call returns the MP3 bytes
 *   finished so far (from earlier calls), in order; the rest follows later.
 * - beDeinitStream writes at most the minimum reported by beInitStream. What
 *   does not fit is returned by the next beDeinitStream calls; call it until it
 *   produces 0 bytes, which means nothing is left.
 * - beEncodeChunk takes any number of samples that is a multiple of the
 *   channel count; after beDeinitStream the stream accepts no more samples
 *   (BE_ERR_INVALID_HANDLE).
 */
#ifndef ENCMP3_INTERFACE_H
#define ENCMP3_INTERFACE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int32_t INT;
typedef int32_t BOOL;
typedef uint16_t WORD;
typedef uint8_t BYTE;

typedef uint32_t HBE_STREAM;
typedef uint32_t BE_ERR;

#define BE_CONFIG_MP3 0
#define BE_CONFIG_LAME 256

#define BE_ERR_SUCCESSFUL 0x00000000
#define BE_ERR_INVALID_FORMAT 0x00000001
#define BE_ERR_INVALID_FORMAT_PARAMETERS 0x00000002
#define BE_ERR_NO_MORE_HANDLES 0x00000003
#define BE_ERR_INVALID_HANDLE 0x00000004
#define BE_ERR_BUFFER_TOO_SMALL 0x00000005

#define BE_MAX_HOMEPAGE 128

#define BE_MP3_MODE_STEREO 0
#define BE_MP3_MODE_JSTEREO 1
#define BE_MP3_MODE_DUALCHANNEL 2
#define BE_MP3_MODE_MONO 3

#define MPEG1 1
#define MPEG2 0

#define CURRENT_STRUCT_VERSION 1
#define CURRENT_STRUCT_SIZE 331

typedef enum {
    VBR_METHOD_NONE = -1,
    VBR_METHOD_DEFAULT = 0,
    VBR_METHOD_OLD = 1,
    VBR_METHOD_NEW = 2,
    VBR_METHOD_MTRH = 3,
    VBR_METHOD_ABR = 4
} VBRMETHOD;

typedef enum {
    LQP_NOPRESET = -1,
    LQP_NORMAL_QUALITY = 0,
    LQP_LOW_QUALITY = 1,
    LQP_HIGH_QUALITY = 2,
    LQP_VOICE_QUALITY = 3
} LAME_QUALITY_PRESET;

#pragma pack(push, 1)

typedef struct {
    DWORD dwConfig; /* BE_CONFIG_LAME */
    union {
        struct {
            DWORD dwSampleRate;
            BYTE byMode;
            WORD wBitrate;
            BOOL bPrivate;
            BOOL bCRC;
            BOOL bCopyright;
            BOOL bOriginal;
        } mp3;
        struct {
            DWORD dwStructVersion;
            DWORD dwStructSize;
            DWORD dwSampleRate;
            DWORD dwReSampleRate; /* 0: the encoder decides */
            LONG nMode;
            DWORD dwBitrate; /* CBR bit rate in kbit/s; VBR minimum */
            DWORD dwMaxBitrate;
            LONG nPreset;
            DWORD dwMpegVersion;
            DWORD dwPsyModel;
            DWORD dwEmphasis;
            BOOL bPrivate;
            BOOL bCRC;
            BOOL bCopyright;
            BOOL bOriginal;
            BOOL bWriteVBRHeader;
            BOOL bEnableVBR;
            INT nVBRQuality;
            DWORD dwVbrAbr_bps;
            INT nVbrMethod; /* VBRMETHOD */
            BOOL bNoRes;
            BOOL bStrictIso;
            WORD nQuality; /* low byte 0..9, used when the high byte is its bitwise NOT */
            BYTE btReserved[255 - 4 * sizeof(DWORD) - sizeof(WORD)];
        } LHV1;
    } format;
} BE_CONFIG, *PBE_CONFIG;

typedef struct {
    BYTE byDLLMajorVersion;
    BYTE byDLLMinorVersion;
    BYTE byMajorVersion;
    BYTE byMinorVersion;
    BYTE byDay;
    BYTE byMonth;
    WORD wYear;
    char zHomepage[BE_MAX_HOMEPAGE + 1];
    BYTE byAlphaLevel;
    BYTE byBetaLevel;
    BYTE byMMXEnabled;
    BYTE btReserved[125];
} BE_VERSION, *PBE_VERSION;

#pragma pack(pop)

#ifdef __cplusplus
#define ENCMP3_STATIC_ASSERT(cond, text) static_assert(cond, text)
#else
#define ENCMP3_STATIC_ASSERT(cond, text) _Static_assert(cond, text)
#endif

ENCMP3_STATIC_ASSERT(sizeof(BE_CONFIG) == CURRENT_STRUCT_SIZE, "BE_CONFIG is 331 bytes");
ENCMP3_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.dwSampleRate) == 12, "dwSampleRate");
ENCMP3_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.nMode) == 20, "nMode");
ENCMP3_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.nPreset) == 32, "nPreset");
ENCMP3_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.bPrivate) == 48, "bPrivate");
ENCMP3_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.bWriteVBRHeader) == 64, "bWriteVBRHeader");
ENCMP3_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.bNoRes) == 84, "bNoRes");
ENCMP3_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.nQuality) == 92, "nQuality");
ENCMP3_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.btReserved) == 94, "reserved");
ENCMP3_STATIC_ASSERT(sizeof(BE_VERSION) == 265, "BE_VERSION is 265 bytes");
ENCMP3_STATIC_ASSERT(offsetof(BE_VERSION, zHomepage) == 8, "zHomepage");

typedef BE_ERR (*BEINITSTREAM)(PBE_CONFIG, DWORD*, DWORD*, HBE_STREAM*);
typedef BE_ERR (*BEENCODECHUNK)(HBE_STREAM, DWORD, const int16_t*, BYTE*, DWORD*);
typedef BE_ERR (*BEDEINITSTREAM)(HBE_STREAM, BYTE*, DWORD*);
typedef BE_ERR (*BECLOSESTREAM)(HBE_STREAM);
typedef void (*BEVERSION)(PBE_VERSION);
typedef BE_ERR (*BEWRITEVBRHEADER)(const char*);
typedef BE_ERR (*BEWRITEINFOTAG)(HBE_STREAM, const char*);

#define TEXT_BEINITSTREAM "beInitStream"
#define TEXT_BEENCODECHUNK "beEncodeChunk"
#define TEXT_BEDEINITSTREAM "beDeinitStream"
#define TEXT_BECLOSESTREAM "beCloseStream"
#define TEXT_BEVERSION "beVersion"
#define TEXT_BEWRITEVBRHEADER "beWriteVBRHeader"
#define TEXT_BEWRITEINFOTAG "beWriteInfoTag"

#if defined(ENCMP3_BUILDING_LIBRARY)
#define ENCMP3_EXPORT __attribute__((visibility("default")))

ENCMP3_EXPORT BE_ERR beInitStream(PBE_CONFIG config, DWORD* samples, DWORD* bufferSize,
                                  HBE_STREAM* stream);
ENCMP3_EXPORT BE_ERR beEncodeChunk(HBE_STREAM stream, DWORD samples, const int16_t* pcm, BYTE* out,
                                   DWORD* produced);
ENCMP3_EXPORT BE_ERR beDeinitStream(HBE_STREAM stream, BYTE* out, DWORD* produced);
ENCMP3_EXPORT BE_ERR beCloseStream(HBE_STREAM stream);
ENCMP3_EXPORT void beVersion(PBE_VERSION version);
ENCMP3_EXPORT BE_ERR beWriteVBRHeader(const char* path);
ENCMP3_EXPORT BE_ERR beWriteInfoTag(HBE_STREAM stream, const char* path);
#endif

#ifdef __cplusplus
}
#endif

#endif /* ENCMP3_INTERFACE_H */
