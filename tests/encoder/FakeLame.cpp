#include "FakeLame.h"

#include <cstring>

#include "LameLibrary.h"

namespace {

FakeLame* fake = nullptr;
constexpr HBE_STREAM kStream = 77;

uint32_t Version(TBEVersion* version)
{
    ++fake->versionReads;
    *version = TBEVersion{};
    version->byDLLMajorVersion = 9;
    version->byMinorVersion = 3;
    return 0;
}

uint32_t InitStream(TBECONFIG* config, uint32_t* samples, uint32_t* bufferSize, HBE_STREAM* stream)
{
    fake->config.assign(reinterpret_cast<uint8_t*>(config), reinterpret_cast<uint8_t*>(config) + sizeof *config);
    if (fake->initResult != BE_ERR_SUCCESSFUL) return fake->initResult;
    *samples = fake->numSamples;
    *bufferSize = fake->bufSize;
    *stream = kStream;
    ++fake->openStreams;
    return 0;
}

uint32_t EncodeChunk(HBE_STREAM stream, uint32_t count, const int16_t* values, uint8_t* output, uint32_t* outputCount)
{
    if (stream != kStream) return BE_ERR_INVALID_HANDLE;
    const int number = static_cast<int>(fake->chunkCounts.size());
    fake->chunkCounts.push_back(count);
    fake->firstValues.push_back(count ? values[0] : 0);
    fake->values.insert(fake->values.end(), values, values + count);
    if (number == fake->failOnChunk) return fake->encodeFailure;
    output[0] = 'C';
    output[1] = static_cast<uint8_t>('0' + number % 10);
    output[2] = static_cast<uint8_t>(count & 0xFF);
    output[3] = static_cast<uint8_t>(count >> 8);
    *outputCount = 4;
    return 0;
}

uint32_t DeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t* outputCount)
{
    if (stream != kStream) return BE_ERR_INVALID_HANDLE;
    ++fake->flushes;
    std::memcpy(output, "FLUSH", 5);
    *outputCount = 5;
    return 0;
}

uint32_t CloseStream(HBE_STREAM stream)
{
    if (stream != kStream) return BE_ERR_INVALID_HANDLE;
    --fake->openStreams;
    return 0;
}

const TLameFunctions kTable{Version, InitStream, EncodeChunk, DeinitStream, CloseStream};

}  // namespace

FakeLame::FakeLame()
{
    fake = this;
    UseLameFunctions(&kTable);
}

FakeLame::~FakeLame()
{
    UseLameFunctions(nullptr);
    fake = nullptr;
}
