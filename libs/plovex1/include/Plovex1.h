/*
 * libPlovex1.so: the preview player. An MP3 file is decoded with libmpg123, changed in tempo and
 * pitch with SoundTouch when asked, and played through SDL2 on the library's own thread (or, when
 * no audio device opens, through a silent output that keeps real time).
 *
 * Every export has C linkage and is meant to be resolved by name at run time (dlopen/dlsym).
 * All calls may come from any one thread (the program uses its GUI thread); none of them waits
 * for the audio to be played. Times are milliseconds of the source (signed 32-bit), factors are
 * doubles with 1.0 = unchanged.
 *
 *   int Open(const char* utf8Path)    1 = open, 0 = failure (missing file, not MPEG audio, empty).
 *                                     A new file replaces the open one (no Stop or Close needed)
 *                                     and waits stopped at 0; a failure leaves the open file as it
 *                                     was. GetLen is valid as soon as Open returns.
 *   int SetShowHWnd(void* window)     no video is shown; ignored, returns 0.
 *   int Play(void)                    plays from the current position (from 0 when the previous
 *                                     playback ran to the end); 1 = done, 0 = no file open.
 *   int Pause(void)                   pauses at the current position; it never resumes (a second
 *                                     Pause keeps it paused). 1 = done, 0 = no file open.
 *   int Stop(void)                    stops and goes back to 0. 1 = done, 0 = no file open.
 *   int Stop2(void), Pause2(void)     the same as Stop and Pause.
 *   int Resume2(void)                 the same as Play.
 *   int IsOpend(void)                 1 when a file is open, else 0 (also before any Open).
 *   int GetLen(void)                  exact length of the open file in ms (0 when none).
 *   int GetPos(void)                  position of what is being heard in ms: the decoder's
 *                                     position minus what is still buffered before the device.
 *   int SetPos(int ms)                seeks at once, also while paused or stopped (the state is
 *                                     kept); ms is clamped to 0..GetLen. 1 = done, 0 = no file.
 *   int GetWidth(void), GetHeight(void)   0 (audio only).
 *   int GetAduioChannels(void)        channels of the open file (1 or 2), 0 when none.
 *   int GetAudioSamplesPerSec(void)   sample rate of the open file in Hz, 0 when none.
 *   int GetState(void)                PLOVEX_STATE_CLOSED 0, STOPPED 1, PLAYING 2, PAUSED 3. When
 *                                     the end of the file has been heard the player stops there:
 *                                     GetState 1 and GetPos = GetLen.
 *   int SetRate(double tempo)         tempo factor, pitch kept; clamped to kMinFactor..kMaxFactor
 *                                     (audio/FactorRange.h: 0.5..2.0). Returns 1.
 *   int SetVolume(int volume)         0..100 (clamped); 50 = the file's own loudness, the gain is
 *                                     volume / 50 (truncated toward zero, limited to +-32767, as
 *                                     the cut's fades scale). Returns 1.
 *   int GetEncodeType(void)           MPEG audio layer of the open file (3 for MP3), 0 when none.
 *   int Close(void)                   stops and closes the file; the device is released. Returns 1.
 *   int EnableHWDecode(int)           no hardware decoding; ignored, returns 0.
 *   int IsHaveVideo(void)             0.
 *   int SetVideoShowMod(int)          no video; ignored, returns 0.
 *   int SetSyncAudioVideo(int)        no video; ignored, returns 0.
 *   int SetPitch(double pitch)        pitch factor, tempo kept; clamped to kMinFactor..kMaxFactor.
 *                                     Returns 1.
 *   double GetPitch(void)             the pitch factor in use.
 *   int SetFadeIn(int64_t startMs, int64_t lengthMs)   the cut's fade-in in source time: each
 *                                     block gets the gain the cut gives a block ending at the same
 *                                     time, rising from 0 at startMs to full at startMs + lengthMs;
 *                                     outside that, no change. lengthMs <= 100 = no fade-in.
 *   int SetFadeOut(int64_t startMs, int64_t endMs)     the cut's fade-out in source time: the
 *                                     gain falls from full at startMs to 0 at endMs and stays 0
 *                                     up to startMs + endMs, as the cut's window does; outside
 *                                     that, no change. endMs - startMs <= 100 = no fade-out.
 *   int EnableFade(int enable)        the fades above apply only while enabled (default off).
 *   int SetOutPCMFun(PlovexPcmCallback fn, void* user)   fn (or NULL to stop) is called on the
 *                                     library's audio thread with every block sent to the device.
 *                                     It must return quickly and must not call back into the
 *                                     library's Open or Close.
 *   int SetStopPos(int ms)            playback ends at this source time, to the sample: nothing
 *                                     after it is decoded, the stretched tail is flushed, and once
 *                                     it has been heard the player stops there (GetState 1,
 *                                     GetPos = ms). ms < 0 = no stop position (the default); Open
 *                                     keeps it. 1 = done.
 *
 * A decoder of its own, for reading a whole file while the player plays another (any thread; one
 * handle is used by one thread at a time). Its samples are those the player sends at unit factors.
 *   PlovexDecoder* DecoderOpen(const char* utf8Path)   NULL on the failures Open reports.
 *   int DecoderFormat(PlovexDecoder* d, int* sampleRate, int* channels, int* samplesPerFrame)
 *                                     the format and the MPEG frame's length in samples. 1 = done.
 *   int DecoderRead(PlovexDecoder* d, int16_t* pcm, int maxFrames)   up to maxFrames frames
 *                                     (interleaved values); 0 at the end or where the stream can
 *                                     no longer be decoded.
 *   int DecoderClose(PlovexDecoder* d)   frees the handle (NULL is ignored). Returns 1.
 *   int HasAudioDevice(void)          1 when the open file plays on a sound device, 0 when no
 *                                     device could be opened for it (it then plays silently, in
 *                                     real time) or no file is open. Each Open tries the device
 *                                     again when the last one found none.
 *
 * At tempo 1.0, pitch 1.0, volume 50 and no fade the samples sent to the device are exactly what
 * libmpg123 decodes (gapless, signed 16-bit, the file's own rate and channels).
 */
#ifndef PLOVEX1_H
#define PLOVEX1_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    PLOVEX_STATE_CLOSED = 0,
    PLOVEX_STATE_STOPPED = 1,
    PLOVEX_STATE_PLAYING = 2,
    PLOVEX_STATE_PAUSED = 3
};

/* pcm: interleaved signed 16-bit values; samples: how many values (frames = samples / channels). */
typedef void (*PlovexPcmCallback)(const int16_t* pcm, int samples, int channels, int sampleRate,
                                  void* user);

/* A decoder handle of DecoderOpen. */
typedef struct PlovexDecoder PlovexDecoder;

/* The exports in the order of the player table, as X(name); for loaders and tests. */
#define PLOVEX1_EXPORTS(X)                                                                         \
    X(Open)                                                                                        \
    X(SetShowHWnd)                                                                                 \
    X(Play)                                                                                        \
    X(Pause)                                                                                       \
    X(Stop)                                                                                        \
    X(Stop2)                                                                                       \
    X(Pause2)                                                                                      \
    X(Resume2)                                                                                     \
    X(IsOpend)                                                                                     \
    X(GetLen)                                                                                      \
    X(GetPos)                                                                                      \
    X(SetPos)                                                                                      \
    X(GetWidth)                                                                                    \
    X(GetHeight)                                                                                   \
    X(GetAduioChannels)                                                                            \
    X(GetAudioSamplesPerSec)                                                                       \
    X(GetState)                                                                                    \
    X(SetRate)                                                                                     \
    X(SetVolume)                                                                                   \
    X(GetEncodeType)                                                                               \
    X(Close)                                                                                       \
    X(EnableHWDecode)                                                                              \
    X(IsHaveVideo)                                                                                 \
    X(SetVideoShowMod)                                                                             \
    X(SetSyncAudioVideo)                                                                           \
    X(SetPitch)                                                                                    \
    X(GetPitch)                                                                                    \
    X(SetFadeIn)                                                                                   \
    X(SetFadeOut)                                                                                  \
    X(EnableFade)                                                                                  \
    X(SetOutPCMFun)                                                                                \
    X(SetStopPos)                                                                                  \
    X(DecoderOpen)                                                                                 \
    X(DecoderFormat)                                                                               \
    X(DecoderRead)                                                                                 \
    X(DecoderClose)                                                                                \
    X(HasAudioDevice)

/* Pointer types of the exports, named PlovexFn_<export>. */
typedef int (*PlovexFn_Open)(const char* utf8Path);
typedef int (*PlovexFn_SetShowHWnd)(void* window);
typedef int (*PlovexFn_Play)(void);
typedef int (*PlovexFn_Pause)(void);
typedef int (*PlovexFn_Stop)(void);
typedef int (*PlovexFn_Stop2)(void);
typedef int (*PlovexFn_Pause2)(void);
typedef int (*PlovexFn_Resume2)(void);
typedef int (*PlovexFn_IsOpend)(void);
typedef int (*PlovexFn_GetLen)(void);
typedef int (*PlovexFn_GetPos)(void);
typedef int (*PlovexFn_SetPos)(int ms);
typedef int (*PlovexFn_GetWidth)(void);
typedef int (*PlovexFn_GetHeight)(void);
typedef int (*PlovexFn_GetAduioChannels)(void);
typedef int (*PlovexFn_GetAudioSamplesPerSec)(void);
typedef int (*PlovexFn_GetState)(void);
typedef int (*PlovexFn_SetRate)(double tempo);
typedef int (*PlovexFn_SetVolume)(int volume);
typedef int (*PlovexFn_GetEncodeType)(void);
typedef int (*PlovexFn_Close)(void);
typedef int (*PlovexFn_EnableHWDecode)(int enable);
typedef int (*PlovexFn_IsHaveVideo)(void);
typedef int (*PlovexFn_SetVideoShowMod)(int mode);
typedef int (*PlovexFn_SetSyncAudioVideo)(int enable);
typedef int (*PlovexFn_SetPitch)(double pitch);
typedef double (*PlovexFn_GetPitch)(void);
typedef int (*PlovexFn_SetFadeIn)(int64_t startMs, int64_t lengthMs);
typedef int (*PlovexFn_SetFadeOut)(int64_t startMs, int64_t endMs);
typedef int (*PlovexFn_EnableFade)(int enable);
typedef int (*PlovexFn_SetOutPCMFun)(PlovexPcmCallback fn, void* user);
typedef int (*PlovexFn_SetStopPos)(int ms);
typedef PlovexDecoder* (*PlovexFn_DecoderOpen)(const char* utf8Path);
typedef int (*PlovexFn_DecoderFormat)(PlovexDecoder* decoder, int* sampleRate, int* channels,
                                      int* samplesPerFrame);
typedef int (*PlovexFn_DecoderRead)(PlovexDecoder* decoder, int16_t* pcm, int maxFrames);
typedef int (*PlovexFn_DecoderClose)(PlovexDecoder* decoder);
typedef int (*PlovexFn_HasAudioDevice)(void);

/* Prototypes only for the library itself: everyone else resolves the exports at run time, and
 * global names such as Open or Close would only get in their way. */
#ifdef PLOVEX1_BUILDING
#define PLOVEX1_API __attribute__((visibility("default")))
PLOVEX1_API int Open(const char* utf8Path);
PLOVEX1_API int SetShowHWnd(void* window);
PLOVEX1_API int Play(void);
PLOVEX1_API int Pause(void);
PLOVEX1_API int Stop(void);
PLOVEX1_API int Stop2(void);
PLOVEX1_API int Pause2(void);
PLOVEX1_API int Resume2(void);
PLOVEX1_API int IsOpend(void);
PLOVEX1_API int GetLen(void);
PLOVEX1_API int GetPos(void);
PLOVEX1_API int SetPos(int ms);
PLOVEX1_API int GetWidth(void);
PLOVEX1_API int GetHeight(void);
PLOVEX1_API int GetAduioChannels(void);
PLOVEX1_API int GetAudioSamplesPerSec(void);
PLOVEX1_API int GetState(void);
PLOVEX1_API int SetRate(double tempo);
PLOVEX1_API int SetVolume(int volume);
PLOVEX1_API int GetEncodeType(void);
PLOVEX1_API int Close(void);
PLOVEX1_API int EnableHWDecode(int enable);
PLOVEX1_API int IsHaveVideo(void);
PLOVEX1_API int SetVideoShowMod(int mode);
PLOVEX1_API int SetSyncAudioVideo(int enable);
PLOVEX1_API int SetPitch(double pitch);
PLOVEX1_API double GetPitch(void);
PLOVEX1_API int SetFadeIn(int64_t startMs, int64_t lengthMs);
PLOVEX1_API int SetFadeOut(int64_t startMs, int64_t endMs);
PLOVEX1_API int EnableFade(int enable);
PLOVEX1_API int SetOutPCMFun(PlovexPcmCallback fn, void* user);
PLOVEX1_API int SetStopPos(int ms);
PLOVEX1_API PlovexDecoder* DecoderOpen(const char* utf8Path);
PLOVEX1_API int DecoderFormat(PlovexDecoder* decoder, int* sampleRate, int* channels,
                              int* samplesPerFrame);
PLOVEX1_API int DecoderRead(PlovexDecoder* decoder, int16_t* pcm, int maxFrames);
PLOVEX1_API int DecoderClose(PlovexDecoder* decoder);
PLOVEX1_API int HasAudioDevice(void);
#endif

#ifdef __cplusplus
}
#endif

#endif /* PLOVEX1_H */
