// Feeds arbitrary bytes, as a skin archive file, to the member extraction.
// Whatever the result, a failed extraction must leave no output file, and
// a successful one exactly the recorded number of bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FileSystem.h"
#include "KYP2Archive.h"
#include "Streams.h"

namespace {

void Require(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "archive_fuzzer: %s\n", what);
    std::abort();
}

String FuzzFile(const char* suffix)
{
    return TempDirectory() + L"quorvell-archive-fuzz-" + IntToStr(getpid()) + FromUtf8(suffix);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const String archive = FuzzFile(".skn");
    static const String output = FuzzFile(".out");
    {
        TFileStream file(archive, fmCreate);
        file.WriteBuffer(data, static_cast<int64_t>(size));
    }
    // Byte 3 is never tested by the reader: its lowest bit gives the
    // password, so that both paths run.
    const String password = size > 3 && (data[3] & 1) ? L"secret" : L"";
    const uint8_t result = ExtractArchiveMember(archive, L"SKINDATA.SK2", output, password);
    Require(result <= kExtractRefused, "unknown result");
    Require((result == kExtractOk) == FileExists(output), "output left after a failure, or missing after success");
    if (result == kExtractOk) {
        Require(FileSizeOf(output) > 0, "empty output reported as success");
        RemoveFile(output);
    }
    return 0;
}
