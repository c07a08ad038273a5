// A window cut to a round picture on a magenta background: drag it by any
// point, press Esc to close. "--seconds N" closes it by itself (for
// scripted runs), "--capture FILE" saves what the screen shows of it.
#include <windows.h>

#include <cmath>

#include "Bitmap.h"
#include "DemoSupport.h"
#include "FormLoader.h"
#include "Forms.h"
#include "KYPSkinForm.h"
#include "StdCtrls.h"

namespace {

constexpr int kSize = 360;
constexpr TColor kMagenta = 0xFF00FF;

uint32_t Mix(uint32_t from, uint32_t to, double t)
{
    auto channel = [&](int shift) {
        const double a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        return static_cast<uint32_t>(a + (b - a) * t) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

// A disc with a lit rim, a dark face and a red record button in the middle.
void DrawPicture(TBitmap& picture)
{
    picture.SetSize(kSize, kSize);
    const double centre = (kSize - 1) / 2.0;
    for (int y = 0; y < kSize; ++y) {
        uint32_t* row = picture.ScanLine(y);
        for (int x = 0; x < kSize; ++x) {
            const double dx = x - centre, dy = y - centre;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double light = std::clamp(0.5 - (dx + dy) / (4.0 * centre), 0.0, 1.0);
            if (r > 178)
                row[x] = 0xFF00FF;  // 0x00RRGGBB magenta: see-through
            else if (r > 164)
                row[x] = Mix(0x1E2A44, 0xC8D6F0, light);
            else if (r > 60)
                row[x] = Mix(0x0B1020, 0x2A3F6E, light * (1.0 - r / 200.0));
            else if (r > 54)
                row[x] = 0xE8E8E8;
            else
                row[x] = Mix(0x7A0E0E, 0xFF4A3A, light);
        }
    }
    TCanvas& canvas = picture.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetName(L"Tahoma");
    canvas.Font().SetHeight(-28);
    canvas.Font().SetStyle(fsBold);
    canvas.Font().SetColor(clWhite);
    const String title = L"Quorvell";
    canvas.TextOut((kSize - canvas.TextWidth(title)) / 2, 78, title);
    canvas.Font().SetHeight(-13);
    canvas.Font().SetStyle(0);
    canvas.Font().SetColor(0xF0D0B0);
    const String hint = L"drag me anywhere - Esc closes";
    canvas.TextOut((kSize - canvas.TextWidth(hint)) / 2, 258, hint);
}

class TShapeForm : public TForm {
public:
    explicit TShapeForm(TComponent* owner) : TForm(owner)
    {
        TFormLoader load(this);
        SetPosition(TPosition::poScreenCenter);
        SetKeyPreview(true);
        OnKeyDown = [](TObject*, WORD& key, TShiftState) {
            if (key == VK_ESCAPE) Application->Terminate();
        };
        load.Add<TkypSkinForm>(L"skinForm", this, [](TkypSkinForm& skin) {
            DrawPicture(*skin.Glyph());
            skin.SetTransparentColor(kMagenta);
        });
        load.Finish();
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Application->Initialize();
    Application->SetTitle(L"Quorvell shape demo");
    TShapeForm* form = nullptr;
    Application->CreateForm(form);
    EndAsAsked(form, 800, [form](const String& file) { SaveScreen(WindowArea(*form), file); });
    Application->Run();
    return 0;
}
