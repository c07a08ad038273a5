#include "KYPPublicControls.h"

#include "KYPMgr.h"

#include "GdiHandles.h"
#include "TypInfo.h"

void DrawParentBackground(TCanvas& canvas, TControl* control)
{
    if (!control || !control->Parent()) return;
    TWinControl* parent = control->Parent();
    HDC dc = canvas.Handle();
    TSavedDC saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

TRect GetWorkAreaRect(TRect& rect)
{
    if (Application && Application->MainForm()) {
        rect = Screen->MonitorFromWindow(Application->MainForm()->Handle(), TMonitorDefaultTo::mdNearest)->WorkareaRect();
        return rect;
    }
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    rect = area;
    return rect;
}

void SetControlBoundsRect(TControl* control, const TRect& rect)
{
    control->SetLeft(rect.Left);
    control->SetTop(rect.Top);
    control->SetWidth(rect.Width());
    control->SetHeight(rect.Height());
}

bool IsFormActive(TForm* form)
{
    TForm* mainForm = Application ? Application->MainForm() : nullptr;
    if (!mainForm) return form && form->Active();
    const bool mdiFrame = mainForm->FormStyle() == TFormStyle::fsMDIForm;
    if (mdiFrame && form == mainForm) return true;
    if (!Application->Active()) return false;
    if (!form || form == mainForm) return true;
    if (mdiFrame && mainForm->ClientHandle()) {
        const auto active = reinterpret_cast<HWND>(SendMessageW(mainForm->ClientHandle(), WM_MDIGETACTIVE, 0, 0));
        if (form->HandleAllocated() && active == form->Handle()) return true;
    }
    return form->Active();
}

bool HasProperty(TComponent* component, const String& name) { return IsPublishedProp(component, name); }

void ApplyThemeToChildren(TWinControl* parent, TkypUIStyle style, TkypFileTheme* theme)
{
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        if (!HasProperty(child, L"FileTheme") || !HasProperty(child, L"UIStyle")) continue;
        SetObjectProp(child, L"FileTheme", theme);
        SetOrdProp(child, L"UIStyle", style);
    }
}
