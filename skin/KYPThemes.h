// The five built-in styles: 48 attributes each (integers, colours, flags and
// bitmap resource names), their typed readers, and the default style of a
// new skinned control.
#pragma once

#include <cstdint>
#include <memory>

#include "Graphics.h"
#include "KYP2Define.h"
#include "KYPStyle.h"
#include "SysUtils.h"
#include "Classes.h"

class TBitmap;
class TComponent;

// Kinds of style attributes.
constexpr uint8_t kStyleInt = 0;
constexpr uint8_t kStyleColor = 1;
constexpr uint8_t kStyleBitmap = 2;
constexpr uint8_t kStyleBool = 3;
constexpr int kStyleAttributeCount = 48;

// The raw value and kind of attribute Attr (1 to 48) of a built-in style;
// -1 with kind 0 for a style outside MacOS to BlueGlass (and for an
// attribute outside 1 to 48). A bitmap attribute's value is the address of
// its resource name.
intptr_t GetStyleAttribute(TkypUIStyle style, int attr, uint8_t& kind);
TColor GetStyleColor(TkypUIStyle style, int attr);  // 0 unless a colour
int32_t GetStyleInt(TkypUIStyle style, int attr);   // -1 unless an integer
bool GetStyleBool(TkypUIStyle style, int attr);     // false unless a flag
// The resource name of a bitmap attribute; null for any other.
const wchar_t* GetStyleBitmapName(TkypUIStyle style, int attr);

// Loads the attribute's bitmap resource into Bitmap; leaves it untouched
// for any other kind, and does nothing for a nil bitmap.
void LoadStyleBitmap(TkypUIStyle style, int attr, TBitmap* bitmap);
// The whole image (SpitCount 0), or piece SpitIndex of SpitCount pieces.
void GetStyleBitmap(TkypUIStyle style, int attr, TBitmap* bitmap, int spitCount, int spitIndex);

// Typed getters of the named attributes (TkypStyleAttr, KYPStyle.h).
inline TColor GetStyleColor(TkypUIStyle style, TkypStyleAttr attr) { return GetStyleColor(style, static_cast<int>(attr)); }
inline int32_t GetStyleInt(TkypUIStyle style, TkypStyleAttr attr) { return GetStyleInt(style, static_cast<int>(attr)); }
inline bool GetStyleBool(TkypUIStyle style, TkypStyleAttr attr) { return GetStyleBool(style, static_cast<int>(attr)); }
inline void LoadStyleBitmap(TkypUIStyle style, TkypStyleAttr attr, TBitmap* bitmap)
{
    LoadStyleBitmap(style, static_cast<int>(attr), bitmap);
}
inline void GetStyleBitmap(TkypUIStyle style, TkypStyleAttr attr, TBitmap* bitmap, int spitCount, int spitIndex)
{
    GetStyleBitmap(style, static_cast<int>(attr), bitmap, spitCount, spitIndex);
}

// A skinned control takes the style of the skinned form frame on its
// owner form, DeepBlue when there is none.
TkypUIStyle DefaultStyleFor(TComponent* owner);

// Implemented by the skinned form frame among its form's controls, so that
// new controls on the form can take its style without the style tables
// knowing the frame class. (Theme loading asks another role: IkypFormFrame.)
class IkypStyleSource {
public:
    virtual TkypUIStyle StyleForChildren() const = 0;

protected:
    ~IkypStyleSource() = default;
};

class Tsk2SkinFileReader;

// Answers the theme's lookups from the skin file reader it holds: nothing
// while no skin file is loaded.
class TkypFileThemeMgr : public TObject {
public:
    TkypFileThemeMgr();
    ~TkypFileThemeMgr() override;

    // With no reader: 0, nil, 0 and false. The bitmap belongs to the
    // reader and stays valid until the next load or the manager's end:
    // callers draw or copy it and never keep it.
    TColor GetColor(Tsk2SkinColorElement index) const;
    TBitmap* GetBitmap(Tsk2SkinBitmapElement index) const;
    int32_t GetInt(Tsk2IntElement index) const;
    bool GetBool(Tsk2BoolElement index) const;

    // Replaces the reader by one for FileName; false when it cannot be read.
    bool LoadFromFile(const String& fileName, const String& password);

private:
    std::unique_ptr<Tsk2SkinFileReader> m_FileReader;  // null until a skin file loads
};
