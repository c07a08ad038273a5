// Test sounds: PCM WAV files and raw sample files made on the spot.
#pragma once

#include <cstdint>
#include <string>

#include "SysUtils.h"

// Interleaved 16-bit samples of a sine tone.
std::string SineSamples(double frequency, double seconds, uint32_t rate, uint16_t channels, double amplitude = 0.5);

// A 44-byte header (data length filled in) followed by the samples.
void WriteWav(const String& fileName, const std::string& samples, uint32_t rate, uint16_t channels, uint16_t bits = 16);
