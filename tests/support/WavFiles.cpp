#include "WavFiles.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "TempDir.h"
#include "WaveHeader.h"

std::string SineSamples(double frequency, double seconds, uint32_t rate, uint16_t channels, double amplitude)
{
    const auto frames = static_cast<size_t>(seconds * rate);
    std::string bytes(frames * channels * 2, '\0');
    auto* out = reinterpret_cast<unsigned char*>(bytes.data());
    for (size_t i = 0; i < frames; ++i) {
        const auto value = static_cast<int16_t>(std::lround(amplitude * 32767.0 * std::sin(2 * std::numbers::pi * frequency * i / rate)));
        for (uint16_t c = 0; c < channels; ++c) {
            *out++ = static_cast<unsigned char>(value & 0xFF);
            *out++ = static_cast<unsigned char>((value >> 8) & 0xFF);
        }
    }
    return bytes;
}

void WriteWav(const String& fileName, const std::string& samples, uint32_t rate, uint16_t channels, uint16_t bits)
{
    TWaveHeader header = MakePcmWaveHeader(channels, bits, rate);
    header.DataBytes = static_cast<uint32_t>(samples.size());
    header.BytesFollowing = 36 + header.DataBytes;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    WriteFileBytes(fileName, bytes + samples);
}
