// The recorder's one window: a shaped face with its command buttons, the
// quality choice, the elapsed-seconds label and a popup menu, and the
// commands behind them: record, stop (and encode the high quality to MP3),
// play, convert, and the settings and launches.
#pragma once

#include <windows.h>

#include <vector>

#include "ConvertRequest.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "KYPImageButton.h"
#include "KYPPopupMenu.h"
#include "KYPRadioButton.h"
#include "KYPSkinControl.h"
#include "KYPSkinForm.h"
#include "LameCoder.h"
#include "MPlayer.h"
#include "Recordings.h"
#include "StdCtrls.h"

class TFrmMain : public TForm {
public:
    explicit TFrmMain(TComponent* owner);

    // Components, owned by the window, in the order they are made.
    TkypSkinForm* kypSkinForm1 = nullptr;
    TLabel* IRecTime = nullptr;
    TkypImageButton* btn_record = nullptr;
    TkypImageButton* btn_home = nullptr;
    TkypImageButton* btn_help = nullptr;
    TkypImageButton* btn_Stop = nullptr;
    TkypImageButton* btn_play = nullptr;
    TkypImageButton* btn_min = nullptr;
    TkypImageButton* btn_close = nullptr;
    TkypRadioButton* sRBhigh = nullptr;
    TkypRadioButton* sRBMid = nullptr;
    TkypRadioButton* sRBLow = nullptr;
    TMediaPlayer* MPRec = nullptr;
    TkypImageButton* Btn_none = nullptr;
    TMediaPlayer* MPPlay = nullptr;
    TkypSkinControl* skc_record = nullptr;
    TkypSkinControl* skc_home = nullptr;
    TkypSkinControl* skc_help = nullptr;
    TkypSkinControl* skc_convert = nullptr;
    TkypSkinControl* skc_Play = nullptr;
    TkypSkinControl* skc_min = nullptr;
    TkypSkinControl* skc_close = nullptr;
    TTimer* iTmrRecTime = nullptr;
    TkypPopupMenu* sPM_menu = nullptr;
    TSaveDialog* SaveMusic = nullptr;
    TLameCoder* Lame = nullptr;
    TOpenDialog* OpenWavFile = nullptr;

    // The menu item of that name (Help1, StartRecord1, ...); null if none.
    TMenuItem* MenuItem(const String& name) const;

    // The window's events.
    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);
    void FormShow(TObject* sender);
    void FormKeyUp(TObject* sender, WORD& key, TShiftState shift);

    // Recording, playback and conversion.
    void btn_recordClick(TObject* sender);
    void btn_stopClick(TObject* sender);
    void iTmrRecTimeTimer(TObject* sender);
    void btn_playClick(TObject* sender);
    void StopPlay1Click(TObject* sender);
    void btn_convertClick(TObject* sender);
    void LameEndProcess(TObject* sender);
    void LameEndFile(TObject* sender, uint16_t num, const String& fileName);
    void LameFileError(TObject* sender, uint16_t num, const String& fileName, const Exception& error);
    void TrayIconDblClick(TObject* sender);
    void DragFileDropFiles(TObject* receiver, TStrings* fileNames, int filesCount, TPoint dropPoint);

    // Settings and launches.
    String Get_MusicPath();
    void Saveto1Click(TObject* sender);
    void Help1Click(TObject* sender);
    void btn_helpClick(TObject* sender) { Help1Click(sender); }
    void Go2Site();
    void btn_homeClick(TObject*) { Go2Site(); }
    void QuorvellOnline1Click(TObject*) { Go2Site(); }
    void CheckUpdate1Click(TObject* sender);
    void AudioProperty1Click(TObject* sender);
    void ShowTips();
    void EverydayTips1Click(TObject* sender);

    // Window commands and the menu's calls of the commands above.
    void btn_minClick(TObject* sender);
    void btn_closeClick(TObject* sender);
    void Show1Click(TObject* sender);
    void StartRecord1Click(TObject*) { btn_recordClick(this); }
    void StopRecord1Click(TObject*) { btn_stopClick(this); }
    void WavMp31Click(TObject*) { btn_convertClick(this); }
    void Play1Click(TObject*) { btn_playClick(this); }

    void WMHotKey(TMessage& message);

    // The recording name prefix; empty while none is chosen.
    const String& MusicPath() const { return musicPath_; }
    // The last recording (its MP3 once encoded); empty before the first.
    const String& CurrentFileName() const { return book_.CurrentFileName(); }
    // 1 while the running recording is to be encoded when it stops.
    int ConvertAfterRecording() const { return book_.ConvertAfterRecording() ? 1 : 0; }
    bool Recording() const { return MPRec->DeviceID() != 0; }

protected:
    void WndProc(TMessage& message) override;

private:
    void LoadComponents();
    TRecordingQuality ChosenQuality() const;
    void ShowIdleButtons();
    // Runs a command unless another one is in the middle of a dialog: one
    // taken inside another's message loop would work on what that one is
    // half-way through (its recording, its prefix, its question).
    template <class Command>
    void RunCommand(Command&& command);
    void Record();
    void StopRecording();
    void ChoosePrefix();
    void WMAskPrefix();
    // Writes the stopped recording into its file; on failure the user
    // hears which file and why and may try again while the device keeps
    // the sound. False only on the user's deliberate word to let it go.
    bool SaveOrAsk();
    bool TrySave(const String& wavFile, String& reason);
    // Cancel asks again; only Yes, never Esc, Enter or the close box, lets
    // the recording go.
    bool ConfirmDiscard(const String& wavFile);
    // A box of the program; keys pressed before it showed never answer it.
    int Ask(const String& text, UINT flags);
    // Stops, saves (asking) and closes the running recording; false when
    // the user let it go.
    bool EndRecording();
    // At the window's close and the session's end: nothing starts any
    // more, and the running recording is saved.
    void EndForGood();
    void UnregisterHotKeys();
    // The session ends while a command's box waits: the recording is saved
    // without a question, and the box then finds it saved.
    void SaveBehindTheBox();
    // Starts the encoder over its lists from the message loop, once the
    // command that queued a file has returned, so that no command runs a
    // whole encoding inside itself; a run already going on takes the files
    // just added.
    void EncodeQueued();
    void WMEncodeQueued();
    // A menu, a move or size loop, or a dialog of the program is running a
    // message loop of its own, which a run started inside would freeze.
    bool InsideModalLoop();
    void ReportUnencodedRecordings();
    // Closes the recording device whatever it holds; a device that will
    // not close is forgotten all the same.
    void CloseRecordingDevice();
    // "OK!" once nothing of the user's is recording or waiting for its MP3,
    // and no recording of the run stayed a WAV.
    void ShowDoneWhenIdle();
    void ConvertFile(const String& wavFile);
    String ProgramFolder() const;

    String musicPath_;
    bool commandRunning_ = false;
    // The window closes or the session ends: no command is taken.
    bool ended_ = false;
    // A save box waits for the user's word; the session may not end meanwhile.
    bool unsavedWaiting_ = false;
    // The last recording whose save succeeded.
    String savedRecording_;
    // Recordings of the run going on that stayed WAV, each with the reason.
    std::vector<String> unencodedRecordings_;
    TRecordingBook book_;
    TConvertRequests convertRequests_;
    ATOM hotKeyIds_[3] = {};
};

extern TFrmMain* FrmMain;

// Posted to the main window to start encoding what the commands queued.
constexpr UINT WM_ENCODEQUEUED = WM_APP + 1;
// Posted by the first show without a prefix: the question comes once the
// window is on screen, so that it belongs to the window.
constexpr UINT WM_ASKPREFIX = WM_APP + 2;

// The record command's box when the device cannot start.
inline const String kInitDeviceErrorText =
    L"Init device Error, please check your sound card driver and restart this program\uFF01";
inline const String kNotWavFileText = L"This is not Wav file, it can not be converted";
String UnsavedRecordingText(const String& wavFile, const String& reason);
String DiscardRecordingQuestion(const String& wavFile);
String UnencodedRecordingsText(const std::vector<String>& recordings);
