// The encoder library's binary interface: the records exchanged with
// lame_enc.dll and its five functions.
//
// The same declarations serve both sides. The recorder resolves the functions
// from lame_enc.dll at run time (Lame_dll.cpp), so a missing library is an
// encoder error instead of a program that cannot start; lame_enc/ defines
// them for real and exports them by name.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// The older fixed-field configuration; declared for completeness, never filled.
struct TLameMP3 {
    uint32_t dwSampleRate;
    uint8_t byMode;
    uint16_t wBitrate;
    uint8_t bPrivate;
    uint8_t bCRC;
    uint8_t bCopyright;
    uint8_t bOriginal;
};

// 32-bit Booleans: 0 is false, any other value true.
struct TLHV1 {
    uint32_t dwStructVersion;
    uint32_t dwStructSize;
    uint32_t dwSampleRate;
    uint32_t dwReSampleRate;
    int32_t nMode;
    uint32_t dwBitrate;
    uint32_t dwMaxBitrate;
    uint32_t nQuality;
    uint32_t dwMpegVersion;
    uint32_t dwPsyModel;
    uint32_t dwEmphasis;
    int32_t bPrivate;
    int32_t bCRC;
    int32_t bCopyright;
    int32_t bOriginal;
    int32_t bWriteVBRHeader;
    int32_t bEnableVBR;
    int32_t nVBRQuality;
    uint8_t btReserved[255];
};

struct TFormat {
    uint32_t dwConfig;
    union {
        TLHV1 LHV1;
        TLameMP3 MP3;
    };
};

struct TBECONFIG {
    TFormat Format;
};

struct TBEVersion {
    uint8_t byDLLMajorVersion;
    uint8_t byDLLMinorVersion;
    uint8_t byMajorVersion;
    uint8_t byMinorVersion;
    uint8_t byDay;
    uint8_t byMonth;
    uint16_t wYear;
    char zHomepage[514];
};

#pragma pack(pop)

static_assert(sizeof(TLameMP3) == 11);
static_assert(sizeof(TLHV1) == 327);
static_assert(sizeof(TBECONFIG) == 331);
static_assert(offsetof(TLHV1, nVBRQuality) == 72 - 4);
static_assert(offsetof(TLHV1, btReserved) == 76 - 4);
static_assert(sizeof(TBEVersion) == 522);

// dwConfig value that selects the LHV1 form.
constexpr uint32_t BE_CONFIG_LAME = 256;

// Results of the five functions. Zero is success; the others are ours and
// reach the user only as a number in "beEncodeChunk failed <n>".
constexpr uint32_t BE_ERR_SUCCESSFUL = 0;
constexpr uint32_t BE_ERR_INVALID_FORMAT = 1;             // not an LHV1 configuration
constexpr uint32_t BE_ERR_INVALID_FORMAT_PARAMETERS = 2;  // rate, mode or bitrate refused
constexpr uint32_t BE_ERR_NO_MORE_HANDLES = 3;
constexpr uint32_t BE_ERR_INVALID_HANDLE = 4;
constexpr uint32_t BE_ERR_BUFFER_TOO_SMALL = 5;           // more values than one chunk
constexpr uint32_t BE_ERR_INVALID_SAMPLE_COUNT = 6;       // not whole frames for the mode
constexpr uint32_t BE_ERR_ENCODER_FAILED = 7;
constexpr uint32_t BE_ERR_LIBRARY_MISSING = 100;          // reported by the loader, never by the library

using HBE_STREAM = uint32_t;

extern "C" {
uint32_t beVersion(TBEVersion* version);
uint32_t beInitStream(TBECONFIG* config, uint32_t* samples, uint32_t* bufferSize, HBE_STREAM* stream);
uint32_t beEncodeChunk(HBE_STREAM stream, uint32_t samples, const int16_t* values, uint8_t* output,
                       uint32_t* outputCount);
uint32_t beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t* outputCount);
uint32_t beCloseStream(HBE_STREAM stream);
}
