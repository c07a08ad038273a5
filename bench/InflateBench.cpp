// Decodes the same 10 MB of Deflate data (text-like input compressed by
// zlib at level 6) with InflateStream and with zlib's inflate, five times
// each, and prints the medians and their ratio (target: at most 1.2).
// Run through scripts/bench-inflate, which builds it without sanitizers.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <zlib.h>

#include "KYP2Inflate.h"
#include "Streams.h"

namespace {

constexpr size_t kCompressedTarget = 10u << 20;

// Words, numbers and line breaks: compresses about 3.5 to 1 at level 6.
std::string MakeText(size_t size)
{
    static const char* const words[] = {"skin", "title", "bar", "button", "border", "colour", "menu", "frame",
        "region", "bitmap", "record", "archive", "window", "theme", "style", "caption"};
    std::string text;
    unsigned state = 12345;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % 16];
        text += (state >> 12) % 9 == 0 ? '\n' : ' ';
        if ((state >> 20) % 5 == 0) text += std::to_string(state % 100000);
    }
    text.resize(size);
    return text;
}

std::string Deflate(const std::string& data)
{
    z_stream stream{};
    deflateInit2(&stream, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

template <class Run>
double MedianSeconds(Run run)
{
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

}  // namespace

int main()
{
    // Grow the input until its compressed form is 10 MB.
    std::string text = MakeText(kCompressedTarget * 3);
    std::string deflated = Deflate(text);
    text = MakeText(static_cast<size_t>(static_cast<double>(text.size()) * kCompressedTarget / deflated.size()));
    deflated = Deflate(text);

    TMemoryStream source;
    source.WriteBuffer(deflated.data(), static_cast<int64_t>(deflated.size()));
    TMemoryStream ours;
    bool ok = true;
    const double oursSeconds = MedianSeconds([&] {
        source.SetPosition(0);
        ours.SetPosition(0);  // the stream keeps its memory between runs
        ok = ok && InflateStream(source, ours);
    });

    std::vector<uint8_t> reference(text.size());
    const double zlibSeconds = MedianSeconds([&] {
        z_stream stream{};
        inflateInit2(&stream, -15);
        stream.next_in = reinterpret_cast<Bytef*>(deflated.data());
        stream.avail_in = static_cast<uInt>(deflated.size());
        stream.next_out = reference.data();
        stream.avail_out = static_cast<uInt>(reference.size());
        ok = ok && inflate(&stream, Z_FINISH) == Z_STREAM_END;
        inflateEnd(&stream);
    });
    ok = ok && ours.Size() == static_cast<int64_t>(text.size()) &&
         std::equal(reference.begin(), reference.end(), ours.Memory()) &&
         std::equal(text.begin(), text.end(), reference.begin());
    if (!ok) {
        std::fprintf(stderr, "inflate bench: the outputs differ from the input\n");
        return 1;
    }
    const double mb = static_cast<double>(text.size()) / 1e6;
    std::printf("%.1f MB of Deflate data, %.1f MB of output, median of 5\n", deflated.size() / 1e6, mb);
    std::printf("InflateStream: %.3f s (%.0f MB/s)\n", oursSeconds, mb / oursSeconds);
    std::printf("zlib inflate:  %.3f s (%.0f MB/s)\n", zlibSeconds, mb / zlibSeconds);
    std::printf("ratio: %.2f (target: at most 1.2)\n", oursSeconds / zlibSeconds);
    return 0;
}
