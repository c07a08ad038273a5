#include "ZlibDeflate.h"

#include <stdexcept>

std::string ZlibDeflate(const std::string& data, int level, int strategy)
{
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, -15, 8, strategy) != Z_OK) throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (status != Z_STREAM_END) throw std::runtime_error("deflate");
    out.resize(stream.total_out);
    return out;
}

std::string SampleData(size_t size, unsigned seed)
{
    static const char* const words[] = {"skin ", "title ", "bar ", "button ", "border ", "colour ", "menu ",
        "\x01\x10\x20\xFF", "frame ", "region ", "\n", "bitmap ", "0123456789 "};
    std::string out;
    unsigned state = seed;
    while (out.size() < size) {
        state = state * 1103515245u + 12345u;
        out += words[(state >> 16) % (sizeof words / sizeof words[0])];
        if ((state >> 8) % 7 == 0) out += static_cast<char>(state >> 24);
    }
    out.resize(size);
    return out;
}
