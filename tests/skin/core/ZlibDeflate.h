// Raw Deflate streams made by zlib, the reference compressor of the tests.
#pragma once

#include <string>

#include <zlib.h>

// Level 0 gives stored blocks, Z_FIXED fixed-code blocks, the default
// strategy dynamic ones.
std::string ZlibDeflate(const std::string& data, int level = 6, int strategy = Z_DEFAULT_STRATEGY);
// Text-like data that compresses about as well as a skin's bitmaps.
std::string SampleData(size_t size, unsigned seed = 1);
