// The recorder's main window built from its description and shown under
// Wine, with the settings in the current user's registry, recordings in a
// folder of the artifacts directory and the window's errors collected
// instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "FileSystem.h"
#include "Registry.h"
#include "SaveSeting.h"
#include "main.h"

class RecorderHarness : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& error) { errors.push_back(error.Message()); };
    }
    void TearDown() override
    {
        if (form) FreeObject(form);
        Pump();
        Application->OnException = nullptr;
    }

    // A new empty folder of the artifacts directory; its path with a
    // trailing delimiter.
    static String Folder(const std::wstring& name)
    {
        const std::filesystem::path path = std::filesystem::current_path() / name;
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        return path.wstring() + L"\\";
    }
    static void ForgetSettings() { TRegistry().DeleteKey(kSettingsKey); }

    void ShowRecorder()
    {
        Application->CreateForm(form);
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
    }

    static void Pump() { Application->ProcessMessages(); }
    static void WaitFor(DWORD milliseconds)
    {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(5)) Pump();
        Pump();
    }
    // What the system delivers for a registered Ctrl+<key>.
    void HotKey(char key)
    {
        PostMessageW(form->Handle(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL, key));
        Pump();
    }
    void Choose(const wchar_t* item) { form->MenuItem(item)->Click(); }

    bool IdleButtons() const { return form->btn_record->Enabled() && !form->btn_Stop->Enabled(); }
    bool RecordingButtons() const { return !form->btn_record->Enabled() && form->btn_Stop->Enabled(); }

    // Records for about Seconds in the quality of Radio through the hot keys.
    void RecordByHotKeys(TkypRadioButton* radio, DWORD milliseconds = 1200)
    {
        radio->SetChecked(true);
        HotKey('R');
        ASSERT_TRUE(form->Recording());
        WaitFor(milliseconds);
        HotKey('S');
    }

    // The screen under the window, for looking at.
    void Capture(const wchar_t* name) const
    {
        TClientDC screen(nullptr);
        const TPoint origin = form->ClientToScreen(TPoint{0, 0});
        TBitmap capture;
        capture.SetSize(620, 560);
        BitBlt(capture.Canvas().Handle(), 0, 0, 620, 560, screen.Handle(), origin.X, origin.Y, SRCCOPY);
        std::filesystem::create_directories(std::filesystem::current_path() / L"screens");
        capture.SaveToFile((std::filesystem::current_path() / L"screens" / name).wstring());
    }

    TFrmMain* form = nullptr;
    std::vector<String> errors;
};
