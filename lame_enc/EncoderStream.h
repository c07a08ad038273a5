// One MP3 stream being encoded: a LAME encoder set up from an LHV1 record,
// and the sizes the caller's buffers are held to.
#pragma once

#include <cstdint>
#include <memory>

#include <lame/lame.h>

#include "Lame_dll.h"

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using LameFlags = std::unique_ptr<lame_global_flags, LameCloser>;

class EncoderStream {
public:
    // Null when the record cannot be encoded; the BE_ERR_* reason is in *error.
    static std::unique_ptr<EncoderStream> Create(const TLHV1& config, uint32_t* error);

    // Samples per channel in one chunk: LAME's frame size.
    uint32_t SamplesPerChunk() const { return samplesPerChunk_; }
    // Fits the output of any accepted call, the final flush included.
    uint32_t OutputBufferSize() const { return outputBufferSize_; }
    // The most 16-bit values one Encode call takes, whatever the channel count.
    uint32_t MaxValuesPerCall() const { return 2 * samplesPerChunk_; }

    // values holds valueCount interleaved values; the pointers are checked by the caller.
    uint32_t Encode(uint32_t valueCount, const int16_t* values, uint8_t* output, uint32_t* outputCount);
    // Ends the stream: later Encode and Flush calls fail with BE_ERR_INVALID_HANDLE.
    uint32_t Flush(uint8_t* output, uint32_t* outputCount);

private:
    // After a refused call LAME's buffers are no longer consistent, and a
    // further call can abort inside LAME; a failed stream only closes.
    enum class State { Open, Flushed, Failed };

    EncoderStream(LameFlags lame, int channels, uint32_t outputBufferSize);

    LameFlags lame_;
    int channels_;
    uint32_t samplesPerChunk_;
    uint32_t outputBufferSize_;
    State state_ = State::Open;

    uint32_t Finish(int written, uint32_t* outputCount);
    uint32_t RefusalForState() const;
};
