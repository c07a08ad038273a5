// Feeds arbitrary bytes, as a skin record file, to the record reader.
// Only the reader's own error or a stream error may come out.
#include <cstdint>

#include "KYP2SkinRecords.h"
#include "Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    Tsk2SkinRecords records;
    try {
        records.Read(stream);
    } catch (const ESkinFileError&) {
        return 0;
    } catch (const EStreamError&) {
        return 0;
    }
    records.GetInteger(L"SKIN2_FORMCOLOR");
    records.GetBool(L"SKIN2_TITLEFIVESECT");
    records.GetStr(L"x");
    return 0;
}
