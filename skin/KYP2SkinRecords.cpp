#include "KYP2SkinRecords.h"

#include <algorithm>
#include <unordered_set>

#include "Streams.h"

namespace {

constexpr int64_t kFileHeaderSize = 24;
constexpr int64_t kRecordHeaderSize = 77;
constexpr size_t kNameSize = 64;

uint32_t Le32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// 8-bit text up to its first NUL, each byte one character.
String TextOf(const uint8_t* bytes, size_t count)
{
    const uint8_t* end = std::find(bytes, bytes + count, 0);
    String text;
    text.reserve(static_cast<size_t>(end - bytes));
    for (const uint8_t* p = bytes; p != end; ++p) text += static_cast<wchar_t>(*p);
    return text;
}

template <class List>
auto FindNamed(List& list, const String& key) -> decltype(&list.front())
{
    for (auto& item : list)
        if (SameText(item.Name, key)) return &item;
    return nullptr;
}

template <class List, class V>
void SetNamed(List& list, const String& key, V value)
{
    if (auto* item = FindNamed(list, key))
        item->Value = value;
    else
        list.push_back({key, value});
}

}  // namespace

void Tsk2SkinRecords::Read(TStream& stream)
{
    const int64_t fileSize = stream.Size();
    if (fileSize < kFileHeaderSize) throw ESkinFileError(L"The skin data is too short");
    uint8_t header[kFileHeaderSize];
    stream.SetPosition(0);
    stream.ReadBuffer(header, kFileHeaderSize);
    // The header's own size field (offset 12) is not needed: the first
    // record's position stands at offset 20 whatever it says.
    uint32_t position = Le32(header + 20);

    // Record headers of a real file do not overlap, so a chain longer than
    // the file could hold is one that loops or overlaps itself.
    const size_t maxRecords = static_cast<size_t>(fileSize / kRecordHeaderSize);
    std::unordered_set<uint32_t> visited;
    uint64_t dataTotal = 0;
    for (;;) {
        if (position > fileSize - kRecordHeaderSize) throw ESkinFileError(L"A skin record lies outside the skin data");
        if (!visited.insert(position).second || visited.size() > maxRecords)
            throw ESkinFileError(L"The skin records do not form a chain");
        uint8_t record[kRecordHeaderSize];
        stream.SetPosition(position);
        stream.ReadBuffer(record, kRecordHeaderSize);
        const uint32_t next = Le32(record + 73);
        if (next == 0) break;
        ReadRecord(stream, TextOf(record, kNameSize), record[64], Le32(record + 65), Le32(record + 69), fileSize,
            dataTotal);
        position = next;
    }
}

void Tsk2SkinRecords::ReadRecord(TStream& stream, const String& name, uint8_t type, uint32_t position,
    uint32_t size, int64_t fileSize, uint64_t& dataTotal)
{
    // Integers and flags have fixed widths whatever the size field says.
    uint32_t width;
    switch (type) {
    case rtBitmap:
    case rtString: width = size; break;
    case rtInteger: width = 4; break;
    case rtBoolean: width = 1; break;
    default: return;  // unknown types are stepped over
    }
    // The records' data do not overlap either: together they fit the file.
    dataTotal += width;
    if (position > fileSize || width > fileSize - position || dataTotal > static_cast<uint64_t>(fileSize))
        throw ESkinFileError(L"A skin record's data lies outside the skin data");
    std::vector<uint8_t> data(width);
    stream.SetPosition(position);
    stream.ReadBuffer(data.data(), width);
    switch (type) {
    case rtBitmap: m_Bitmaps.push_back({name, std::move(data)}); break;
    case rtInteger: m_Integers.push_back({name, static_cast<int32_t>(Le32(data.data()))}); break;
    case rtBoolean: m_Booleans.push_back({name, data[0]}); break;
    default: m_Strings.push_back({name, TextOf(data.data(), data.size())}); break;
    }
}

int32_t Tsk2SkinRecords::GetInteger(const String& key) const
{
    const auto* item = FindNamed(m_Integers, key);
    return item ? item->Value : -1;
}

bool Tsk2SkinRecords::GetBool(const String& key) const
{
    const auto* item = FindNamed(m_Booleans, key);
    return item && item->Value != 0;
}

String Tsk2SkinRecords::GetStr(const String& key) const
{
    const auto* item = FindNamed(m_Strings, key);
    return item ? item->Value : String();
}

void Tsk2SkinRecords::SetInteger(const String& key, int32_t value) { SetNamed(m_Integers, key, value); }

void Tsk2SkinRecords::SetBool(const String& key, bool value) { SetNamed(m_Booleans, key, static_cast<uint8_t>(value)); }
