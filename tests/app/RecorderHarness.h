// The recorder's main window shown under Wine, with its settings in the
// current user's registry, recordings in folders of the artifacts
// directory and its errors collected instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <source_location>
#include <typeindex>
#include <vector>

#include "DialogDriver.h"
#include "FileSystem.h"
#include "PumpUntil.h"
#include "Registry.h"
#include "SaveSeting.h"
#include "main.h"

class RecorderHarness : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& error) {
            errors.push_back(error.Message());
            errorKinds.emplace_back(typeid(error));
        };
    }
    void TearDown() override
    {
        if (form) FreeObject(form);
        Application->ProcessMessages();
        Application->OnException = nullptr;
    }

    // A new empty folder of the artifacts directory, with its delimiter.
    static String Folder(const std::wstring& name)
    {
        const auto path = std::filesystem::current_path() / name;
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        return path.wstring() + L"\\";
    }
    void ShowRecorder()
    {
        Application->CreateForm(form);
        form->Show();
        SetForegroundWindow(form->Handle());
        Application->ProcessMessages();
    }
    // The recorder shown with its recordings going to a new Folder, as
    // "take1", "take2" ...; answers the prefix.
    String ShowRecorderTakingTo(const std::wstring& folder)
    {
        const String prefix = Folder(folder) + L"take";
        WriteMusicPath(prefix);
        ShowRecorder();
        return prefix;
    }
    // Until the display has counted Seconds of the running recording, or
    // more: on a loaded machine the wait before may have outlasted them.
    void RecordFor(int seconds, std::source_location where = std::source_location::current())
    {
        PumpUntil([&] { return CountedSeconds() >= seconds; }, 1000 * seconds + 3000,
                  std::to_string(seconds) + " s of recording", where);
    }
    // The display's count, or -1 while it shows none.
    int CountedSeconds() const
    {
        const String caption = form->IRecTime->Caption();
        return !caption.empty() && iswdigit(caption[0]) ? std::stoi(caption) : -1;
    }
    // Until the encoder has taken every queued file and is idle.
    void WaitForEncoding(std::source_location where = std::source_location::current())
    {
        PumpUntil([&] { return !form->Lame->Running() && form->Lame->InputFiles()->Count() == 0; }, 60000,
                  "the encoder to finish its lists", where);
    }
    // As the system delivers a registered Ctrl+<key>.
    void HotKey(char key)
    {
        PostMessageW(form->Handle(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL, key));
        Application->ProcessMessages();
    }
    void Choose(const wchar_t* item) { form->MenuItem(item)->Click(); }
    bool IdleButtons() const { return form->btn_record->Enabled() && !form->btn_Stop->Enabled(); }
    void RecordByHotKeys(TkypRadioButton* radio)
    {
        radio->SetChecked(true);
        HotKey('R');
        ASSERT_TRUE(form->Recording());
        RecordFor(1);
        HotKey('S');
        WaitForEncoding();
    }
    // Runs Act while another program holds Wav shut, so a save into it
    // fails; the box that says so is answered with Answer, after the file is
    // let go. The box's text, or empty when none came.
    static String WhileHeld(const String& wav, int answer, const std::function<void()>& act)
    {
        const HANDLE held = CreateFileW(wav.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(held, INVALID_HANDLE_VALUE);
        String text;
        {
            TDialogRobot robot([&] {
                const HWND box = WaitForDialog(0, L"Quorvell");
                CloseHandle(held);
                if (!box) return;
                text = DialogText(box);
                PressDialogButton(box, answer);
            });
            act();
        }
        return text;
    }
    // More than the header the record command writes.
    static bool HoldsSound(const String& wav) { return FileSizeOf(wav) > 44 + 4000; }

    TFrmMain* form = nullptr;
    std::vector<String> errors;
    std::vector<std::type_index> errorKinds;
};
