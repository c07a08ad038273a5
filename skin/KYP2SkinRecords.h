// The skin record file: a 24-byte header and a chain of 77-byte record
// headers, each naming a bitmap, an integer, a flag or a string. This is
// the portable part of the skin file reader: it walks the chain and keeps
// the values by name; the reader turns bitmap records into bitmaps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SysUtils.h"

class TStream;

// A record file that cannot be walked: the chain leaves the file, loops,
// or claims more data than the file holds.
class ESkinFileError : public Exception {
    using Exception::Exception;
};

enum Tsk2RecordType : uint8_t { rtBitmap = 0, rtInteger = 1, rtBoolean = 2, rtString = 3 };

class Tsk2SkinRecords {
public:
    struct TBitmapRecord {
        String Name;
        std::vector<uint8_t> Data;  // a whole BMP file, not yet checked
    };

    // Walks the chain from the stream's start; ESkinFileError (or a stream
    // error) when the file is damaged. The header whose next position is 0
    // ends the chain and contributes nothing. Names and strings are 8-bit
    // text taken byte for character; a name ends at its first NUL or after
    // 64 bytes.
    void Read(TStream& stream);

    // Lookups ignore case; a name stored twice answers with its first value.
    // -1 when absent.
    int32_t GetInteger(const String& key) const;
    // False when absent; True for any non-zero byte.
    bool GetBool(const String& key) const;
    // "" when absent.
    String GetStr(const String& key) const;
    // The first record's value changes; a record is added when absent.
    void SetInteger(const String& key, int32_t value);
    void SetBool(const String& key, bool value);

    const std::vector<TBitmapRecord>& Bitmaps() const { return m_Bitmaps; }
    // The bitmap records' data are no longer needed once decoded.
    void ReleaseBitmapData() { m_Bitmaps.clear(); }

private:
    template <class V>
    struct TNamed {
        String Name;
        V Value;
    };
    void ReadRecord(TStream& stream, const String& name, uint8_t type, uint32_t position, uint32_t size,
        int64_t fileSize, uint64_t& dataTotal);

    std::vector<TBitmapRecord> m_Bitmaps;
    std::vector<TNamed<int32_t>> m_Integers;
    std::vector<TNamed<uint8_t>> m_Booleans;
    std::vector<TNamed<String>> m_Strings;
};
