// Encodes one WAV file to MP3 through TLameCoder at 128 kbit/s and prints
// how long the encode took, in seconds. Used as the encoder demo and by
// scripts/bench-encode.
#include <chrono>
#include <cstdio>

#include "LameCoder.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: quorvell_encode <input.wav> <output.mp3>\n");
        return 2;
    }
    try {
        auto coder = MakeOwned<TLameCoder>(nullptr);
        coder->InputFiles()->Add(FromUtf8(argv[1]));
        coder->OutputFiles()->Add(FromUtf8(argv[2]));
        const auto start = std::chrono::steady_clock::now();
        coder->ProcessFiles();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        std::printf("%.4f\n", elapsed.count());
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "quorvell_encode: %s\n", e.what());
        return 1;
    }
}
