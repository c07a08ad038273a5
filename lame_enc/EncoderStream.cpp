#include "EncoderStream.h"

#include <algorithm>
#include <cstdarg>
#include <iterator>

namespace {

enum class Quality { Normal, Low, High, Voice };

// The LHV1 record checked and turned into LAME's terms.
struct EncoderSettings {
    int inputRate = 0;
    int outputRate = 0;
    MPEG_mode mode = STEREO;
    int channels = 2;
    bool vbr = false;
    int bitrate = 0;     // CBR, kbit/s
    int maxBitrate = 0;  // VBR, kbit/s; 0 keeps LAME's ceiling
    int vbrQuality = 0;
    Quality quality = Quality::Normal;
    bool privateBit = false;
    bool crc = false;
    bool copyright = false;
    bool original = false;
    bool vbrTag = false;
};

// Checked before LAME sees them so that no value wraps when it becomes an
// int; LAME's setters then judge which rates MP3 can carry.
constexpr uint32_t kMinRate = 8000;
constexpr uint32_t kMaxRate = 192000;

// A bitrate must be one MP3 has. LAME moves one the output rate cannot carry
// (128 kbit/s at 8 kHz, 320 at 22.05 kHz) to the nearest it can, so a rate and
// a bitrate chosen independently still make a stream.
constexpr uint32_t kMp3Bitrates[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 192, 224, 256, 320};
constexpr int kMaxVbrQuality = 9;

// Speech needs nothing above 10 kHz, so VOICE spends no bits there.
constexpr int kVoiceLowpassHz = 10000;
constexpr int kVoiceQuality = 5;
constexpr int kLowQuality = 7;
constexpr int kHighQuality = 2;

// lame_encode_flush never needs more.
constexpr uint64_t kFlushBound = 7200;

bool InRange(uint32_t value, uint32_t low, uint32_t high) { return value >= low && value <= high; }

bool IsMp3Bitrate(uint32_t kbps)
{
    return std::find(std::begin(kMp3Bitrates), std::end(kMp3Bitrates), kbps) != std::end(kMp3Bitrates);
}

Quality QualityOf(uint32_t nQuality)
{
    switch (nQuality) {
    case 1: return Quality::Low;
    case 2: return Quality::High;
    case 3: return Quality::Voice;
    default: return Quality::Normal;
    }
}

uint32_t ReadSettings(const TLHV1& config, EncoderSettings* settings)
{
    constexpr MPEG_mode kModes[] = {STEREO, JOINT_STEREO, DUAL_CHANNEL, MONO};
    const uint32_t outputRate = config.dwReSampleRate != 0 ? config.dwReSampleRate : config.dwSampleRate;
    const bool vbr = config.bEnableVBR != 0;
    if (!InRange(config.dwSampleRate, kMinRate, kMaxRate) || !InRange(outputRate, kMinRate, kMaxRate) ||
        config.nMode < 0 || config.nMode > 3 ||
        (!vbr && !IsMp3Bitrate(config.dwBitrate)) ||
        (vbr && config.dwMaxBitrate != 0 && !IsMp3Bitrate(config.dwMaxBitrate)))
        return BE_ERR_INVALID_FORMAT_PARAMETERS;

    settings->inputRate = int(config.dwSampleRate);
    settings->outputRate = int(outputRate);
    settings->mode = kModes[config.nMode];
    settings->channels = settings->mode == MONO ? 1 : 2;
    settings->vbr = vbr;
    settings->bitrate = int(config.dwBitrate);
    settings->maxBitrate = int(config.dwMaxBitrate);
    settings->vbrQuality = std::clamp(int(config.nVBRQuality), 0, kMaxVbrQuality);
    settings->quality = QualityOf(config.nQuality);
    settings->privateBit = config.bPrivate != 0;
    settings->crc = config.bCRC != 0;
    settings->copyright = config.bCopyright != 0;
    settings->original = config.bOriginal != 0;
    // There is no file to rewrite at the end, so LAME can only reserve the tag
    // frame at the start of the stream: a frame of silence with a valid header
    // and no tag inside, which decoders play as such. Without VBR a tag would
    // say nothing a CBR stream does not already say, so none is written.
    settings->vbrTag = vbr && config.bWriteVBRHeader != 0;
    return BE_ERR_SUCCESSFUL;
}

// The library runs inside a windowed program: LAME's remarks go nowhere.
void IgnoreReport(const char*, va_list) {}

bool SetRateControl(lame_global_flags* flags, const EncoderSettings& settings)
{
    if (!settings.vbr) return lame_set_VBR(flags, vbr_off) == 0 && lame_set_brate(flags, settings.bitrate) == 0;
    return lame_set_VBR(flags, vbr_mtrh) == 0 && lame_set_VBR_q(flags, settings.vbrQuality) == 0 &&
           (settings.maxBitrate == 0 || lame_set_VBR_max_bitrate_kbps(flags, settings.maxBitrate) == 0);
}

// lowpassHz 0 leaves the filter to LAME.
bool SetQuality(lame_global_flags* flags, Quality quality, int lowpassHz)
{
    if (lowpassHz != 0 && lame_set_lowpassfreq(flags, lowpassHz) != 0) return false;
    switch (quality) {
    case Quality::Normal: return true;
    case Quality::Low: return lame_set_quality(flags, kLowQuality) == 0;
    case Quality::High: return lame_set_quality(flags, kHighQuality) == 0;
    case Quality::Voice: return lame_set_quality(flags, kVoiceQuality) == 0;
    }
    return false;
}

bool ApplySettings(lame_global_flags* flags, const EncoderSettings& settings, int lowpassHz)
{
    // Each setter checks its own value; any refusal refuses the record.
    const int results[] = {
        lame_set_errorf(flags, IgnoreReport),
        lame_set_debugf(flags, IgnoreReport),
        lame_set_msgf(flags, IgnoreReport),
        lame_set_in_samplerate(flags, settings.inputRate),
        lame_set_out_samplerate(flags, settings.outputRate),
        lame_set_num_channels(flags, settings.channels),
        lame_set_mode(flags, settings.mode),
        lame_set_extension(flags, settings.privateBit),
        lame_set_error_protection(flags, settings.crc),
        lame_set_copyright(flags, settings.copyright),
        lame_set_original(flags, settings.original),
        lame_set_bWriteVbrTag(flags, settings.vbrTag),
    };
    return std::all_of(std::begin(results), std::end(results), [](int result) { return result == 0; }) &&
           SetRateControl(flags, settings) && SetQuality(flags, settings.quality, lowpassHz);
}

uint32_t OpenLame(const EncoderSettings& settings, int lowpassHz, LameFlags* result)
{
    LameFlags lame(lame_init());
    if (!lame) return BE_ERR_ENCODER_FAILED;
    if (!ApplySettings(lame.get(), settings, lowpassHz) || lame_init_params(lame.get()) != 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    *result = std::move(lame);
    return BE_ERR_SUCCESSFUL;
}

// LAME picks its lowpass from the bitrate only while initializing, so VOICE
// learns that choice first and lowers it to its own limit only where it is higher.
uint32_t OpenEncoder(const EncoderSettings& settings, LameFlags* result)
{
    const uint32_t error = OpenLame(settings, 0, result);
    if (error != BE_ERR_SUCCESSFUL || settings.quality != Quality::Voice ||
        lame_get_lowpassfreq(result->get()) <= kVoiceLowpassHz)
        return error;
    return OpenLame(settings, kVoiceLowpassHz, result);
}

// LAME's worst case for one call is 1.25 bytes per sample and channel plus
// 7200 (no MP3 rate carries more than 1.25 bytes per sample: 320 kbit/s at
// 32 kHz, 160 at 16 kHz, 64 at 8 kHz). Resampling up multiplies the samples
// that reach the encoder, so they are counted at the higher of the two rates.
uint32_t OutputBound(uint32_t samplesPerChannel, int inputRate, int outputRate)
{
    const uint64_t encodedRate = uint64_t(std::max(inputRate, outputRate));
    const uint64_t encodedSamples = (samplesPerChannel * encodedRate + uint64_t(inputRate) - 1) / uint64_t(inputRate);
    const uint64_t chunkBound = (encodedSamples * 5 + 3) / 4 + 7200;
    return uint32_t(std::max(chunkBound, kFlushBound));
}

}  // namespace

std::unique_ptr<EncoderStream> EncoderStream::Create(const TLHV1& config, uint32_t* error)
{
    EncoderSettings settings;
    LameFlags lame;
    *error = ReadSettings(config, &settings);
    if (*error == BE_ERR_SUCCESSFUL) *error = OpenEncoder(settings, &lame);
    if (*error != BE_ERR_SUCCESSFUL) return nullptr;

    // Mono takes as many values per call as stereo, so twice the samples per channel.
    const uint32_t maxSamplesPerChannel = 2 * uint32_t(lame_get_framesize(lame.get())) / uint32_t(settings.channels);
    const uint32_t bufferSize = OutputBound(maxSamplesPerChannel, settings.inputRate, settings.outputRate);
    return std::unique_ptr<EncoderStream>(new EncoderStream(std::move(lame), settings.channels, bufferSize));
}

EncoderStream::EncoderStream(LameFlags lame, int channels, uint32_t outputBufferSize)
    : lame_(std::move(lame)),
      channels_(channels),
      samplesPerChunk_(uint32_t(lame_get_framesize(lame_.get()))),
      outputBufferSize_(outputBufferSize)
{
}

uint32_t EncoderStream::Encode(uint32_t valueCount, const int16_t* values, uint8_t* output, uint32_t* outputCount)
{
    if (state_ != State::Open) return RefusalForState();
    if (valueCount > MaxValuesPerCall()) return BE_ERR_BUFFER_TOO_SMALL;
    if (valueCount % uint32_t(channels_) != 0) return BE_ERR_INVALID_SAMPLE_COUNT;
    if (valueCount == 0) return Finish(0, outputCount);

    const int samplesPerChannel = int(valueCount) / channels_;
    const int bufferSize = int(outputBufferSize_);
    // LAME copies the interleaved input and never writes to it; only its
    // declaration lacks the const.
    const int written =
        channels_ == 2
            ? lame_encode_buffer_interleaved(lame_.get(), const_cast<int16_t*>(values), samplesPerChannel, output,
                                             bufferSize)
            : lame_encode_buffer(lame_.get(), values, values, samplesPerChannel, output, bufferSize);
    return Finish(written, outputCount);
}

uint32_t EncoderStream::Flush(uint8_t* output, uint32_t* outputCount)
{
    if (state_ != State::Open) return RefusalForState();
    const uint32_t result = Finish(lame_encode_flush(lame_.get(), output, int(outputBufferSize_)), outputCount);
    if (state_ == State::Open) state_ = State::Flushed;
    return result;
}

uint32_t EncoderStream::Finish(int written, uint32_t* outputCount)
{
    if (written < 0) {
        state_ = State::Failed;
        return BE_ERR_ENCODER_FAILED;
    }
    *outputCount = uint32_t(written);
    return BE_ERR_SUCCESSFUL;
}

uint32_t EncoderStream::RefusalForState() const
{
    return state_ == State::Flushed ? BE_ERR_INVALID_HANDLE : BE_ERR_ENCODER_FAILED;
}
