#include "WaveHeader.h"

#include <cstring>

TWaveHeader MakePcmWaveHeader(uint16_t channels, uint16_t bitsPerSample, uint32_t sampleRate)
{
    TWaveHeader header;
    std::memcpy(header.Marker1, "RIFF", 4);
    header.BytesFollowing = 36;
    std::memcpy(header.Marker2, "WAVE", 4);
    std::memcpy(header.Marker3, "fmt ", 4);
    header.Fixed1 = 16;
    header.FormatTag = WAVE_FORMAT_PCM_TAG;
    header.Channels = channels;
    header.SampleRate = sampleRate;
    const uint16_t bytesPerValue = bitsPerSample / 8;
    header.BytesPerSecond = uint32_t{channels} * sampleRate * bytesPerValue;
    header.BytesPerSample = static_cast<uint16_t>(channels * bytesPerValue);
    header.BitsPerSample = bitsPerSample;
    std::memcpy(header.Marker4, "data", 4);
    header.DataBytes = 0;
    return header;
}

bool HasWaveMarker(const TWaveHeader& header) { return std::memcmp(header.Marker2, "WAVE", 4) == 0; }
