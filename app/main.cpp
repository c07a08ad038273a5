#include "main.h"

#include <utility>

#include "CreateWav.h"
#include "FileSystem.h"
#include "FormLoader.h"
#include "KYPFlagScope.h"
#include "Launches.h"
#include "RecorderMenu.h"
#include "SaveSeting.h"

TFrmMain* FrmMain = nullptr;

namespace {

constexpr TColor kKeyColour = 15866506;
constexpr TColor kCardGrey = 13290186;

struct THotKey {
    const wchar_t* atomName;
    UINT key;
};
const THotKey kHotKeys[] = {{L"hotkey", 'P'}, {L"hotkey2", 'R'}, {L"hotkey3", 'S'}};

// A queued run that meets a modal loop looks again this often.
constexpr UINT_PTR kEncodeRetryTimer = 1;
constexpr UINT kEncodeRetryMilliseconds = 100;

// The reason the system shows while the program asks the session not to end.
class TShutdownBlock {
public:
    TShutdownBlock(HWND window, const wchar_t* reason) : window_(window) { ShutdownBlockReasonCreate(window, reason); }
    TShutdownBlock(const TShutdownBlock&) = delete;
    TShutdownBlock& operator=(const TShutdownBlock&) = delete;
    ~TShutdownBlock() { ShutdownBlockReasonDestroy(window_); }

private:
    HWND window_;
};

bool AskToReplace(const String& mp3File)
{
    return Application->MessageBox(ReplaceMp3Question(mp3File), L"Quorvell", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void LoadPicture(TBitmap* bitmap, const String& name)
{
    bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), name);
}

// A command button: three pictures of its own (RECORDER_<part>_...), the
// look every command button shares, and its hint.
struct TCommandButton {
    const wchar_t* name;
    const wchar_t* part;
    int left, top, width, height;
    const wchar_t* hint;
};

void SetSharedButtonLook(TkypImageButton& button)
{
    button.SetAutoSize(false);
    button.SetDrawFocused(false);
    button.SetFocusedRectMargin(2);
    button.SetStretch(false);
    button.SetTransparent(false);
    button.SetModalResult(0);
    button.SetMouseContinuouslyDownInterval(100);
    button.SetParentShowHint(false);
}

void SetCommandButton(TkypImageButton& button, const TCommandButton& look)
{
    button.SetBounds(look.left, look.top, look.width, look.height);
    SetSharedButtonLook(button);
    button.SetHint(look.hint);
    button.SetShowHint(*look.hint != 0);
    const String part = String(L"RECORDER_") + look.part;
    LoadPicture(button.PicNormal()->Bitmap(), part + L"_NORMAL");
    LoadPicture(button.PicMouseOn()->Bitmap(), part + L"_HOT");
    LoadPicture(button.PicMouseDown()->Bitmap(), part + L"_DOWN");
}

void SetQualityButton(TkypRadioButton& radio, int top, bool checked)
{
    radio.SetBounds(279, top, 21, 19);
    radio.SetUIStyle(WinXP);
    radio.SetAutoSize(true);
    radio.SetColor(kCardGrey);
    radio.SetParentColor(false);
    radio.SetTransparent(true);
    radio.SetGroupIndex(0);
    radio.SetChecked(checked);
}

void SetInvisiblePlayer(TMediaPlayer& player, int left, int top, int width, int height)
{
    player.SetBounds(left, top, width, height);
    player.SetVisible(false);
}

}  // namespace

TFrmMain::TFrmMain(TComponent* owner) : TForm(owner)
{
    SetClientWidth(539);
    SetClientHeight(539);
    SetColor(clBtnFace);
    Font().SetName(L"MS Sans Serif");
    Font().SetHeight(-11);
    SetKeyPreview(true);
    SetPosition(TPosition::poScreenCenter);
    SetCaption(L"");
    LoadComponents();
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnKeyUp = [this](TObject* sender, WORD& key, TShiftState shift) { FormKeyUp(sender, key, shift); };
}

void TFrmMain::LoadComponents()
{
    TFormLoader load(this);
    kypSkinForm1 = load.Add<TkypSkinForm>(L"kypSkinForm1", this, [](TkypSkinForm& skin) {
        skin.SetBounds(0, 0, 539, 539);
        LoadPicture(skin.Glyph(), L"RECORDER_WINDOW");
        skin.SetTransparentColor(kKeyColour);
    });
    IRecTime = load.Add<TLabel>(L"IRecTime", this, [](TLabel& label) {
        label.SetBounds(335, 351, 37, 24);
        label.SetAutoSize(false);
        label.SetTransparent(true);
        label.Font().SetName(L"Microsoft Sans Serif");
        label.Font().SetHeight(-21);
        label.Font().SetColor(clNavy);
        label.Font().SetCharset(DEFAULT_CHARSET);
        label.SetShowHint(true);
        label.SetCaption(L"");
    });

    const TCommandButton buttons[] = {
        {L"btn_record", L"RECORD", 186, 30, 178, 44, L"Start recording"},
        {L"btn_home", L"HOME", 207, 212, 69, 27, L"Quorvell Online"},
        {L"btn_help", L"HELP", 195, 248, 69, 27, L"Help"},
        {L"btn_Stop", L"STOP", 293, 206, 46, 48, L"Stop Recording"},
        {L"btn_play", L"PLAY", 275, 260, 76, 76, L"Play"},
        {L"btn_min", L"MINIMIZE", 365, 398, 25, 13, L""},
        {L"btn_close", L"CLOSE", 365, 414, 25, 13, L""},
    };
    TkypImageButton** const fields[] = {&btn_record, &btn_home, &btn_help, &btn_Stop, &btn_play, &btn_min, &btn_close};
    for (size_t i = 0; i < std::size(buttons); ++i) {
        const TCommandButton& look = buttons[i];
        *fields[i] = load.Add<TkypImageButton>(look.name, this, [&look](TkypImageButton& b) { SetCommandButton(b, look); });
    }
    btn_record->SetDefault(true);
    btn_Stop->SetCancel(true);
    btn_record->OnClick = [this](TObject* sender) { btn_recordClick(sender); };
    btn_home->OnClick = [this](TObject* sender) { btn_homeClick(sender); };
    btn_help->OnClick = [this](TObject* sender) { btn_helpClick(sender); };
    btn_Stop->OnClick = [this](TObject* sender) { btn_stopClick(sender); };
    btn_play->OnClick = [this](TObject* sender) { btn_playClick(sender); };
    btn_min->OnClick = [this](TObject* sender) { btn_minClick(sender); };
    btn_close->OnClick = [this](TObject* sender) { btn_closeClick(sender); };

    sRBhigh = load.Add<TkypRadioButton>(L"sRBhigh", this, [](TkypRadioButton& r) { SetQualityButton(r, 92, true); });
    sRBMid = load.Add<TkypRadioButton>(L"sRBMid", this, [](TkypRadioButton& r) { SetQualityButton(r, 114, false); });
    sRBLow = load.Add<TkypRadioButton>(L"sRBLow", this, [](TkypRadioButton& r) { SetQualityButton(r, 135, false); });
    MPRec = load.Add<TMediaPlayer>(L"MPRec", this, [](TMediaPlayer& p) { SetInvisiblePlayer(p, 28, 509, 253, 30); });
    Btn_none = load.Add<TkypImageButton>(L"Btn_none", this, [](TkypImageButton& b) {
        b.SetBounds(182, 96, 62, 52);
        SetSharedButtonLook(b);
        b.SetAutoSize(true);
        b.SetShowHint(false);
        LoadPicture(b.PicNormal()->Bitmap(), L"RECORDER_QUALITY");
    });
    MPPlay = load.Add<TMediaPlayer>(L"MPPlay", this, [](TMediaPlayer& p) { SetInvisiblePlayer(p, 31, 473, 253, 26); });

    struct TShaper {
        const wchar_t* name;
        const wchar_t* part;
        TkypSkinControl** field;
        TkypImageButton* control;
    };
    const TShaper shapers[] = {
        {L"skc_record", L"RECORD", &skc_record, btn_record}, {L"skc_home", L"HOME", &skc_home, btn_home},
        {L"skc_help", L"HELP", &skc_help, btn_help},         {L"skc_convert", L"STOP", &skc_convert, btn_Stop},
        {L"skc_Play", L"PLAY", &skc_Play, btn_play},         {L"skc_min", L"MINIMIZE", &skc_min, btn_min},
        {L"skc_close", L"CLOSE", &skc_close, btn_close},
    };
    for (const TShaper& s : shapers) {
        TkypSkinControl* shaper = load.Add<TkypSkinControl>(s.name, nullptr, [&s](TkypSkinControl& c) {
            LoadPicture(c.Glyph(), String(L"RECORDER_") + s.part + L"_OUTLINE");
            c.SetTransparentColor(kKeyColour);
        });
        *s.field = shaper;
        load.Link([shaper, control = s.control] { shaper->SetControl(control); });
    }

    iTmrRecTime = load.Add<TTimer>(L"iTmrRecTime", nullptr, [this](TTimer& timer) {
        timer.SetEnabled(false);
        timer.SetInterval(1000);
        timer.SetOnTimer([this](TObject* sender) { iTmrRecTimeTimer(sender); });
    });

    using THandler = void (TFrmMain::*)(TObject*);
    const std::pair<const wchar_t*, THandler> menuHandlers[] = {
        {L"Help1", &TFrmMain::Help1Click},
        {L"QuorvellOnline1", &TFrmMain::QuorvellOnline1Click},
        {L"StartRecord1", &TFrmMain::StartRecord1Click},
        {L"StopRecord1", &TFrmMain::StopRecord1Click},
        {L"WavMp31", &TFrmMain::WavMp31Click},
        {L"Play1", &TFrmMain::Play1Click},
        {L"StopPlay1", &TFrmMain::StopPlay1Click},
        {L"Saveto1", &TFrmMain::Saveto1Click},
        {L"AudioProperty1", &TFrmMain::AudioProperty1Click},
        {L"CheckUpdate1", &TFrmMain::CheckUpdate1Click},
        {L"EverydayTips1", &TFrmMain::EverydayTips1Click},
        {L"Show1", &TFrmMain::Show1Click},
    };
    sPM_menu = LoadRecorderMenu(load, [this, &menuHandlers](TMenuItem& item) {
        for (const auto& [name, handler] : menuHandlers)
            if (item.Name() == name) item.OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
    });
    load.Link([this] { kypSkinForm1->SetPopupMenu(sPM_menu); });

    SaveMusic = load.Add<TSaveDialog>(L"SaveMusic", nullptr, [](TSaveDialog& d) { d.SetFilter(L"Wav|*.wav"); });
    Lame = load.Add<TLameCoder>(L"Lame", nullptr, [this](TLameCoder& coder) {
        coder.SetDefaultExt(L".mp3");
        coder.OnEndProcess = [this](TObject* sender) { LameEndProcess(sender); };
        coder.OnEndFile = [this](TObject* sender, uint16_t num, const String& fileName) {
            LameEndFile(sender, num, fileName);
        };
        coder.OnFileError = [this](TObject* sender, uint16_t num, const String& fileName, const Exception& error) {
            LameFileError(sender, num, fileName, error);
        };
    });
    OpenWavFile = load.Add<TOpenDialog>(L"OpenWavFile");
    load.Finish();
}

TMenuItem* TFrmMain::MenuItem(const String& name) const { return dynamic_cast<TMenuItem*>(FindComponent(name)); }

// ---- the window -----------------------------------------------------------

void TFrmMain::FormCreate(TObject*)
{
    // A key held by another program is simply never delivered.
    for (size_t i = 0; i < std::size(kHotKeys); ++i) {
        hotKeyIds_[i] = GlobalAddAtomW(kHotKeys[i].atomName);
        RegisterHotKey(Handle(), hotKeyIds_[i], MOD_CONTROL, kHotKeys[i].key);
    }
}

void TFrmMain::FormDestroy(TObject*)
{
    // Closing the window while recording keeps what was recorded so far.
    // A run going on has taken every queued file; one not started yet
    // leaves its WAV.
    EndForGood();
}

void TFrmMain::EndForGood()
{
    // A hot key or a posted command taken inside the save's box would start
    // a recording in a window that is going, which that box's Cancel then
    // drops.
    ended_ = true;
    UnregisterHotKeys();
    if (commandRunning_) {
        SaveBehindTheBox();
        return;
    }
    TkypFlagScope running(commandRunning_, true);
    if (Recording()) EndRecording();
}

void TFrmMain::UnregisterHotKeys()
{
    for (ATOM& id : hotKeyIds_)
        if (id) UnregisterHotKey(Handle(), std::exchange(id, 0));
}

void TFrmMain::SaveBehindTheBox()
{
    if (!Recording() || !MPRec->UnsavedRecording()) return;
    String reason;
    try {
        MPRec->Stop();
    } catch (const std::exception&) {
        // the save says whether the sound can still be written
    }
    TrySave(MPRec->FileName(), reason);
}

bool TFrmMain::EndRecording()
{
    iTmrRecTime->SetEnabled(false);
    try {
        MPRec->Stop();
    } catch (const std::exception&) {
        // the save says whether the sound can still be written
    }
    const bool saved = SaveOrAsk();
    // Saved, the recording is in its file whether or not the device closes.
    CloseRecordingDevice();
    return saved;
}

void TFrmMain::FormShow(TObject*)
{
    // The window is shown whatever fails here; failures reach the usual
    // error box.
    try {
        musicPath_ = Get_MusicPath();
        if (musicPath_.empty()) PostMessageW(Handle(), WM_ASKPREFIX, 0, 0);
    } catch (const std::exception&) {
        Application->HandleException(this);
    }
    try {
        ShowTips();
    } catch (const std::exception&) {
        Application->HandleException(this);
    }
}

void TFrmMain::FormKeyUp(TObject*, WORD& key, TShiftState)
{
    if (key == VK_F1) Help1Click(this);
}

void TFrmMain::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_HOTKEY: WMHotKey(message); return;
    case WM_ENCODEQUEUED: WMEncodeQueued(); return;
    case WM_ASKPREFIX: WMAskPrefix(); return;
    case WM_TIMER:
        if (message.WParam != kEncodeRetryTimer) break;
        KillTimer(Handle(), kEncodeRetryTimer);
        WMEncodeQueued();
        return;
    case WM_QUERYENDSESSION: message.Result = !unsavedWaiting_; return;
    case WM_ENDSESSION:
        // The process may end as soon as this returns, without the
        // window's destruction.
        if (message.WParam) EndForGood();
        return;
    default: break;
    }
    TForm::WndProc(message);
}

void TFrmMain::WMAskPrefix()
{
    if (Get_MusicPath().empty()) RunCommand([this] { ChoosePrefix(); });
}

void TFrmMain::WMHotKey(TMessage& message)
{
    const WORD modifiers = LOWORD(message.LParam), key = HIWORD(message.LParam);
    if (modifiers == MOD_CONTROL && key == 'R') btn_recordClick(this);
    if (modifiers == MOD_CONTROL && key == 'S') btn_stopClick(this);
}

void TFrmMain::btn_minClick(TObject*)
{
    // The application window, so the whole program is minimised.
    PostMessageW(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TFrmMain::btn_closeClick(TObject*) { Application->Terminate(); }

void TFrmMain::Show1Click(TObject*) { Show(); }

void TFrmMain::TrayIconDblClick(TObject*) { Show(); }

// ---- recording ------------------------------------------------------------

TRecordingQuality TFrmMain::ChosenQuality() const
{
    if (sRBhigh->Checked()) return TRecordingQuality::High;
    if (sRBMid->Checked()) return TRecordingQuality::Middle;
    return TRecordingQuality::Low;
}

void TFrmMain::ShowIdleButtons()
{
    btn_record->SetEnabled(true);
    btn_Stop->SetEnabled(false);
}

template <class Command>
void TFrmMain::RunCommand(Command&& command)
{
    if (commandRunning_ || ended_) return;
    TkypFlagScope running(commandRunning_, true);
    command();
}

void TFrmMain::btn_recordClick(TObject*)
{
    RunCommand([this] { Record(); });
}

void TFrmMain::Record()
{
    // The hot key and the menu reach here while a recording runs: that one
    // is stopped and saved first, as the stop command does. The stop only
    // queues its encoding, so the next recording starts at once.
    if (Recording()) StopRecording();
    musicPath_ = Get_MusicPath();
    if (musicPath_.empty()) ChoosePrefix();
    const TRecordingQuality quality = ChosenQuality();
    // A number whose MP3 a queued conversion is still to write is taken.
    const String fileName = book_.BeginRecording(musicPath_, quality, Lame->OutputFiles());
    try {
        const TRecordingFormat format = FormatOf(quality);
        createwav(format.Channels, format.BitsPerSample, format.SamplesPerSecond, fileName);
        MPRec->SetDeviceType(TMPDeviceTypes::dtAutoSelect);
        MPRec->SetFileName(fileName);
        MPRec->Open();
        MPRec->StartRecording();
        btn_record->SetEnabled(false);
        btn_Stop->SetEnabled(true);
        iTmrRecTime->SetTag(0);
        iTmrRecTime->SetEnabled(true);
        IRecTime->SetCaption(L"0");
    } catch (const std::exception&) {
        // A device left open here would be taken for a running recording.
        CloseRecordingDevice();
        ShowIdleButtons();
        Application->MessageBox(kInitDeviceErrorText, L"Error", MB_ICONERROR);
    }
}

void TFrmMain::CloseRecordingDevice()
{
    // A failing close must not keep the user's box or the next recording
    // away: the device is forgotten all the same.
    try {
        MPRec->Close();
    } catch (const std::exception&) {
    }
}

void TFrmMain::iTmrRecTimeTimer(TObject*)
{
    iTmrRecTime->SetTag(iTmrRecTime->Tag() + 1);
    IRecTime->SetCaption(IntToStr(iTmrRecTime->Tag()));
}

void TFrmMain::btn_stopClick(TObject*)
{
    RunCommand([this] { StopRecording(); });
}

void TFrmMain::StopRecording()
{
    // Nothing recording: silent; an idle window shows no running seconds.
    const bool saved = Recording() && EndRecording();
    iTmrRecTime->SetEnabled(false);
    ShowIdleButtons();
    if (!saved) return;
    String wavFile, mp3File;
    if (book_.TakeForEncoding(wavFile, mp3File)) {
        // "OK!" waits for its MP3 (LameEndFile).
        Lame->InputFiles()->Add(wavFile);
        Lame->OutputFiles()->Add(mp3File);
        EncodeQueued();
    } else {
        IRecTime->SetCaption(L"OK!");
    }
}

bool TFrmMain::SaveOrAsk()
{
    // The boxes are about this recording alone, whatever runs behind them.
    const String wavFile = MPRec->FileName();
    String reason;
    if (TrySave(wavFile, reason)) return true;
    // Until the user's word the recording exists only in the device: the
    // session is asked not to end meanwhile.
    TkypFlagScope waiting(unsavedWaiting_, true);
    const TShutdownBlock block(Handle(), L"A recording has not been saved yet.");
    for (;;) {
        const int answer = Ask(UnsavedRecordingText(wavFile, reason), MB_RETRYCANCEL | MB_ICONERROR);
        if (savedRecording_ == wavFile) return true;  // saved behind the box
        if (answer != IDRETRY && ConfirmDiscard(wavFile)) return savedRecording_ == wavFile;
        if (TrySave(wavFile, reason)) return true;
    }
}

bool TFrmMain::TrySave(const String& wavFile, String& reason)
{
    if (savedRecording_ == wavFile) return true;
    try {
        MPRec->Save();
        savedRecording_ = wavFile;
        return true;
    } catch (const Exception& error) {
        reason = error.Message();
        return false;
    }
}

bool TFrmMain::ConfirmDiscard(const String& wavFile)
{
    return Ask(DiscardRecordingQuestion(wavFile), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

int TFrmMain::Ask(const String& text, UINT flags)
{
    // An impatient second Esc queued behind the stop would otherwise be the
    // box's answer before the box is seen.
    MSG stale{};
    while (PeekMessageW(&stale, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    return Application->MessageBox(text, L"Quorvell", flags);
}

String UnsavedRecordingText(const String& wavFile, const String& reason)
{
    return L"The recording could not be saved to " + wavFile + L":\n" + reason +
           L"\n\nRetry keeps the recording and tries again; Cancel asks whether to discard it.";
}

String DiscardRecordingQuestion(const String& wavFile)
{
    return L"Discard the recording of " + wavFile + L"? Its sound will be lost.\n\nNo keeps it.";
}

void TFrmMain::EncodeQueued()
{
    // A second post finds the lists empty or the run going: harmless.
    if (!Lame->Running()) PostMessageW(Handle(), WM_ENCODEQUEUED, 0, 0);
}

bool TFrmMain::InsideModalLoop()
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetCurrentThreadId(), &thread);
    // A modal box of a command (a file dialog, a question) disables the
    // window; a menu or a move keeps it enabled.
    return commandRunning_ || !IsWindowEnabled(Handle()) ||
           (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_INMOVESIZE)) != 0;
}

void TFrmMain::WMEncodeQueued()
{
    // The run waits until the loop has ended and its command has returned.
    if (InsideModalLoop()) {
        SetTimer(Handle(), kEncodeRetryTimer, kEncodeRetryMilliseconds, nullptr);
        return;
    }
    if (Lame->Running() || Lame->InputFiles()->Count() == 0) return;
    unencodedRecordings_.clear();
    try {
        Lame->ProcessFiles();
    } catch (...) {
        // A handler's failure ends the run; what it left unencoded is named all the same.
        ReportUnencodedRecordings();
        throw;
    }
    ReportUnencodedRecordings();
}

void TFrmMain::ReportUnencodedRecordings()
{
    if (unencodedRecordings_.empty()) return;
    Application->MessageBox(UnencodedRecordingsText(unencodedRecordings_), L"Quorvell", MB_OK | MB_ICONWARNING);
}

String UnencodedRecordingsText(const std::vector<String>& recordings)
{
    String text = L"These recordings stay WAV files; their MP3 files could not be made:";
    for (const String& recording : recordings) text += L"\n" + recording;
    return text;
}

void TFrmMain::ShowDoneWhenIdle()
{
    if (!Recording() && !book_.EncodingPending() && unencodedRecordings_.empty()) IRecTime->SetCaption(L"OK!");
}

void TFrmMain::LameEndFile(TObject*, uint16_t num, const String& mp3File)
{
    const String wavFile = Lame->InputFiles()->Get(num);
    if (!book_.Encoded(wavFile)) convertRequests_.Converted(wavFile, mp3File);
    ShowDoneWhenIdle();
}

void TFrmMain::LameFileError(TObject*, uint16_t, const String& fileName, const Exception& error)
{
    // A recording keeps its WAV and is named once the run is through. A
    // converted file's failure goes to the error box.
    if (book_.EncodingFailed(fileName)) {
        unencodedRecordings_.push_back(fileName + L": " + error.Message());
        return;
    }
    Application->ShowException(this, error);
}

void TFrmMain::LameEndProcess(TObject*)
{
    // Every file of the run is finished or has failed and left the lists.
    Lame->InputFiles()->Clear();
    Lame->OutputFiles()->Clear();
}

void TFrmMain::ConvertFile(const String& wavFile)
{
    TStringList recordingMp3s;
    book_.AwaitedMp3s(recordingMp3s);
    if (Recording() && book_.ConvertAfterRecording()) recordingMp3s.Add(ChangeFileExt(CurrentFileName(), L".mp3"));
    if (convertRequests_.Approve(wavFile, *Lame->InputFiles(), *Lame->OutputFiles(), AskToReplace, &recordingMp3s)) {
        Lame->InputFiles()->Add(wavFile);
        Lame->OutputFiles()->Add(ChangeFileExt(wavFile, L".mp3"));
    }
    // Also for a file queued already: files a failed run left wait for a run.
    EncodeQueued();
}

void TFrmMain::btn_convertClick(TObject*)
{
    RunCommand([this] {
        if (OpenWavFile->Execute()) ConvertFile(OpenWavFile->FileName());
    });
}

void TFrmMain::DragFileDropFiles(TObject*, TStrings* fileNames, int, TPoint)
{
    if (!fileNames || fileNames->Count() == 0) return;
    const String first = fileNames->Get(0);
    RunCommand([&] {
        if (ExtractFileExt(first) == L".wav")
            ConvertFile(first);
        else
            ShowMessage(kNotWavFileText);
    });
}

void TFrmMain::btn_playClick(TObject*)
{
    try {
        MPPlay->SetFileName(CurrentFileName());
        MPPlay->SetDeviceType(TMPDeviceTypes::dtAutoSelect);
        MPPlay->Open();
        MPPlay->Play();
    } catch (const std::exception&) {
        // Nothing to play yet, or the file is gone: nothing happens.
    }
}

void TFrmMain::StopPlay1Click(TObject*)
{
    MPPlay->Stop();
    MPPlay->Close();
}

// ---- settings and launches --------------------------------------------------

String TFrmMain::ProgramFolder() const { return ExtractFilePath(Application->ExeName()); }

String TFrmMain::Get_MusicPath() { return ReadMusicPath(); }

void TFrmMain::Saveto1Click(TObject*)
{
    RunCommand([this] { ChoosePrefix(); });
}

void TFrmMain::ChoosePrefix()
{
    if (!SaveMusic->Execute()) return;
    WriteMusicPath(SaveMusic->FileName());
    musicPath_ = SaveMusic->FileName();
}

void TFrmMain::Help1Click(TObject*) { OpenHelpFile(Application->Handle(), ProgramFolder()); }

void TFrmMain::Go2Site() { OpenHomePage(Application->Handle()); }

void TFrmMain::CheckUpdate1Click(TObject*)
{
    if (StartUpdateProgram(ProgramFolder())) Application->Terminate();
}

void TFrmMain::AudioProperty1Click(TObject*) { OpenRecordingSource(); }

void TFrmMain::ShowTips() { ::ShowTips(ProgramFolder()); }

void TFrmMain::EverydayTips1Click(TObject*) { StartTipsProgram(ProgramFolder()); }
