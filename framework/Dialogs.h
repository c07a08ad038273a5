// The system's file dialogs and the plain message box.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <functional>

#include "Classes.h"

// Lets the user choose a file to open. Filter is "Description|pattern"
// pairs joined by "|" ("Wav|*.wav|All|*.*"); a last description without
// a pattern is dropped.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}

    const String& Filter() const { return filter_; }
    void SetFilter(const String& filter) { filter_ = filter; }
    // The chosen file after Execute; the proposed one before.
    const String& FileName() const { return fileName_; }
    void SetFileName(const String& fileName) { fileName_ = fileName; }
    // Added, without its dot, to a typed name that has no extension; none
    // when empty.
    const String& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const String& extension) { defaultExt_ = extension; }
    const String& Title() const { return title_; }
    void SetTitle(const String& title) { title_ = title; }
    const String& InitialDir() const { return initialDir_; }
    void SetInitialDir(const String& directory) { initialDir_ = directory; }

    // Runs the dialog modally; true when the user confirmed a file.
    bool Execute();

protected:
    virtual BOOL RunDialog(OPENFILENAMEW& parameters) { return GetOpenFileNameW(&parameters); }

private:
    String filter_;
    String fileName_;
    String defaultExt_;
    String title_;
    String initialDir_;
};

// Lets the user choose the name of a file to write.
class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    BOOL RunDialog(OPENFILENAMEW& parameters) override { return GetSaveFileNameW(&parameters); }
};

// The system filter string: "Wav|*.wav" -> "Wav\0*.wav\0\0".
String FileDialogFilter(const String& filter);

// A modal box with the text, the application's title and one OK button.
void ShowMessage(const String& text);

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
};
using TMsgDlgButtons = unsigned;

// A modal message box with the type's icon and title ("Warning", "Error",
// "Information", "Confirm"; the application's title for mtCustom, which has
// no icon) and the buttons; the modal result of the button pressed (mrOk,
// mrYes, ...). The buttons are one of the system's sets: OK, OK Cancel,
// Yes No, Yes No Cancel, Retry Cancel, Abort Retry Ignore; any other set
// is an Exception. The help context is not used.
int MessageDlg(const String& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);

// Takes the place of the box, for tests; the previous handler is returned,
// and a null one brings the box back.
using TMessageDlgHandler = std::function<int(const String& message, TMsgDlgType type, TMsgDlgButtons buttons)>;
TMessageDlgHandler SetMessageDlgHandler(TMessageDlgHandler handler);
