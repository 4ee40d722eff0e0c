// The whole player against two floor programs, measured from outside as a user meets them: how soon the
// window answers after the start, with nothing to open and with a file in a folder of 1,000 and 10,000
// files. The design's floor (FloorWithImports.cpp) is what the player can't start faster than: its
// imports, common controls 6, GDI+ and one PNG decoded; the bare window (FloorWindow.cpp) is a window and
// a timer alone. Each row is a ratio of medians, the programs measured interleaved in one run. (Idle CPU
// and memory are read by scripts/bench.sh from the host, which Wine can't see.)
//   player_bench.exe PLAYER_EXE DESIGN_FLOOR_EXE BARE_FLOOR_EXE WORK_FOLDER CLIP
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/PlayerProcess.h"

namespace {

constexpr int kStartRuns = 30;

double nowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The window answers once its thread runs its message loop: a sent WM_NULL comes back.
bool answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored) != 0;
}

// Milliseconds from the start of the process until its main window answers; -1 when it never did.
double startToAnswer(e2e::PlayerProcess& process, const std::wstring& exe, const std::wstring& tail) {
    const double start = nowMs();
    if (!process.start(exe, tail, {}) || !process.waitForWindow(15000)) {
        return -1;
    }
    if (!e2e::waitUntil([&] { return answers(process.window()); }, 15000, 1)) {
        return -1;
    }
    return nowMs() - start;
}

void closeAndWait(e2e::PlayerProcess& process) {
    process.requestClose();
    if (!process.waitForExit(5000)) {
        process.kill();
    }
}

// A folder of `count` files, one of them a copy of the clip, the others empty files with the playable
// extension (the playlist opens each one once).
std::wstring makeFolder(const std::wstring& work, int count, const std::wstring& clip) {
    const std::wstring folder = work + L"\\folder-" + std::to_wstring(count);
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring first = folder + L"\\a-clip.mpg";
    CopyFileW(clip.c_str(), first.c_str(), FALSE);
    for (int i = 1; i < count; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"\\file-%05d.mpg", i);
        const std::wstring path = folder + name;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
    }
    return first;
}

// A goal of 0 prints the ratio alone.
void row(const char* what, double player, double floor, const char* unit, double goal) {
    const double ratio = floor > 0 ? player / floor : 0;
    std::printf("%-44s %10.1f %10.1f %-6s %7.2fx", what, player, floor, unit, ratio);
    if (goal > 0) {
        std::printf("  (goal <= %.1fx)", goal);
    }
    std::printf("\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 6) {
        std::fprintf(stderr,
                     "usage: player_bench PLAYER_EXE DESIGN_FLOOR_EXE BARE_FLOOR_EXE WORK_FOLDER CLIP\n");
        return 2;
    }
    const std::wstring player = argv[1], designFloor = argv[2], bareFloor = argv[3], work = argv[4],
                       clip = argv[5];
    CreateDirectoryW(work.c_str(), nullptr);
    const std::wstring inSmall = makeFolder(work, 1000, clip);
    const std::wstring inLarge = makeFolder(work, 10000, clip);

    std::vector<double> playerStart, designStart, bareStart, small, large;
    for (int run = 0; run < kStartRuns; ++run) {
        e2e::PlayerProcess process;
        playerStart.push_back(startToAnswer(process, player, L""));
        closeAndWait(process);
        designStart.push_back(startToAnswer(process, designFloor, L""));
        closeAndWait(process);
        bareStart.push_back(startToAnswer(process, bareFloor, L""));
        closeAndWait(process);
        small.push_back(startToAnswer(process, player, L"\"" + inSmall + L"\""));
        closeAndWait(process);
        large.push_back(startToAnswer(process, player, L"\"" + inLarge + L"\""));
        closeAndWait(process);
    }

    char heading[64];
    std::snprintf(heading, sizeof(heading), "measure (medians of %d starts)", kStartRuns);
    std::printf("%-44s %10s %10s %-6s %8s\n", heading, "player", "floor", "unit", "ratio");
    const double design = median(designStart);
    row("start-up until the window answers", median(playerStart), design, "ms", 1.1);
    row("  against the bare window", median(playerStart), median(bareStart), "ms", 0);
    row("  the design's floor against the bare window", design, median(bareStart), "ms", 0);
    row("  with a file among 1,000", median(small), design, "ms", 0);
    row("  with a file among 10,000", median(large), design, "ms", 0);
    return 0;
}
