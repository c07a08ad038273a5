// Feeds arbitrary bytes to the Deflate decoder, with its output capped as
// the archive reader caps it. Where zlib also accepts the stream, both
// must produce the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "KYP2Inflate.h"
#include "Streams.h"

namespace {

constexpr int64_t kCap = 1 << 20;

bool ZlibInflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK) return false;
    out.assign(kCap, 0);
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return status == Z_STREAM_END;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream source;
    source.WriteBuffer(data, static_cast<int64_t>(size));
    source.SetPosition(0);
    TMemoryStream output;
    const bool ours = InflateStream(source, output, kCap);
    if (output.Size() > kCap) {
        std::fprintf(stderr, "inflate_fuzzer: output past its cap\n");
        std::abort();
    }
    std::vector<uint8_t> reference;
    if (ours && ZlibInflate(data, size, reference)) {
        if (reference.size() != static_cast<size_t>(output.Size()) ||
            (output.Size() && std::memcmp(reference.data(), output.Memory(), reference.size()) != 0)) {
            std::fprintf(stderr, "inflate_fuzzer: output differs from zlib's\n");
            std::abort();
        }
    }
    return 0;
}
