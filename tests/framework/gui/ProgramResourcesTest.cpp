// What the program's resources give the framework: the string table and
// the icon of the application and its forms.
#include <gtest/gtest.h>

#include <set>

#include "Forms.h"
#include "GdiHandles.h"
#include "Icon.h"
#include "ResStrings.h"
#include "SolidBitmap.h"

namespace {

// The widths of the images of an icon group, read from the group's directory.
std::set<int> IconGroupWidths(const wchar_t* name)
{
    HMODULE program = GetModuleHandleW(nullptr);
    HRSRC group = FindResourceW(program, name, RT_GROUP_ICON);
    if (!group) return {};
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(program, group)));
    const int count = directory[4] | directory[5] << 8;
    std::set<int> widths;
    for (int i = 0; i < count; ++i) widths.insert(directory[6 + 14 * i]);
    return widths;
}

int IconWidth(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return 0;
    TBitmapHandle mask(info.hbmMask), colour(info.hbmColor);
    BITMAP bitmap{};
    GetObjectW(colour ? colour.get() : mask.get(), sizeof bitmap, &bitmap);
    return bitmap.bmWidth;
}

}  // namespace

TEST(ProgramResources, TheStringTableHoldsTheSystemMenuCaptions)
{
    EXPECT_EQ(LoadResString(65256), L"最小化(&N)");
    EXPECT_EQ(LoadResString(65257), L"最大化/还原(&X)");
    EXPECT_EQ(LoadResString(65258), L"关闭(&C)");
    EXPECT_EQ(LoadResString(65259), L"");
}

TEST(ProgramResources, TheMainIconComesInThreeSizesAndIsEveryPlainFormsIcon)
{
    EXPECT_EQ(IconGroupWidths(L"MAINICON"), (std::set<int>{16, 32, 48}));
    TIcon& icon = Application->Icon();
    ASSERT_FALSE(icon.Empty());
    HICON small = static_cast<HICON>(CopyImage(icon.Handle(), IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE));
    EXPECT_EQ(IconWidth(small), 16);
    DestroyIcon(small);
    // The art: a red dot in the middle.
    auto canvas = SolidBitmap(32, 32, clWhite);
    DrawIconEx(canvas->Canvas().Handle(), 0, 0, icon.Handle(), 32, 32, 0, nullptr, DI_NORMAL);
    const COLORREF middle = GetPixel(canvas->Canvas().Handle(), 16, 16);
    EXPECT_GT(GetRValue(middle), 180);
    EXPECT_LT(GetGValue(middle), 110);

    auto form = MakeOwned<TForm>(nullptr);
    const auto windowIcon = [&] { return reinterpret_cast<HICON>(SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0)); };
    EXPECT_EQ(windowIcon(), icon.Handle());
    form->Icon().Assign(&icon);  // a copy of its own
    EXPECT_NE(form->Icon().Handle(), icon.Handle());
    EXPECT_EQ(windowIcon(), form->Icon().Handle());
    form->Icon().Assign(nullptr);
    EXPECT_EQ(windowIcon(), icon.Handle());
}
