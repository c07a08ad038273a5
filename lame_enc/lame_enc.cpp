// The five exported functions: argument checks and the handle lookup. Nothing
// may escape to the caller but a result code, exceptions included.
//
// A null pointer has no code of its own: a missing record reads as the wrong
// record, a missing result pointer as a refused parameter, missing samples as
// a wrong sample count and a missing output buffer as one too small.
#ifndef _WIN32
// Only the interface's declarations are visible outside the shared library.
#pragma GCC visibility push(default)
#endif
#include "Lame_dll.h"
#ifndef _WIN32
#pragma GCC visibility pop
#endif

#include <cstring>

#include "StreamTable.h"

namespace {

constexpr uint8_t kLibraryMajorVersion = 1;
constexpr uint8_t kLibraryMinorVersion = 0;
constexpr uint8_t kBuildDay = 8;
constexpr uint8_t kBuildMonth = 12;
constexpr uint16_t kBuildYear = 2026;
constexpr char kHomepage[] = "https://quorvell.invalid/";

template <class Body>
uint32_t Guarded(Body body)
{
    try {
        return body();
    } catch (...) {  // out of memory, or a lock the system refused
        return BE_ERR_ENCODER_FAILED;
    }
}

}  // namespace

extern "C" {

uint32_t beVersion(TBEVersion* version)
{
    if (!version) return BE_ERR_INVALID_FORMAT_PARAMETERS;
    lame_version_t lame{};
    get_lame_version_numerical(&lame);
    std::memset(version, 0, sizeof *version);
    version->byDLLMajorVersion = kLibraryMajorVersion;
    version->byDLLMinorVersion = kLibraryMinorVersion;
    version->byMajorVersion = uint8_t(lame.major);
    version->byMinorVersion = uint8_t(lame.minor);
    version->byDay = kBuildDay;
    version->byMonth = kBuildMonth;
    version->wYear = kBuildYear;
    static_assert(sizeof kHomepage <= sizeof version->zHomepage);
    std::memcpy(version->zHomepage, kHomepage, sizeof kHomepage);
    return BE_ERR_SUCCESSFUL;
}

uint32_t beInitStream(TBECONFIG* config, uint32_t* samples, uint32_t* bufferSize, HBE_STREAM* stream)
{
    if (!config || config->Format.dwConfig != BE_CONFIG_LAME) return BE_ERR_INVALID_FORMAT;
    if (!samples || !bufferSize || !stream) return BE_ERR_INVALID_FORMAT_PARAMETERS;
    return Guarded([&] {
        uint32_t error = BE_ERR_SUCCESSFUL;
        std::unique_ptr<EncoderStream> encoder = EncoderStream::Create(config->Format.LHV1, &error);
        if (!encoder) return error;
        const uint32_t chunkSamples = encoder->SamplesPerChunk();
        const uint32_t outputSize = encoder->OutputBufferSize();
        const HBE_STREAM handle = Streams().Add(std::move(encoder));
        if (handle == 0) return BE_ERR_NO_MORE_HANDLES;
        *samples = chunkSamples;
        *bufferSize = outputSize;
        *stream = handle;
        return BE_ERR_SUCCESSFUL;
    });
}

uint32_t beEncodeChunk(HBE_STREAM stream, uint32_t samples, const int16_t* values, uint8_t* output,
                       uint32_t* outputCount)
{
    if (!output || !outputCount) return BE_ERR_BUFFER_TOO_SMALL;
    *outputCount = 0;
    if (!values && samples != 0) return BE_ERR_INVALID_SAMPLE_COUNT;
    return Guarded([&] {
        return Streams().Use(stream, [&](EncoderStream& encoder) {
            return encoder.Encode(samples, values, output, outputCount);
        });
    });
}

uint32_t beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t* outputCount)
{
    if (!output || !outputCount) return BE_ERR_BUFFER_TOO_SMALL;
    *outputCount = 0;
    return Guarded([&] {
        return Streams().Use(stream, [&](EncoderStream& encoder) { return encoder.Flush(output, outputCount); });
    });
}

uint32_t beCloseStream(HBE_STREAM stream)
{
    return Guarded([&] { return Streams().Remove(stream) ? BE_ERR_SUCCESSFUL : BE_ERR_INVALID_HANDLE; });
}

}  // extern "C"
