// The system's file dialogs and the plain message box.
#pragma once

#include <windows.h>

#include <commdlg.h>

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
