// The button gallery: every skinned button kind in every built-in style and
// state, and in the look of a skin file:
//
//   quorvell_gallery_demo [--skin FILE] [--seconds S] [--capture FILE]
//
// Without --skin, or when FILE cannot be loaded, the skin file's row falls
// back to DeepBlue as every skinned class does. --seconds closes the window
// by itself (for scripted screenshots); otherwise Esc or closing it ends.
#include <windows.h>

#include <memory>

#include "ButtonGallery.h"
#include "DemoSupport.h"
#include "Forms.h"
#include "KYPMgr.h"

namespace {

class TGalleryForm : public TForm {
public:
    explicit TGalleryForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Quorvell button gallery");
        SetKeyPreview(true);
        OnKeyDown = [](TObject*, WORD& key, TShiftState) {
            if (key == VK_ESCAPE) Application->Terminate();
        };
        // The skin file's row is there with or without a file to show.
        theme_ = New<TkypFileTheme>(this);
        const String skin = DemoCommandLine().Skin();
        if (!skin.empty()) theme_->SetThemeFile(skin);
        gallery_ = std::make_unique<TButtonGallery>(this, theme_);
    }

    void Pose() { gallery_->Pose(); }

private:
    TkypFileTheme* theme_ = nullptr;  // owned by the form
    std::unique_ptr<TButtonGallery> gallery_;
};

}  // namespace

int wmain(int, wchar_t**)
{
    Application->Initialize();
    Application->SetTitle(L"Quorvell button gallery");
    auto* form = Application->CreateForm<TGalleryForm>();
    form->Show();
    Application->ProcessMessages();
    form->Pose();
    EndAsAsked(form, 1000, [form](const String& file) { SaveScreen(WindowArea(*form), file); });
    Application->Run();
    return 0;
}
