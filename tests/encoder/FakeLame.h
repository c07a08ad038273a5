// A stand-in for the encoder library with predictable output: each chunk
// becomes "C" + its 0-based number + its value count (2 bytes), the flush
// becomes "FLUSH". Installed for the lifetime of the object.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Lame_dll.h"

struct FakeLame {
    FakeLame();
    ~FakeLame();
    FakeLame(const FakeLame&) = delete;
    FakeLame& operator=(const FakeLame&) = delete;

    // Behaviour
    uint32_t numSamples = 1152;
    uint32_t bufSize = 16;
    uint32_t initResult = BE_ERR_SUCCESSFUL;
    int failOnChunk = -1;  // the chunk number whose encode returns encodeFailure
    uint32_t encodeFailure = 7;

    // Observations
    std::vector<uint8_t> config;  // the TBECONFIG bytes of the last init
    std::vector<uint32_t> chunkCounts;
    std::vector<int16_t> firstValues;  // the first value of each chunk
    std::vector<int16_t> values;       // every value handed over
    int openStreams = 0;
    int versionReads = 0;
    int flushes = 0;
};
