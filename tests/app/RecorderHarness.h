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
#include "ImportSwap.h"
#include "PumpUntil.h"
#include "Registry.h"
#include "SaveSeting.h"
#include "main.h"

// The program's (delay-loaded) import of mciSendCommandW, for stand-ins
// that fail as a driver may.
using TMciSend = MCIERROR(WINAPI*)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
extern "C" TMciSend __imp_mciSendCommandW;

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
    // The recorder shown as above, a second of a middle-quality recording
    // taken and the recording still running.
    String MiddleRecordingTo(const std::wstring& folder)
    {
        const String prefix = ShowRecorderTakingTo(folder);
        form->sRBMid->SetChecked(true);
        HotKey('R');
        RecordFor(1);
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
    // Answers the program's boxes as they come, in turn, with Answers (a
    // button's id, or kEnterKey for the key); Before(i) runs before the
    // i-th answer. The boxes' texts.
    static constexpr int kEnterKey = -1;
    static std::vector<String> AnswerBoxes(const std::vector<int>& answers, const std::function<void()>& act,
                                           const std::function<void(size_t)>& before = {})
    {
        std::vector<String> texts;
        {
            TDialogRobot robot([&] {
                for (size_t i = 0; i < answers.size(); ++i) {
                    const HWND box = WaitForDialog(0, L"Quorvell");
                    if (!box) return;
                    texts.push_back(DialogText(box));
                    if (before) before(i);
                    if (answers[i] == kEnterKey)
                        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
                    else
                        PressDialogButton(box, answers[i]);
                    if (!RobotWait([box] { return !IsWindow(box); }, "the answered box to close")) return;
                }
            });
            act();
        }
        return texts;
    }
    // Runs Act while another program holds Wav shut, so a save into it
    // fails; the boxes are answered with Answers, the last one after the
    // file is let go and LastBox has looked at the window. Their texts.
    static std::vector<String> WhileHeld(const String& wav, const std::vector<int>& answers,
                                         const std::function<void()>& act, const std::function<void()>& lastBox = {})
    {
        const HANDLE held = CreateFileW(wav.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(held, INVALID_HANDLE_VALUE);
        const auto texts = AnswerBoxes(answers, act, [&](size_t i) {
            if (i + 1 < answers.size()) return;
            CloseHandle(held);
            if (lastBox) lastBox();
        });
        if (texts.size() < answers.size()) CloseHandle(held);
        return texts;
    }
    // More than the header the record command writes.
    static bool HoldsSound(const String& wav) { return FileSizeOf(wav) > 44 + 4000; }

    TFrmMain* form = nullptr;
    std::vector<String> errors;
    std::vector<std::type_index> errorKinds;
};
