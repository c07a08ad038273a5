// The skin file reader: extracts a skin file's record member into a
// temporary file, reads its records once and answers lookups by entry name.
#pragma once

#include <memory>
#include <vector>

#include "Classes.h"
#include "Graphics.h"
#include "KYP2SkinRecords.h"

class TBitmap;

// The member of a skin archive that holds the records.
inline const String kSkinDataMember = L"SKINDATA.SK2";

class Tsk2SkinFileReader : public TObject {
public:
    // Raises Exception "Failed to read skin file!" when the file is no skin
    // archive or its member cannot be extracted, the framework's error when
    // a record cannot be read; a missing or wrong password, or an extracted
    // size other than the recorded one, leaves Ready() false instead.
    Tsk2SkinFileReader(const String& fileName, const String& password);
    ~Tsk2SkinFileReader() override;

    bool Ready() const { return m_Ready; }

    // Owned by the reader: draw or copy it. Null when absent.
    TBitmap* GetBitmap(const String& key) const;
    int32_t GetInteger(const String& key) const { return m_Records.GetInteger(key); }
    bool GetBool(const String& key) const { return m_Records.GetBool(key); }
    String GetStr(const String& key) const { return m_Records.GetStr(key); }
    // Copies Buf into the bitmap stored under Key; nothing when there is none.
    void SetBitmap(const String& key, TBitmap* buf);
    void SetBool(const String& key, bool value) { m_Records.SetBool(key, value); }
    void SetInteger(const String& key, int32_t value) { m_Records.SetInteger(key, value); }
    void ProcessTransparentColor(TColor transColor);

private:
    void LoadSkinFile(const String& fileName, const String& password);
    void LoadBitmaps();

    struct TNamedBitmap {
        String Name;
        std::unique_ptr<TBitmap> Bitmap;
    };
    std::vector<TNamedBitmap> m_BitmapList;
    Tsk2SkinRecords m_Records;
    bool m_Ready = false;
};

// The temporary file that a skin file's records are extracted to: the
// temporary directory and a new GUID in its registry form.
String NewSkinTempFileName();
