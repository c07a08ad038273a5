// Times the recorder's stop inside its own window: a middle-quality
// recording of a second, then the stop command until the display shows
// "OK!". Prints the median of the runs (5, or the count given) in seconds.
// The recordings go to a folder of the temporary directory, removed after;
// the recording prefix of the settings is given back as it was found.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "Registry.h"
#include "SaveSeting.h"
#include "WallClock.h"
#include "main.h"

namespace {

template <class Condition>
bool PumpUntil(Condition condition, double seconds)
{
    for (const double deadline = Now() + seconds; Now() < deadline;) {
        Application->ProcessMessages();
        if (condition()) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return false;
}

// The user's recording prefix, given back when this goes.
class TKeptMusicPath {
public:
    TKeptMusicPath() : existed_(TRegistry().OpenKey(kSettingsKey, false)), prefix_(ReadMusicPath()) {}
    TKeptMusicPath(const TKeptMusicPath&) = delete;
    TKeptMusicPath& operator=(const TKeptMusicPath&) = delete;
    ~TKeptMusicPath()
    {
        if (!existed_)
            TRegistry().DeleteKey(kSettingsKey);
        else if (prefix_.empty())
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey.substr(1).c_str(), kMusicPathName.c_str());
        else
            WriteMusicPath(prefix_);
    }

private:
    bool existed_;
    String prefix_;
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    const auto folder = std::filesystem::temp_directory_path() / L"quorvell-stop-bench";
    std::filesystem::create_directories(folder);
    std::vector<double> stops;
    {
        TKeptMusicPath kept;
        WriteMusicPath((folder / L"take").wstring());
        Application->Initialize();
        Application->CreateForm(FrmMain);
        FrmMain->Show();
        FrmMain->sRBMid->SetChecked(true);
        for (int run = 0; run < runs; ++run) {
            FrmMain->btn_recordClick(FrmMain);
            if (!FrmMain->Recording() || !PumpUntil([] { return FrmMain->IRecTime->Caption() == L"1"; }, 10)) break;
            const double start = Now();
            FrmMain->btn_stopClick(FrmMain);
            if (!PumpUntil([] { return FrmMain->IRecTime->Caption() == L"OK!"; }, 10)) break;
            stops.push_back(Now() - start);
        }
        FreeObject(FrmMain);
    }
    std::filesystem::remove_all(folder);
    if (static_cast<int>(stops.size()) != runs) {
        std::fprintf(stderr, "the recording or its stop did not complete\n");
        return 1;
    }
    std::sort(stops.begin(), stops.end());
    std::printf("%.3f\n", stops[stops.size() / 2]);
    return 0;
}
