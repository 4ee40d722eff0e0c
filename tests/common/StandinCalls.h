#pragma once

#include <windows.h>

#include <string>

#include "common/TempFolder.h"

// What reached the libvlc stand-in (tests/standins/libvlc): with VELMORA_LIBVLC_STANDIN_LOG naming a file
// in the environment of the process that loads it, each control call is appended there as a line of
// UTF-8 ending in '\n': "set_media <path>", "play", "set_time 1500", "set_rate 1.5", "audio_set_track 2",
// "video_set_spu -1", "add_slave subtitle <file:/// address> select 1", "set_marquee_int Timeout 2000",
// "set_marquee_string Text Speed: 1.5×", "set_marquee_int Enable 1", "stop" (StandinLog.h).
namespace standincalls {

inline std::string read(const std::wstring& path) {
    return readAll(path);
}

// Logs this process's calls into `path` while it lives.
class Recording {
public:
    explicit Recording(const std::wstring& path) { SetEnvironmentVariableW(kVariable, path.c_str()); }
    ~Recording() { SetEnvironmentVariableW(kVariable, nullptr); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

private:
    static constexpr const wchar_t* kVariable = L"VELMORA_LIBVLC_STANDIN_LOG";
};

}  // namespace standincalls
