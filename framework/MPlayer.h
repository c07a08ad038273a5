// The media player: an invisible control that drives one MCI device
// (winmm) for recording into and playing back sound files.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "Controls.h"
#include "WindowHandles.h"

enum class TMPDeviceTypes { dtAutoSelect, dtWaveAudio };

// Carries the system's MCI error text, or "No MCI device open".
class EMCIDeviceError : public Exception {
    using Exception::Exception;
};

// Owns an open MCI device and closes it, waiting, once.
class TMciDevice {
public:
    TMciDevice() = default;
    explicit TMciDevice(MCIDEVICEID id) : id_(id) {}
    TMciDevice(const TMciDevice&) = delete;
    TMciDevice& operator=(const TMciDevice&) = delete;
    TMciDevice(TMciDevice&& other) noexcept;
    TMciDevice& operator=(TMciDevice&& other) noexcept;
    ~TMciDevice();

    MCIDEVICEID get() const { return id_; }
    explicit operator bool() const { return id_ != 0; }
    // Closes the device; the MCI error code, 0 when it closed or none was open.
    MCIERROR Close();

private:
    MCIDEVICEID id_ = 0;
};

// The wave format of a WAV file whose data chunk is still empty, the kind
// of file a recording starts from; false for any other file.
bool ReadEmptyRecordingFormat(const String& fileName, WAVEFORMATEX& format);

class TMediaPlayer : public TGraphicControl {
public:
    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    TMPDeviceTypes DeviceType() const { return deviceType_; }
    void SetDeviceType(TMPDeviceTypes type) { deviceType_ = type; }
    // The element the next Open uses and the file Save writes.
    const String& FileName() const { return fileName_; }
    void SetFileName(const String& fileName) { fileName_ = fileName; }
    // 0 while no device is open.
    MCIDEVICEID DeviceID() const { return device_.get(); }

    // Closes an open device, then opens FileName. A WAV file that holds
    // only its header is opened as a new recording in the header's format:
    // not every MCI wave device records into such a file in place. A
    // recording the device holds unsaved is first saved into the file it
    // was opened for; when that fails, the error is raised and the device
    // stays open with it.
    void Open();
    // Records from the current position and returns at once.
    void StartRecording();
    // Plays from the current position and returns at once.
    void Play();
    void Stop();
    // Writes the device's sound into FileName. A save counts only when the
    // file on disk holds the whole recording: there must be room for it
    // first, and the file is read back after. A device whose own save fell
    // short is not asked again; the next save copies the sound from the
    // device's own file, which still holds all of it.
    void Save();
    // Nothing happens when no device is open. A recording not saved is
    // discarded, and with it the device's own file of it.
    void Close();
    // Recorded since the device was opened and not yet saved.
    bool UnsavedRecording() const { return unsavedRecording_; }

private:
    TMciDevice OpenDevice() const;
    TMciDevice OpenNewRecording(const WAVEFORMATEX& format) const;
    MCIDEVICEID RequireDevice() const;
    HWND NotifyWindow();
    void StartNotified(UINT command, void* parameters);
    void WaitForPendingCommand();
    void SaveInto(const String& fileName);
    void SaveThroughDevice(const String& fileName);
    void CopyDeviceFile(const String& fileName);
    String StatusFileName() const;
    uint64_t RecordedBytes() const;
    void RemoveDeviceFile();

    TMPDeviceTypes deviceType_ = TMPDeviceTypes::dtAutoSelect;
    String fileName_;
    TMciDevice device_;
    // Receives the device's word that a recording or playback has ended.
    TWindowHandle notifyWindow_;
    bool commandPending_ = false;
    // Recorded since the device was opened or last saved.
    bool unsavedRecording_ = false;
    String openedFileName_;
    // Where the device keeps a new recording until it is saved; empty when
    // the device records into the file it was opened with.
    String deviceFile_;
    // The device's save fell short once: it cannot be trusted to save again.
    bool deviceSaveFailed_ = false;
};
