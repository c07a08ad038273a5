// The skinned MDI frame's minimise, restore and close buttons for a
// maximised child, at the right end of a panel (the frame's menu-bar
// row), since the frame has no caption of its own to show them in. They
// act on the frame's active child.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "Forms.h"
#include "KYPMDIArrange.h"
#include "KYPToolBarSpeedButton.h"

class TkypMDIChildButtons : public TComponent {
public:
    // Form is the MDI frame, Panel the row the buttons sit on (both
    // watched: the buttons go with the panel). The buttons are made
    // hidden; oldLeftBorderWidth as ChildButtonPlace takes it.
    TkypMDIChildButtons(TComponent* owner, TForm& form, TWinControl& panel, int oldLeftBorderWidth);
    ~TkypMDIChildButtons() override;

    // Owned; null once freed with the panel.
    TkypToolBarSpeedButton* Button(TkypChildButton slot) const;
    // Every style change: the top and bottom of the buttons' faces.
    void SetColors(TColor color, TColor toColor);

    // A child was maximised: shows the button for each minimise, maximise
    // and close button of its skinned frame's title bar; hides none.
    void Show(const std::vector<TkypTitleBarBtnType>& titleBarButtons);
    // A child was restored.
    void Hide();
    bool AnyShown() const;

    // The buttons' OnClick: the button's action on the active child.
    void ButtonClick(TObject* sender);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void CreateButtons();
    void FreeButtons();
    void Place();

    TForm* m_Form;  // not owned; watched
    TWinControl* m_Panel;  // not owned; watched
    int m_OldLeftBorderWidth;
    int m_PanelHook = 0;
    std::array<TkypToolBarSpeedButton*, 3> m_Buttons{};  // owned, by slot - 1
};

// The button types of the title bar of the first skinned form frame among
// Child's controls; none without such a frame.
std::optional<std::vector<TkypTitleBarBtnType>> ChildFrameButtonTypes(TForm& child);
