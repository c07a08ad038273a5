#include "MPlayer.h"

#include <algorithm>
#include <utility>

#include "FileHandle.h"
#include "FileSystem.h"

namespace {

constexpr const wchar_t* kWaveAudio = L"waveaudio";
constexpr DWORD kSettleMilliseconds = 300;
// Room a saved file needs beyond its sound: the header, and a file
// system's last block.
constexpr uint64_t kHeaderRoom = 4096;

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

// A save needs room for the whole file beside what the file it replaces
// gives back. Wine's device moves its own file over the target and, across
// volumes, reports success when that copy stops at a full disk.
void CheckRoom(const String& fileName, uint64_t bytes)
{
    ULARGE_INTEGER available{};
    const String folder = ExtractFilePath(fileName);
    if (!GetDiskFreeSpaceExW(folder.empty() ? nullptr : folder.c_str(), &available, nullptr, nullptr))
        return;  // the save itself will say
    const int64_t replaced = std::max<int64_t>(FileSizeOf(fileName), 0);  // -1: no file to replace
    if (available.QuadPart + static_cast<uint64_t>(replaced) < bytes)
        throw EInOutError(L"There is not enough room on the disk: the recording needs " + UIntToStr(bytes) +
                          L" bytes and " + UIntToStr(available.QuadPart + replaced) + L" are free.",
                          ERROR_DISK_FULL);
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
    // Into the file's RIFF WAVE chunk; false when it has none.
    bool DescendIntoWave(MMCKINFO& riff) const
    {
        riff = MMCKINFO{};
        riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
        return file_ && mmioDescend(file_, &riff, nullptr, MMIO_FINDRIFF) == 0;
    }
    // Into the chunk Id of the RIFF chunk; false when there is none.
    bool DescendInto(const MMCKINFO& riff, FOURCC id, MMCKINFO& chunk) const
    {
        chunk = MMCKINFO{};
        chunk.ckid = id;
        return mmioDescend(file_, &chunk, const_cast<MMCKINFO*>(&riff), MMIO_FINDCHUNK) == 0;
    }

private:
    HMMIO file_ = nullptr;
};

// The size of the WAV file's data chunk and the bytes of it the file really
// holds; false when the file has no readable RIFF WAVE data chunk.
bool ReadDataChunk(const String& fileName, uint64_t& declared, uint64_t& held)
{
    const TMmioFile file(fileName);
    MMCKINFO riff{}, data{};
    if (!file.DescendIntoWave(riff) || !file.DescendInto(riff, mmioFOURCC('d', 'a', 't', 'a'), data)) return false;
    const int64_t size = FileSizeOf(fileName);
    declared = data.cksize;
    held = size > static_cast<int64_t>(data.dwDataOffset) ? static_cast<uint64_t>(size) - data.dwDataOffset : 0;
    return true;
}

// Throws unless FileName holds a whole recording of Bytes bytes of sound,
// with a header that says so.
void CheckWhole(const String& fileName, uint64_t bytes)
{
    uint64_t declared = 0, held = 0;
    if (!ReadDataChunk(fileName, declared, held))
        throw EInOutError(L"The file on the disk is no whole WAV file: the disk may be full.", ERROR_DISK_FULL);
    if (declared != bytes || held < bytes)
        throw EInOutError(L"The file on the disk was cut short: it holds " + UIntToStr(std::min(held, declared)) +
                          L" of the recording's " + UIntToStr(bytes) + L" bytes of sound. The disk may be full.",
                          ERROR_DISK_FULL);
}

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
    const TMmioFile file(fileName);
    MMCKINFO riff{}, chunk{};
    if (!file.DescendIntoWave(riff) || !file.DescendInto(riff, mmioFOURCC('f', 'm', 't', ' '), chunk) ||
        chunk.cksize < sizeof(PCMWAVEFORMAT))
        return false;
    PCMWAVEFORMAT pcm{};
    if (mmioRead(file.get(), reinterpret_cast<HPSTR>(&pcm), sizeof pcm) != static_cast<LONG>(sizeof pcm)) return false;
    mmioAscend(file.get(), &chunk, 0);
    if (!file.DescendInto(riff, mmioFOURCC('d', 'a', 't', 'a'), chunk) || chunk.cksize != 0) return false;
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
    deviceSaveFailed_ = false;
    deviceFile_.clear();
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
    // A new recording goes into a file of the device's own, named once the
    // recording runs; its sound is there for a copy should the save fail.
    const String element = StatusFileName();
    if (!SameText(element, openedFileName_)) deviceFile_ = element;
}

String TMediaPlayer::StatusFileName() const
{
    wchar_t name[MAX_PATH + 1] = {};
    MCI_INFO_PARMSW parameters{};
    parameters.lpstrReturn = name;
    parameters.dwRetSize = MAX_PATH;
    if (Command(device_.get(), MCI_INFO, MCI_INFO_FILE | MCI_WAIT, &parameters) != 0) return {};
    return name;
}

// The device's length does not follow a recording; its position, in bytes,
// is where the recording stopped. The time format goes back to the
// milliseconds every other caller reads.
uint64_t TMediaPlayer::RecordedBytes() const
{
    MCI_SET_PARMS format{};
    format.dwTimeFormat = MCI_FORMAT_BYTES;
    Check(Command(device_.get(), MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &format));
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_POSITION;
    const MCIERROR error = Command(device_.get(), MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &status);
    format.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    Command(device_.get(), MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &format);
    Check(error);
    return status.dwReturn;
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
    RequireDevice();
    CheckReplaceable(fileName);
    if (deviceSaveFailed_)
        CopyDeviceFile(fileName);
    else
        SaveThroughDevice(fileName);
    unsavedRecording_ = false;
    // Moved into the target by the device's save, or copied from it.
    RemoveDeviceFile();
}

void TMediaPlayer::SaveThroughDevice(const String& fileName)
{
    const uint64_t bytes = RecordedBytes();
    CheckRoom(fileName, bytes + kHeaderRoom);
    MCI_SAVE_PARMSW parameters{};
    parameters.lpfilename = fileName.c_str();
    const MCIERROR error = Command(device_.get(), MCI_SAVE, MCI_SAVE_FILE | MCI_WAIT, &parameters);
    try {
        Check(error);
        CheckWhole(fileName, bytes);
    } catch (const Exception&) {
        // Only a new recording's own file can stand in for the device.
        deviceSaveFailed_ = !deviceFile_.empty();
        throw;
    }
}

// The device's own file is a whole WAV file once its save has been tried:
// it is copied as it is, and the copy read back; it goes once the save counts.
void TMediaPlayer::CopyDeviceFile(const String& fileName)
{
    uint64_t bytes = 0, held = 0;
    if (!ReadDataChunk(deviceFile_, bytes, held) || held < bytes)
        throw EInOutError(L"The recording's sound in " + deviceFile_ + L" is not whole; it is left there.",
                          ERROR_INVALID_DATA);
    CheckRoom(fileName, bytes + kHeaderRoom);
    if (!CopyFileW(deviceFile_.c_str(), fileName.c_str(), FALSE)) {
        const int error = GetLastOSError();
        throw EInOutError(SysErrorMessage(error), error);
    }
    CheckWhole(fileName, bytes);
}

void TMediaPlayer::RemoveDeviceFile()
{
    if (!deviceFile_.empty() && FileExists(deviceFile_)) RemoveFile(deviceFile_);
    deviceFile_.clear();
}

void TMediaPlayer::Close()
{
    if (!device_) return;
    if (commandPending_) {
        MCI_GENERIC_PARMS parameters{};
        Command(device_.get(), MCI_STOP, MCI_WAIT, &parameters);
        WaitForPendingCommand();
    }
    const bool discarded = std::exchange(unsavedRecording_, false);
    const MCIERROR error = device_.Close();
    if (discarded) RemoveDeviceFile();
    Check(error);
}
