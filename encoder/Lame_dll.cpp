#include "Lame_dll.h"

#include <mutex>

#include "DynamicLibrary.h"
#include "FileSystem.h"
#include "LameLibrary.h"

namespace {

struct TLoadedLame {
    TDynamicLibrary library;
    TLameFunctions functions{};
    bool complete = false;
    String error;
};

const TLoadedLame& Loaded()
{
    static TLoadedLame loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        const String fileName = ExtractFilePath(ProgramFileName()) + TDynamicLibrary::PlatformFileName(L"lame_enc");
        loaded.library = TDynamicLibrary(fileName);
        if (!loaded.library.Loaded()) {
            loaded.error = fileName + L": " + loaded.library.Error();
            return;
        }
        auto resolve = [&](auto& slot, const char* name) {
            slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(loaded.library.Resolve(name));
            if (!slot && loaded.error.empty()) loaded.error = fileName + L" does not export " + FromUtf8(name);
        };
        resolve(loaded.functions.Version, "beVersion");
        resolve(loaded.functions.InitStream, "beInitStream");
        resolve(loaded.functions.EncodeChunk, "beEncodeChunk");
        resolve(loaded.functions.DeinitStream, "beDeinitStream");
        resolve(loaded.functions.CloseStream, "beCloseStream");
        loaded.complete = loaded.error.empty();
    });
    return loaded;
}

const TLameFunctions* testTable = nullptr;

const TLameFunctions* Functions()
{
    if (testTable) return testTable;
    const TLoadedLame& loaded = Loaded();
    return loaded.complete ? &loaded.functions : nullptr;
}

}  // namespace

bool LameLibraryAvailable() { return Functions() != nullptr; }

String LameLibraryError() { return LameLibraryAvailable() ? String() : Loaded().error; }

void UseLameFunctions(const TLameFunctions* table) { testTable = table; }

// Without the library the functions answer as a library that refuses
// everything; the encoder component turns that into its own error.
extern "C" {

uint32_t beVersion(TBEVersion* version)
{
    const TLameFunctions* f = Functions();
    return f ? f->Version(version) : BE_ERR_LIBRARY_MISSING;
}

uint32_t beInitStream(TBECONFIG* config, uint32_t* samples, uint32_t* bufferSize, HBE_STREAM* stream)
{
    const TLameFunctions* f = Functions();
    return f ? f->InitStream(config, samples, bufferSize, stream) : BE_ERR_LIBRARY_MISSING;
}

uint32_t beEncodeChunk(HBE_STREAM stream, uint32_t samples, const int16_t* values, uint8_t* output,
                       uint32_t* outputCount)
{
    const TLameFunctions* f = Functions();
    return f ? f->EncodeChunk(stream, samples, values, output, outputCount) : BE_ERR_LIBRARY_MISSING;
}

uint32_t beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t* outputCount)
{
    const TLameFunctions* f = Functions();
    return f ? f->DeinitStream(stream, output, outputCount) : BE_ERR_LIBRARY_MISSING;
}

uint32_t beCloseStream(HBE_STREAM stream)
{
    const TLameFunctions* f = Functions();
    return f ? f->CloseStream(stream) : BE_ERR_LIBRARY_MISSING;
}

}  // extern "C"
