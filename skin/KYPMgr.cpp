#include "KYPMgr.h"

#include "Bitmap.h"
#include "KYPPublic.h"

TkypFileTheme::TkypFileTheme(TComponent* owner) : TComponent(owner), m_Mgr(MakeOwned<TkypFileThemeMgr>()) {}

TkypFileTheme::~TkypFileTheme() = default;

void TkypFileTheme::SetThemeFile(const String& value)
{
    m_ThemeFile = value;
    m_CanUse = m_Mgr->LoadFromFile(value, m_Password);
}

void TkypFileTheme::SetPassword(const String& value)
{
    m_Password = value;
    if (!value.empty()) SetThemeFile(m_ThemeFile);
}

TBitmap* TkypFileTheme::GetBitmap(Tsk2SkinBitmapElement index) const { return m_Mgr->GetBitmap(index); }

void TkypFileTheme::GetBitmap2(Tsk2SkinBitmapElement index, TBitmap* buf, int spitCount, int spitIndex) const
{
    if (!buf) return;
    TBitmap* source = GetBitmap(index);
    if (!source) {
        buf->SetSize(0, 0);
        return;
    }
    if (spitCount != 0 && spitIndex != 0)
        ExtractStripPiece(source, buf, spitCount, spitIndex);
    else
        buf->Assign(source);
}

TColor TkypFileTheme::GetColor(Tsk2SkinColorElement index) const { return m_Mgr->GetColor(index); }
int32_t TkypFileTheme::GetInt(Tsk2IntElement index) const { return m_Mgr->GetInt(index); }
bool TkypFileTheme::GetBool(Tsk2BoolElement index) const { return m_Mgr->GetBool(index); }

bool UsesThemeFile(const TkypFileTheme* theme, TkypUIStyle style, TkypUIStyle& resolved)
{
    resolved = style;
    if (style != FromThemeFile) return false;
    if (theme && theme->CanUse()) return true;
    resolved = DeepBlue;
    return false;
}

TkypThemeLink::~TkypThemeLink()
{
    // The holder's own base part is still alive here.
    if (theme_) theme_->RemoveFreeNotification(holder_);
}

void TkypThemeLink::Set(TkypFileTheme* theme)
{
    if (theme == theme_) return;
    if (theme_) theme_->RemoveFreeNotification(holder_);
    theme_ = theme;
    if (theme_) theme_->FreeNotification(holder_);
}

bool TkypThemeLink::Removed(TComponent* component, TOperation operation, TkypUIStyle& style)
{
    if (operation != TOperation::opRemove || !theme_ || component != theme_) return false;
    theme_ = nullptr;
    style = DeepBlue;
    return true;
}
