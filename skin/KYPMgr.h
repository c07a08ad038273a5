// The theme-file component through which skinned classes read a skin
// file, style resolution, and the link a skinned class keeps to its theme.
#pragma once

#include "Classes.h"
#include "KYP2Define.h"
#include "KYPStyle.h"
#include "KYPThemes.h"

class TBitmap;
class TForm;

// The role of a skinned form frame (plain or MDI) towards theme loading:
// a skin file reloaded under a frame makes its form recompute the frame.
// Choosing the first style of new controls is another role
// (IkypStyleSource), which the MDI frame does not play.
class IkypFormFrame {
public:
    // The form whose window the frame draws; null while it has none.
    virtual TForm* FramedForm() const = 0;

protected:
    ~IkypFormFrame() = default;
};

class TkypFileTheme : public TComponent {
public:
    explicit TkypFileTheme(TComponent* owner);
    ~TkypFileTheme() override;

    const String& ThemeFile() const { return m_ThemeFile; }
    // Finds Value (as given, else its file name beside the program, in the
    // Windows and the system directory) and loads it; a file found nowhere
    // changes nothing. After a load the owner form's skinned components
    // re-read the theme, and a frame of the form among them that was
    // already skinned recomputes the form's frame (only a window that
    // exists: none is made for it).
    void SetThemeFile(const String& value);
    const String& Password() const { return m_Password; }
    void SetPassword(const String& value);
    bool Ready() const { return m_CanUse; }
    // Accepted from a form description and ignored: readiness follows loads.
    void SetReady(bool) {}
    bool CanUse() const { return m_CanUse; }

    // Owned by the theme's reader; valid until the next load. Draw or copy.
    TBitmap* GetBitmap(Tsk2SkinBitmapElement index) const;
    // Piece SpitIndex of SpitCount when both are non-zero, else the whole
    // image; Buf ends empty when the element is absent.
    void GetBitmap2(Tsk2SkinBitmapElement index, TBitmap* buf, int spitCount, int spitIndex) const;
    TColor GetColor(Tsk2SkinColorElement index) const;
    int32_t GetInt(Tsk2IntElement index) const;
    bool GetBool(Tsk2BoolElement index) const;

private:
    void RefreshOwnerComponents(bool hadThemeFile);

    TOwned<TkypFileThemeMgr> m_Mgr;
    String m_ThemeFile;
    bool m_CanUse = false;
    String m_Password;
};

// True when the class must read Theme; otherwise Resolved is the built-in
// style to read (DeepBlue for FromThemeFile without a loaded theme).
bool UsesThemeFile(const TkypFileTheme* theme, TkypUIStyle style, TkypUIStyle& resolved);

// A skinned class's reference to its theme-file component. The theme may
// belong to another owner, so the link always asks to hear of its removal;
// when it goes, the reference is dropped and the class falls back to
// DeepBlue, whatever style it had.
class TkypThemeLink {
public:
    explicit TkypThemeLink(TComponent* holder) : holder_(holder) {}
    TkypThemeLink(const TkypThemeLink&) = delete;
    TkypThemeLink& operator=(const TkypThemeLink&) = delete;
    ~TkypThemeLink();

    TkypFileTheme* Theme() const { return theme_; }
    void Set(TkypFileTheme* theme);
    // Call from the holder's Notification. True when the theme was removed;
    // Style is then DeepBlue.
    bool Removed(TComponent* component, TOperation operation, TkypUIStyle& style);

private:
    TComponent* holder_;  // not owned: the class that holds this link
    TkypFileTheme* theme_ = nullptr;  // not owned
};
