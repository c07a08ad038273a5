#include "KYP2SkinReader.h"

#include <windows.h>
#include <objbase.h>

#include "Bitmap.h"
#include "FileSystem.h"
#include "KYP2Archive.h"
#include "Streams.h"

namespace {

// Removes the temporary file on every way out of a load.
class TTempFileGuard {
public:
    explicit TTempFileGuard(String name) : name_(std::move(name)) {}
    TTempFileGuard(const TTempFileGuard&) = delete;
    TTempFileGuard& operator=(const TTempFileGuard&) = delete;
    ~TTempFileGuard() { RemoveFile(name_); }
    const String& Name() const { return name_; }

private:
    String name_;
};

}  // namespace

String NewSkinTempFileName()
{
    GUID guid{};
    if (FAILED(CoCreateGuid(&guid))) throw Exception(L"Failed to read skin file!");
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return TempDirectory() + text;
}

Tsk2SkinFileReader::Tsk2SkinFileReader(const String& fileName, const String& password)
{
    LoadSkinFile(fileName, password);
}

Tsk2SkinFileReader::~Tsk2SkinFileReader() = default;

void Tsk2SkinFileReader::LoadSkinFile(const String& fileName, const String& password)
{
    m_Ready = false;
    const TTempFileGuard temp(NewSkinTempFileName());
    const uint8_t result = ExtractArchiveMember(fileName, kSkinDataMember, temp.Name(), password);
    if (result == kExtractRefused) return;
    if (result != kExtractOk) throw Exception(L"Failed to read skin file!");
    {
        TFileStream stream(temp.Name(), fmOpenRead | fmShareDenyNone);
        m_Records.Read(stream);
    }
    LoadBitmaps();
    m_Ready = true;
}

void Tsk2SkinFileReader::LoadBitmaps()
{
    for (const Tsk2SkinRecords::TBitmapRecord& record : m_Records.Bitmaps()) {
        TMemoryStream data;
        data.WriteBuffer(record.Data.data(), static_cast<int64_t>(record.Data.size()));
        data.SetPosition(0);
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromStream(data);
        m_BitmapList.push_back({record.Name, std::move(bitmap)});
    }
    m_Records.ReleaseBitmapData();
}

TBitmap* Tsk2SkinFileReader::GetBitmap(const String& key) const
{
    for (const TNamedBitmap& entry : m_BitmapList)
        if (SameText(entry.Name, key)) return entry.Bitmap.get();
    return nullptr;
}

void Tsk2SkinFileReader::SetBitmap(const String& key, TBitmap* buf)
{
    if (TBitmap* stored = GetBitmap(key)) stored->Assign(buf);
}

void Tsk2SkinFileReader::ProcessTransparentColor(TColor transColor)
{
    for (TNamedBitmap& entry : m_BitmapList) {
        entry.Bitmap->SetTransparentMode(TTransparentMode::tmFixed);
        entry.Bitmap->SetTransparentColor(transColor);
    }
}
