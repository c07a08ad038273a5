#include "MPlayer.h"

#include <utility>

#include "FileHandle.h"

namespace {

constexpr const wchar_t* kWaveAudio = L"waveaudio";
constexpr DWORD kSettleMilliseconds = 300;

String MciErrorText(MCIERROR error)
{
    wchar_t text[MAXERRORLENGTH] = {};
    if (mciGetErrorStringW(error, text, MAXERRORLENGTH) && text[0]) return text;
    return L"MCI error " + UIntToStr(error);
}

// The wave driver's recording and playing threads can still be on their
// way out of the driver when the last device closes, and the system then
// unloads the driver under them. Kept loaded for the life of the process,
// its code stays where those threads return to.
void KeepWaveDriverLoaded()
{
    for (const wchar_t* name : {L"mciwave.drv", L"mciwave.dll"}) {
        HMODULE module = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, name, &module);
    }
}

void Check(MCIERROR error)
{
    if (error != 0) throw EMCIDeviceError(MciErrorText(error));
}

// Wine's wave device lets go of its recording's file before it replaces the
// target, and a save that then fails leaves it unable to save again (the
// next save reports an invalid handle). A target that another program
// holds, or whose folder is gone, is therefore refused before the device
// is asked, the recording kept; a file not there yet is made by the save.
void CheckReplaceable(const String& fileName)
{
    int error = 0;
    const TFileHandle target =
        TFileHandle::Open(fileName, TFileAccess::Write, TFileShare::Exclusive, TFileDisposition::OpenExisting, &error);
    if (!target.Valid() && error != ERROR_FILE_NOT_FOUND) throw EMCIDeviceError(SysErrorMessage(error));
}

MCIERROR Command(MCIDEVICEID device, UINT message, DWORD_PTR flags, void* parameters)
{
    return mciSendCommandW(device, message, flags, reinterpret_cast<DWORD_PTR>(parameters));
}

// Owns an open multimedia file of the RIFF reader.
class TMmioFile {
public:
    explicit TMmioFile(const String& fileName)
    {
        String name = fileName;  // mmioOpenW may write into the name it is given
        file_ = mmioOpenW(name.data(), nullptr, MMIO_READ | MMIO_DENYNONE);
    }
    TMmioFile(const TMmioFile&) = delete;
    TMmioFile& operator=(const TMmioFile&) = delete;
    ~TMmioFile()
    {
        if (file_) mmioClose(file_, 0);
    }
    HMMIO get() const { return file_; }

private:
    HMMIO file_ = nullptr;
};

}  // namespace

// ---------------------------------------------------------------- TMciDevice

TMciDevice::TMciDevice(TMciDevice&& other) noexcept : id_(std::exchange(other.id_, 0)) {}

TMciDevice& TMciDevice::operator=(TMciDevice&& other) noexcept
{
    if (this != &other) {
        Close();
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

TMciDevice::~TMciDevice() { Close(); }

MCIERROR TMciDevice::Close()
{
    const MCIDEVICEID id = std::exchange(id_, 0);
    if (id == 0) return 0;
    MCI_GENERIC_PARMS parameters{};
    return Command(id, MCI_CLOSE, MCI_WAIT, &parameters);
}

// ---------------------------------------------------------------- header

bool ReadEmptyRecordingFormat(const String& fileName, WAVEFORMATEX& format)
{
    TMmioFile file(fileName);
    if (!file.get()) return false;
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file.get(), &riff, nullptr, MMIO_FINDRIFF) != 0) return false;
    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file.get(), &chunk, &riff, MMIO_FINDCHUNK) != 0 || chunk.cksize < sizeof(PCMWAVEFORMAT)) return false;
    PCMWAVEFORMAT pcm{};
    if (mmioRead(file.get(), reinterpret_cast<HPSTR>(&pcm), sizeof pcm) != static_cast<LONG>(sizeof pcm)) return false;
    mmioAscend(file.get(), &chunk, 0);
    chunk = MMCKINFO{};
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file.get(), &chunk, &riff, MMIO_FINDCHUNK) != 0 || chunk.cksize != 0) return false;
    format = WAVEFORMATEX{};
    format.wFormatTag = pcm.wf.wFormatTag;
    format.nChannels = pcm.wf.nChannels;
    format.nSamplesPerSec = pcm.wf.nSamplesPerSec;
    format.nAvgBytesPerSec = pcm.wf.nAvgBytesPerSec;
    format.nBlockAlign = pcm.wf.nBlockAlign;
    format.wBitsPerSample = pcm.wBitsPerSample;
    return true;
}

// ---------------------------------------------------------------- TMediaPlayer

TMediaPlayer::TMediaPlayer(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 253, 30); }

TMediaPlayer::~TMediaPlayer()
{
    try {
        Close();
    } catch (const EMCIDeviceError&) {
        // the device is forgotten all the same
    }
}

void TMediaPlayer::Open()
{
    if (unsavedRecording_) {
        Stop();
        SaveInto(openedFileName_);
    }
    Close();
    WAVEFORMATEX format{};
    device_ = TMciDevice(ReadEmptyRecordingFormat(fileName_, format) ? OpenNewRecording(format) : OpenDevice());
    openedFileName_ = fileName_;
}

TMciDevice TMediaPlayer::OpenDevice() const
{
    MCI_OPEN_PARMSW parameters{};
    parameters.lpstrElementName = fileName_.c_str();
    DWORD_PTR flags = MCI_OPEN_ELEMENT | MCI_WAIT;
    if (deviceType_ == TMPDeviceTypes::dtWaveAudio) {
        parameters.lpstrDeviceType = kWaveAudio;
        flags |= MCI_OPEN_TYPE;
    }
    Check(Command(0, MCI_OPEN, flags, &parameters));
    KeepWaveDriverLoaded();
    return TMciDevice(parameters.wDeviceID);
}

TMciDevice TMediaPlayer::OpenNewRecording(const WAVEFORMATEX& format) const
{
    MCI_OPEN_PARMSW open{};
    open.lpstrDeviceType = kWaveAudio;
    open.lpstrElementName = L"";  // an empty element is a new, unnamed recording
    Check(Command(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT, &open));
    KeepWaveDriverLoaded();
    TMciDevice device(open.wDeviceID);

    MCI_WAVE_SET_PARMS set{};
    set.wFormatTag = format.wFormatTag;
    set.nChannels = format.nChannels;
    set.nSamplesPerSec = format.nSamplesPerSec;
    set.nAvgBytesPerSec = format.nAvgBytesPerSec;
    set.nBlockAlign = format.nBlockAlign;
    set.wBitsPerSample = format.wBitsPerSample;
    Check(Command(device.get(), MCI_SET,
                  MCI_WAVE_SET_FORMATTAG | MCI_WAVE_SET_CHANNELS | MCI_WAVE_SET_SAMPLESPERSEC |
                      MCI_WAVE_SET_AVGBYTESPERSEC | MCI_WAVE_SET_BLOCKALIGN | MCI_WAVE_SET_BITSPERSAMPLE | MCI_WAIT,
                  &set));
    return device;
}

MCIDEVICEID TMediaPlayer::RequireDevice() const
{
    if (!device_) throw EMCIDeviceError(L"No MCI device open");
    return device_.get();
}

HWND TMediaPlayer::NotifyWindow()
{
    if (!notifyWindow_) notifyWindow_.reset(CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    return notifyWindow_.get();
}

void TMediaPlayer::StartNotified(UINT command, void* parameters)
{
    // The generic parameters head every command's parameters.
    static_cast<MCI_GENERIC_PARMS*>(parameters)->dwCallback = reinterpret_cast<DWORD_PTR>(NotifyWindow());
    Check(Command(device_.get(), command, MCI_NOTIFY, parameters));
    commandPending_ = true;
}

// A recording or playback runs on threads of the device, which may still
// be handing in their last buffers after the stop has returned; saving or
// closing under them crashes Wine's wave device now and then. The stop
// ends the pending command's notification; the device's threads are then
// given a moment to finish. The moment guards a fault of Wine 8 that is
// seen again without it: within 40 stops and saves of a middle-quality
// recording in a row (quorvell_stop_bench 40), one of the device's threads
// writes through a null pointer and the program dies.
void TMediaPlayer::WaitForPendingCommand()
{
    if (!commandPending_) return;
    commandPending_ = false;
    const ULONGLONG deadline = GetTickCount64() + 2000;
    MSG msg{};
    bool notified = false;
    while (!notified && GetTickCount64() < deadline) {
        while (PeekMessageW(&msg, notifyWindow_.get(), MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE))
            notified = notified || static_cast<MCIDEVICEID>(msg.lParam) == device_.get();
        if (!notified) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
    }
    Sleep(kSettleMilliseconds);
}

void TMediaPlayer::StartRecording()
{
    RequireDevice();
    // Without any wave input the device still accepts the command and
    // records nothing, which would end as an empty file reported as saved.
    if (waveInGetNumDevs() == 0) Check(MCIERR_WAVE_INPUTSUNSUITABLE);
    MCI_RECORD_PARMS parameters{};
    StartNotified(MCI_RECORD, &parameters);
    unsavedRecording_ = true;
}

void TMediaPlayer::Play()
{
    RequireDevice();
    MCI_PLAY_PARMS parameters{};
    StartNotified(MCI_PLAY, &parameters);
}

void TMediaPlayer::Stop()
{
    MCI_GENERIC_PARMS parameters{};
    Check(Command(RequireDevice(), MCI_STOP, MCI_WAIT, &parameters));
    WaitForPendingCommand();
}

void TMediaPlayer::Save() { SaveInto(fileName_); }

void TMediaPlayer::SaveInto(const String& fileName)
{
    const MCIDEVICEID device = RequireDevice();
    CheckReplaceable(fileName);
    MCI_SAVE_PARMSW parameters{};
    parameters.lpfilename = fileName.c_str();
    Check(Command(device, MCI_SAVE, MCI_SAVE_FILE | MCI_WAIT, &parameters));
    unsavedRecording_ = false;
}

void TMediaPlayer::Close()
{
    if (!device_) return;
    if (commandPending_) {
        MCI_GENERIC_PARMS parameters{};
        Command(device_.get(), MCI_STOP, MCI_WAIT, &parameters);
        WaitForPendingCommand();
    }
    unsavedRecording_ = false;
    Check(device_.Close());
}
