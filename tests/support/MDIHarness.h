// A window test around an MDI frame: the application's main form (MDI
// children must live in the main form) made an MDI frame, with children
// made inside it.
#pragma once

#include "WindowHarness.h"

class MDIHarness : public WindowHarness {
protected:
    void SetUp() override
    {
        WindowHarness::SetUp();
        Application->CreateForm(mdi);
        mdi->SetFormStyle(TFormStyle::fsMDIForm);
        mdi->SetBounds(40, 40, 640, 480);
    }
    void TearDown() override
    {
        FreeObject(mdi);
        WindowHarness::TearDown();
    }

    void ShowFrame()
    {
        mdi->Show();
        SetForegroundWindow(mdi->Handle());
        Pump();
    }
    // A shown MDI child of the frame, placed in the frame's client area;
    // state and caption are set before it shows.
    TForm* ShowChild(int left, int top, int width, int height, TWindowState state = TWindowState::wsNormal,
                     const String& caption = String())
    {
        auto* child = New<TForm>(mdi);
        child->SetFormStyle(TFormStyle::fsMDIChild);
        child->SetBounds(left, top, width, height);
        child->SetWindowState(state);
        if (!caption.empty()) child->SetCaption(caption);
        child->Show();
        return child;
    }

    TForm* mdi = nullptr;
};
