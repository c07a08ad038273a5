// The button gallery: every skinned button kind in every built-in style and
// state, and in the look of a skin file:
//
//   quorvell_gallery_demo [--skin FILE] [--seconds S]
//
// Without --skin, or when FILE cannot be loaded, the skin file's row falls
// back to DeepBlue as every skinned class does. --seconds closes the window
// by itself (for scripted screenshots); otherwise Esc or closing it ends.
#include <windows.h>

#include <cwchar>
#include <memory>

#include "ButtonGallery.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "KYPMgr.h"

namespace {

String skinFile;

class TGalleryForm : public TForm {
public:
    explicit TGalleryForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Quorvell button gallery");
        SetKeyPreview(true);
        OnKeyDown = [](TObject*, WORD& key, TShiftState) {
            if (key == VK_ESCAPE) Application->Terminate();
        };
        theme_ = New<TkypFileTheme>(this);
        if (!skinFile.empty()) theme_->SetThemeFile(skinFile);
        gallery_ = std::make_unique<TButtonGallery>(this, theme_);
        closer_ = New<TTimer>(this);
        closer_->SetEnabled(false);
        closer_->SetOnTimer([](TObject*) { Application->Terminate(); });
    }

    void Pose() { gallery_->Pose(); }
    void CloseAfter(unsigned seconds)
    {
        closer_->SetInterval(seconds * 1000);
        closer_->SetEnabled(true);
    }

private:
    TkypFileTheme* theme_ = nullptr;  // owned by the form
    std::unique_ptr<TButtonGallery> gallery_;
    TTimer* closer_ = nullptr;  // owned by the form
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    unsigned seconds = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::wcscmp(argv[i], L"--skin")) skinFile = argv[++i];
        else if (!std::wcscmp(argv[i], L"--seconds")) seconds = static_cast<unsigned>(std::wcstoul(argv[++i], nullptr, 10));
    }
    Application->Initialize();
    Application->SetTitle(L"Quorvell button gallery");
    auto* form = Application->CreateForm<TGalleryForm>();
    form->Show();
    Application->ProcessMessages();
    form->Pose();
    if (seconds) form->CloseAfter(seconds);
    Application->Run();
    return 0;
}
