// The title bar without a shown window: sections, sizes and pictures per
// style and from a skin file, the collections' rules, strip pieces, the
// queries the form frames make, and references that go away.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "BmpCodec.h"
#include "Dialogs.h"
#include "Forms.h"
#include "KYPMgr.h"
#include "KYPPublicControls.h"
#include "KYPTitleBar.h"
#include "SkinFileSupport.h"
#include "TempDir.h"

namespace {

// A frame panel, as the skinned form frame will be: it parents the bar.
class TFakeFrame : public TCustomPanel, public IkypTitleBarFrame {
public:
    using TCustomPanel::TCustomPanel;
    bool IsMDIFrame() const override { return false; }
    void PaintFormBorder() override { ++borderPaints; }
    int borderPaints = 0;
};

class TitleBarItemsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        form = MakeOwned<TForm>(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(40, 40, 400, 200);
        oldHandler_ = SetMessageDlgHandler([this](const String& text, TMsgDlgType type, TMsgDlgButtons buttons) {
            refusals.push_back(text);
            EXPECT_EQ(type, TMsgDlgType::mtError);
            EXPECT_EQ(buttons, TMsgDlgButtons(mbOK));
            return mrOk;
        });
    }
    void TearDown() override { SetMessageDlgHandler(oldHandler_); }

    TkypTitleBar* NewBar(TWinControl* parent = nullptr)
    {
        TkypTitleBar* bar = New<TkypTitleBar>(form.get());
        bar->SetParent(parent ? parent : form.get());
        return bar;
    }

    static TOwned<TBitmap> Resource(const wchar_t* name)
    {
        auto bitmap = MakeOwned<TBitmap>();
        bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), name);
        return bitmap;
    }

    // Pixels of Piece (1 .. 18) of the raw strip equal Picture's.
    static bool IsPiece(TBitmap& strip, int piece, TPicture* picture)
    {
        const int width = strip.Width() / 18;
        const int left = piece == 18 ? strip.Width() - width : (piece - 1) * width;
        if (picture->Width() != width || picture->Height() != strip.Height()) return false;
        for (int y = 0; y < strip.Height(); ++y)
            for (int x = 0; x < width; ++x)
                if (strip.ScanLine(y)[left + x] != picture->Bitmap()->ScanLine(y)[x]) return false;
        return true;
    }

    TOwned<TForm> form;
    std::vector<String> refusals;

private:
    TMessageDlgHandler oldHandler_;
};

}  // namespace

TEST_F(TitleBarItemsTest, ANewBarHasTheDefaultButtonsFontAndDeepBlueSections)
{
    TkypTitleBar* bar = NewBar();
    TkypTitleBarButtons* buttons = bar->Buttons();
    ASSERT_EQ(buttons->Count(), 4);
    EXPECT_EQ(buttons->Items(0)->ButtonType(), kypControlBox);
    EXPECT_EQ(buttons->Items(1)->ButtonType(), kypClose);
    EXPECT_EQ(buttons->Items(2)->ButtonType(), kypMax);
    EXPECT_EQ(buttons->Items(3)->ButtonType(), kypMin);
    EXPECT_EQ(bar->Align(), TAlign::alTop);
    EXPECT_EQ(bar->Font().Color(), clWhite);
    EXPECT_EQ(bar->Font().Name(), L"Tahoma");
    EXPECT_EQ(bar->Font().Style(), TFontStyles(fsBold));
    EXPECT_EQ(bar->UIStyle(), DeepBlue);
    EXPECT_EQ(bar->InactiveCaptionColor(), clInactiveCaption);
    ASSERT_EQ(bar->Sections()->Count(), 3);
    EXPECT_EQ(bar->Sections()->Items(0)->Width(), 97);
    EXPECT_EQ(bar->Sections()->Items(1)->Align(), kypRight);
    EXPECT_EQ(bar->Sections()->Items(2)->Align(), kypClient);
    EXPECT_TRUE(bar->Sections()->Items(2)->Stretch());
    EXPECT_TRUE(bar->CanPaint());

    // A DeepBlue close button: 19-pixel pieces 16 to 18 of the 342 x 19 strip.
    TkypTitleBarButton* close = buttons->Items(1);
    TOwned<TBitmap> strip = Resource(L"DEEPBLUE_TITLEBTN");
    EXPECT_TRUE(IsPiece(*strip, 16, close->PicNormal()));
    EXPECT_TRUE(IsPiece(*strip, 17, close->PicMouseOn()));
    EXPECT_TRUE(IsPiece(*strip, 18, close->PicMouseDown()));
    EXPECT_FALSE(close->Transparent());
    EXPECT_EQ(close->Top(), 2);
    EXPECT_TRUE(IsPiece(*strip, 1, buttons->Items(0)->PicNormal()));
    EXPECT_TRUE(IsPiece(*strip, 7, buttons->Items(2)->PicNormal()));  // maximise, also without a form
    EXPECT_TRUE(IsPiece(*strip, 13, buttons->Items(3)->PicNormal()));

    // A new custom button: visible, not transparent, top 2, DeepBlue, no pictures.
    TkypTitleBarButton* custom = buttons->Add();
    EXPECT_TRUE(custom->Visible());
    EXPECT_EQ(custom->ButtonType(), kypCustom);
    EXPECT_FALSE(custom->Transparent());
    EXPECT_EQ(custom->Top(), 2);
    EXPECT_EQ(custom->UIStyle(), DeepBlue);
    EXPECT_EQ(custom->PicNormal()->Graphic(), nullptr);
    bar->AddHelpBtn();
    EXPECT_EQ(buttons->Items(5)->ButtonType(), kypHelp);
    EXPECT_TRUE(IsPiece(*strip, 4, buttons->Items(5)->PicNormal()));
}

TEST_F(TitleBarItemsTest, EachStyleGivesItsSizesOffsetsAndFont)
{
    struct TExpected {
        TkypUIStyle style;
        int height, leftOffset, rightOffset, buttonTop, roundCorner, minWidth;
        TColor font;
        bool transparent;
        const wchar_t* strip;
        int buttonWidth;
    };
    const TExpected table[] = {
        {MacOS, 23, 3, -2, 4, 0, 130, clBlack, false, L"MACOS_TITLEBTN", 17},
        {WinXP, 29, 2, -2, 5, 13, 150, clWhite, false, L"WINXP_TITLEBTN", 21},
        {DeepBlue, 32, 0, 0, 2, 0, 130, clWhite, false, L"DEEPBLUE_TITLEBTN", 19},
        {Protein, 23, 0, 0, 2, 0, 130, clWhite, true, L"PROTEIN_TITLEBTN", 19},
        {BlueGlass, 33, 4, -3, 6, 11, 270, clWhite, true, L"BLUEGLASS_TITLEBTN", 19},
    };
    TkypTitleBar* bar = NewBar();
    for (const TExpected& expected : table) {
        SCOPED_TRACE(static_cast<int>(expected.style));
        bar->SetUIStyle(expected.style);
        EXPECT_EQ(bar->Height(), expected.height);
        EXPECT_EQ(bar->LeftBtnXOffset(), expected.leftOffset);
        EXPECT_EQ(bar->RightBtnXOffset(), expected.rightOffset);
        EXPECT_EQ(bar->BtnTop(), expected.buttonTop);
        EXPECT_EQ(bar->IconTop(), expected.buttonTop);
        EXPECT_EQ(bar->RoundCorner(), expected.roundCorner);
        EXPECT_EQ(bar->RoundCornerBottom(), 0);
        EXPECT_EQ(form->Constraints().MinWidth(), expected.minWidth);
        EXPECT_EQ(form->Constraints().MinHeight(), 50);
        EXPECT_EQ(bar->Font().Color(), expected.font);
        EXPECT_TRUE(bar->AutoSize());
        TkypTitleBarButton* close = bar->Buttons()->Items(1);
        EXPECT_EQ(close->Transparent(), expected.transparent);
        EXPECT_EQ(close->Top(), expected.buttonTop);
        EXPECT_EQ(close->PicNormal()->Width(), expected.buttonWidth);
        TOwned<TBitmap> strip = Resource(expected.strip);
        EXPECT_EQ(bar->BtnHeight(), strip->Height());
        EXPECT_TRUE(IsPiece(*strip, 16, close->PicNormal()));
    }

    // Without a loaded skin file FromThemeFile draws DeepBlue and says so.
    bar->SetUIStyle(FromThemeFile);
    EXPECT_EQ(bar->UIStyle(), FromThemeFile);
    EXPECT_EQ(bar->Height(), 32);
    EXPECT_EQ(bar->Font().Color(), clWhite);
    EXPECT_EQ(bar->Buttons()->Items(1)->UIStyle(), DeepBlue);

    // A custom bar keeps everything but the style it stores.
    bar->SetUIStyle(WinXP);
    bar->SetCustom(true);
    bar->SetUIStyle(BlueGlass);
    EXPECT_EQ(bar->UIStyle(), BlueGlass);
    EXPECT_EQ(bar->Height(), 29);
    EXPECT_EQ(bar->Buttons()->Items(1)->UIStyle(), WinXP);
    EXPECT_EQ(bar->DefPopupMenu()->UIStyle(), WinXP);
}

TEST_F(TitleBarItemsTest, InsideASkinFrameTheBarLosesTheFramesTopRows)
{
    TFakeFrame* frame = New<TFakeFrame>(form.get());
    frame->SetParent(form.get());
    TkypTitleBar* bar = NewBar(frame);
    bar->SetUIStyle(DeepBlue);
    EXPECT_EQ(bar->Height(), 29);
    bar->SetUIStyle(BlueGlass);
    EXPECT_EQ(bar->Height(), 30);
    EXPECT_EQ(bar->BtnTop(), 3);
    bar->SetAutoSize(false);  // the height still follows the first picture
    EXPECT_EQ(bar->Height(), 30);
    EXPECT_FALSE(bar->AutoSize());

    // An empty first picture: no height, rather than minus three rows.
    bar->SetCustom(true);
    bar->Sections()->Items(0)->SetPicture(nullptr);
    bar->SetAutoSize(true);
    EXPECT_EQ(bar->Height(), 0);

    bar->Sections()->Clear();
    bar->SetAutoSize(true);
    EXPECT_FALSE(bar->AutoSize());
}

TEST_F(TitleBarItemsTest, SectionsAndButtonsKeepTheirRulesAndRefuseWithAMessage)
{
    TkypTitleBar* bar = NewBar();
    TkypTitleBarSections* sections = bar->Sections();
    TkypTitleBarSection* left = sections->Items(0);
    left->SetAlign(kypClient);
    EXPECT_EQ(left->Align(), kypLeft);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0], L"Sorry, only one section's Align property can be \"kypClient\"");
    sections->Items(2)->SetAlign(kypClient);  // the one that has it: silently
    EXPECT_EQ(refusals.size(), 1u);
    sections->Items(2)->SetStretch(false);
    EXPECT_TRUE(sections->Items(2)->Stretch());

    TkypTitleBarSection* added = sections->Add();
    EXPECT_EQ(added->Width(), 10);
    added->SetAutoSize(true);
    TOwned<TBitmap> picture = Resource(L"DEEPBLUE_TITLE_RIGHT");
    added->SetPicture(picture.get());
    EXPECT_EQ(added->Width(), 97);
    added->SetWidth(5);
    added->SetPicture(nullptr);
    EXPECT_EQ(added->Width(), 5);

    TkypTitleBarButton* second = bar->Buttons()->Items(3);
    second->SetButtonType(kypControlBox);
    EXPECT_EQ(second->ButtonType(), kypMin);
    ASSERT_EQ(refusals.size(), 2u);
    EXPECT_EQ(refusals[1], L"Sorry, only one button's ButtonType property can be \"kypControlBox\"");
    bar->Buttons()->Items(0)->SetButtonType(kypControlBox);
    EXPECT_EQ(refusals.size(), 2u);
}

TEST_F(TitleBarItemsTest, CopiesTakeEverythingButTheCaptionSectionMark)
{
    TkypTitleBar* source = NewBar();
    source->Sections()->Items(0)->SetCapSec(true);
    source->Sections()->Items(1)->SetPicture(nullptr);  // else the copy's width follows its picture
    source->Sections()->Items(1)->SetWidth(33);
    TkypTitleBar* target = NewBar();
    target->SetUIStyle(BlueGlass);
    target->SetSections(source->Sections());
    ASSERT_EQ(target->Sections()->Count(), 3);
    EXPECT_FALSE(target->Sections()->Items(0)->CapSec());
    EXPECT_EQ(target->Sections()->Items(1)->Width(), 33);
    EXPECT_EQ(target->Sections()->Items(1)->Align(), kypRight);
    EXPECT_EQ(target->Sections()->Items(2)->Align(), kypClient);
    EXPECT_EQ(target->Sections()->Items(0)->Picture()->Width(), 97);

    // A custom button keeps the source's top; a standard one takes its style's.
    TkypTitleBarButton* custom = source->Buttons()->Add();
    custom->SetTop(9);
    target->SetButtons(source->Buttons());
    EXPECT_EQ(target->Buttons()->Items(4)->Top(), 9);
    EXPECT_EQ(target->Buttons()->Items(1)->Top(), 2);
    EXPECT_EQ(refusals.size(), 0u);
}

TEST_F(TitleBarItemsTest, TheQueriesOfTheFormFramesAnswerFromTheBar)
{
    TkypTitleBar* bar = NewBar();
    TBitmap* image = nullptr;
    bar->GetTitleImage(-1, image);
    TBitmap* title = image;
    EXPECT_NE(title, nullptr);
    bar->GetTitleImage(-2, image);
    EXPECT_NE(image, title);
    bar->GetTitleImage(1, image);
    EXPECT_EQ(image, bar->Sections()->Items(1)->Picture()->Bitmap());
    bar->Sections()->Delete(2);
    EXPECT_FALSE(bar->CanPaint());
    TBitmap* kept = title;
    bar->GetTitleImage(0, kept);
    EXPECT_EQ(kept, title);

    // A form frame hands its style down by property name.
    ApplyThemeToChildren(form.get(), WinXP, nullptr);
    EXPECT_EQ(bar->UIStyle(), WinXP);

    // Painted at once, the title image covers the bar.
    form->SetWidth(300);
    bar->SetUIStyle(DeepBlue);
    bar->ForcePaint();
    bar->GetTitleImage(-1, image);
    EXPECT_EQ(image->Width(), bar->Width());
    EXPECT_EQ(image->Height(), 32);
}

TEST_F(TitleBarItemsTest, ThemesAndMenusThatGoAreDroppedAndTheStyleFallsBack)
{
    TkypTitleBar* bar = NewBar();
    {
        TOwned<TkypFileTheme> theme = MakeOwned<TkypFileTheme>(nullptr);  // another owner
        bar->SetUIStyle(WinXP);
        bar->SetFileTheme(theme.get());
    }
    EXPECT_EQ(bar->FileTheme(), nullptr);
    EXPECT_EQ(bar->UIStyle(), DeepBlue);

    TkypTitleBarButton* box = bar->Buttons()->Items(0);
    {
        TOwned<TPopupMenu> menu = MakeOwned<TPopupMenu>(nullptr);
        box->SetControlBoxMenu(menu.get());
        EXPECT_EQ(box->ControlBoxMenu(), menu.get());
    }
    EXPECT_EQ(box->ControlBoxMenu(), nullptr);
}

// A collection may be made without a bar (or outlive its use by one): its
// items' setters, and the collection's own changes, reach no bar.
TEST_F(TitleBarItemsTest, ItemsOfACollectionWithoutABarChangeWithoutRepainting)
{
    TOwned<TkypTitleBarSections> orphan = MakeOwned<TkypTitleBarSections>(nullptr);
    TkypTitleBarSection* section = orphan->Add();
    section->SetWidth(20);
    section->SetAlign(kypRight);
    section->SetCapSec(true);
    EXPECT_EQ(section->Width(), 20);
    EXPECT_EQ(orphan->TitleBar(), nullptr);
    TOwned<TkypTitleBarButtons> buttons = MakeOwned<TkypTitleBarButtons>(nullptr);
    TkypTitleBarButton* button = buttons->Add();
    button->SetButtonType(kypClose);
    button->SetVisible(false);
    button->DoClick();  // no bar: nothing
    EXPECT_EQ(button->PicNormal()->Width(), 19);
    EXPECT_FALSE(button->Visible());
}

// What the owner's notices and the user may do to the bar's own parts: the
// system menu freed from outside, then styles and themes switched (the
// theme also removed); a listener touching the bar as it is announced.
TEST_F(TitleBarItemsTest, TheBarKeepsWorkingWithoutItsSystemMenuAndIsWholeWhenAnnounced)
{
    TkypTitleBar* bar = NewBar();
    FreeObject(bar->DefPopupMenu());
    EXPECT_EQ(bar->DefPopupMenu(), nullptr);
    bar->SetUIStyle(WinXP);
    EXPECT_EQ(bar->Height(), 29);
    {
        TOwned<TkypFileTheme> theme = MakeOwned<TkypFileTheme>(nullptr);
        bar->SetFileTheme(theme.get());
        EXPECT_EQ(bar->FileTheme(), theme.get());
    }  // its removal falls back to DeepBlue
    EXPECT_EQ(bar->UIStyle(), DeepBlue);
    EXPECT_EQ(bar->Height(), 32);

    class TListeningForm : public TForm {
    public:
        using TForm::TForm;
        std::function<void(TComponent*)> OnInsert;

    protected:
        void Notification(TComponent* component, TOperation operation) override
        {
            TForm::Notification(component, operation);
            if (operation == TOperation::opInsert && OnInsert) OnInsert(component);
        }
    };
    auto owner = MakeOwned<TListeningForm>(nullptr);
    bool whole = false;
    owner->OnInsert = [&](TComponent* component) {
        auto* announced = dynamic_cast<TkypTitleBar*>(component);
        if (!announced) return;
        whole = announced->DefPopupMenu() && announced->Buttons() && announced->Buttons()->Count() == 4 &&
                announced->Sections() && announced->Sections()->Count() == 3;
        if (whole) announced->SetUIStyle(BlueGlass);
    };
    TkypTitleBar* announced = New<TkypTitleBar>(owner.get());
    EXPECT_TRUE(whole);
    EXPECT_EQ(announced->UIStyle(), BlueGlass);
}

// ------------------------------------------------------------- skin files

namespace {

// A strip of 18 pieces, 10 x 12 each, piece N filled with colour N.
TSkinRecord StripRecord()
{
    std::vector<uint32_t> pixels(180 * 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 180; ++x) pixels[static_cast<size_t>(y * 180 + x)] = 0x010000u * static_cast<uint32_t>(x / 10 + 1);
    const std::vector<uint8_t> bmp = EncodeBmp(180, 12, pixels.data(), 24);
    return {"SKIN2_TITLEBUTTONS", 0, std::string(bmp.begin(), bmp.end())};
}

std::vector<TSkinRecord> TitleSkin(bool fiveSections)
{
    return {BitmapRecord("SKIN2_TITLEBAR1", 40, 26, 0x102030), BitmapRecord("SKIN2_TITLEBAR2", 12, 26, 0x405060),
        BitmapRecord("SKIN2_TITLEBAR3", 50, 26, 0x708090), BitmapRecord("SKIN2_TITLEBAR4", 8, 26, 0xA0B0C0),
        BitmapRecord("SKIN2_TITLEBAR5", 30, 26, 0xC0D0E0), StripRecord(), BooleanRecord("SKIN2_TITLEFIVESECT", fiveSections),
        BooleanRecord("SKIN2_TITLEBTNTRANS", 1), IntegerRecord("SKIN2_TITLEBARICONPOSX", 7),
        IntegerRecord("SKIN2_TITLEBARICONPOSY", 5), IntegerRecord("SKIN2_TITLEBARCAPTIONTOP", 8),
        IntegerRecord("SKIN2_TITLEBARBUTTONPOSX", 3), IntegerRecord("SKIN2_TITLEBARBUTTONPOSY", 6),
        IntegerRecord("SKIN2_TITLEFONTCOLOR", 0x00FFEE), IntegerRecord("SKIN2_FORMCOLOR", 0x336699),
        IntegerRecord("SKIN2_TRANSCOLOR", 0xFF00FF)};
}

}  // namespace

TEST_F(TitleBarItemsTest, ASkinFileGivesThreeOrFiveSectionsAndTheButtonStrip)
{
    TempDir dir;
    const String three = dir.File("three.skn"), five = dir.File("five.skn");
    WriteSkinFile(three, TitleSkin(false));
    WriteSkinFile(five, TitleSkin(true));
    TkypFileTheme* theme = New<TkypFileTheme>(form.get());
    theme->SetThemeFile(three);
    ASSERT_TRUE(theme->Ready());
    TkypTitleBar* bar = NewBar();
    bar->SetFileTheme(theme);
    bar->SetUIStyle(FromThemeFile);

    TkypTitleBarSections* sections = bar->Sections();
    ASSERT_EQ(sections->Count(), 3);
    EXPECT_EQ(sections->Items(0)->Width(), 40);
    EXPECT_EQ(sections->Items(1)->Align(), kypClient);
    EXPECT_EQ(sections->Items(2)->Align(), kypRight);
    EXPECT_EQ(sections->Items(2)->Width(), 50);
    EXPECT_EQ(bar->Height(), 26);
    EXPECT_EQ(bar->LeftBtnXOffset(), 7);
    EXPECT_EQ(bar->RightBtnXOffset(), 3);
    EXPECT_EQ(bar->BtnTop(), 6);
    EXPECT_EQ(bar->IconTop(), 5);
    EXPECT_EQ(bar->BtnHeight(), 12);
    EXPECT_EQ(bar->Font().Color(), 0x00FFEE);
    // 40 + max(50, 10 x 4 buttons + 3)
    EXPECT_EQ(form->Constraints().MinWidth(), 90);
    TkypTitleBarButton* close = bar->Buttons()->Items(1);
    EXPECT_TRUE(close->Transparent());
    EXPECT_EQ(close->Top(), 6);
    EXPECT_EQ(close->PicNormal()->Bitmap()->ScanLine(0)[0], 0x100000u);  // piece 16
    EXPECT_EQ(close->PicMouseDown()->Bitmap()->ScanLine(0)[0], 0x120000u);

    // A second file read through the same theme keeps the bar's font colour.
    bar->Font().SetColor(clRed);
    theme->SetThemeFile(five);
    bar->SetFileTheme(theme);
    EXPECT_EQ(bar->Font().Color(), clRed);
    ASSERT_EQ(sections->Count(), 5);
    EXPECT_TRUE(sections->Items(1)->CapSec());
    EXPECT_EQ(sections->Items(1)->Align(), kypLeft);
    EXPECT_EQ(sections->Items(2)->Align(), kypLeft);
    EXPECT_EQ(sections->Items(3)->Align(), kypClient);
    EXPECT_EQ(sections->Items(4)->Align(), kypRight);
    EXPECT_TRUE(bar->CanPaint());
    // 40 + 50 + 16 + max(30, 43)
    EXPECT_EQ(form->Constraints().MinWidth(), 149);
}
