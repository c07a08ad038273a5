#include "KYPMgr.h"

#include <windows.h>

#include "Bitmap.h"
#include "FileSystem.h"
#include "Forms.h"
#include "KYPPublic.h"
#include "KYPPublicControls.h"
#include "TypInfo.h"

namespace {

constexpr UINT kRecomputeFrame = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

String WithDelimiter(String directory)
{
    if (directory.empty() || directory.back() != L'\\') directory += L'\\';
    return directory;
}

String SystemFolder(UINT(WINAPI* query)(LPWSTR, UINT))
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = query(buffer, MAX_PATH);
    return WithDelimiter(String(buffer, length < MAX_PATH ? length : 0));
}

// The value itself, then its file name beside the program, in the Windows
// directory and in the system directory; "" when none exists.
String FindThemeFile(const String& value)
{
    if (FileExists(value)) return value;
    const String name = ExtractFileName(value);
    if (name.empty()) return String();
    for (const String& folder : {WithDelimiter(ExtractFilePath(ProgramFileName())),
             SystemFolder(GetWindowsDirectoryW), SystemFolder(GetSystemDirectoryW)}) {
        if (FileExists(folder + name)) return folder + name;
    }
    return String();
}

bool RefersTo(TComponent* component, const TkypFileTheme* theme)
{
    const TPropInfo* info = GetPropInfo(component, L"FileTheme");
    return info && info->Kind == TPropKind::pkObject && info->GetObject(component) == theme;
}

}  // namespace

TkypFileTheme::TkypFileTheme(TComponent* owner) : TComponent(owner), m_Mgr(MakeOwned<TkypFileThemeMgr>()) {}

TkypFileTheme::~TkypFileTheme() = default;

void TkypFileTheme::SetThemeFile(const String& value)
{
    const bool hadThemeFile = !m_ThemeFile.empty();
    const String found = FindThemeFile(value);
    if (found.empty()) return;
    m_ThemeFile = found;
    m_CanUse = m_Mgr->LoadFromFile(m_ThemeFile, m_Password);
    if (m_CanUse) RefreshOwnerComponents(hadThemeFile);
}

// The skinned components of the owner form re-read the theme through their
// own FileTheme setters; a skinned frame also needs its window re-framed.
void TkypFileTheme::RefreshOwnerComponents(bool hadThemeFile)
{
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form) return;
    TForm* framed = nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* component = form->Components(i);
        if (!RefersTo(component, this)) continue;
        if (auto* frame = dynamic_cast<const IkypFormFrame*>(component); frame && frame->FramedForm() == form)
            framed = form;
        if (!component->ClassName().starts_with(L"Tkyp")) continue;
        SetObjectProp(component, L"FileTheme", nullptr);
        SetObjectProp(component, L"FileTheme", this);
    }
    if (framed && hadThemeFile && framed->HandleAllocated())
        SetWindowPos(framed->Handle(), nullptr, 0, 0, 0, 0, kRecomputeFrame);
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
