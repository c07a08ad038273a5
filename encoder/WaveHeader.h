// The canonical 44-byte PCM WAV header: a RIFF chunk holding a 16-byte
// "fmt " chunk and a "data" chunk. The recorder writes it before recording;
// the encoder recognises it at the start of an input file.
#pragma once

#include <cstdint>

#pragma pack(push, 1)
struct TWaveHeader {
    char Marker1[4];  // "RIFF"
    uint32_t BytesFollowing;
    char Marker2[4];  // "WAVE"
    char Marker3[4];  // "fmt "
    uint32_t Fixed1;  // length of the format chunk: 16
    uint16_t FormatTag;
    uint16_t Channels;
    uint32_t SampleRate;
    uint32_t BytesPerSecond;
    uint16_t BytesPerSample;  // block alignment: bytes of one sample frame
    uint16_t BitsPerSample;
    char Marker4[4];  // "data"
    uint32_t DataBytes;
};
#pragma pack(pop)

static_assert(sizeof(TWaveHeader) == 44);

constexpr uint16_t WAVE_FORMAT_PCM_TAG = 1;

// The header of an empty PCM recording in the given format.
TWaveHeader MakePcmWaveHeader(uint16_t channels, uint16_t bitsPerSample, uint32_t sampleRate);

bool HasWaveMarker(const TWaveHeader& header);
