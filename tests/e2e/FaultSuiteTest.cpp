// The fault suite: one table, each row a run of the real player under bad input or a fault (broken
// registry values, odd command lines, broken media, a hung or foreign first copy, a storm of commands,
// closing at awkward moments). Every row must end without a crash or a hang, with exit code 0 once
// closed as the frame button closes it, and with the saved placement intact. The totals are printed at
// the end of the run.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/FedPipe.h"
#include "common/StandinCalls.h"
#include "common/TestClips.h"
#include "common/TestRegistry.h"
#include "common/Utf8.h"
#include "e2e/PlayerFixture.h"
#include "resources/resource.h"

namespace e2e {
namespace {

using testregistry::kHandleValue;
using testregistry::kNewFileValue;
using testregistry::kOpenHandedOverFile;
using testregistry::kPlacementValue;

// The placement every row starts from, unless the row is about that value.
const WINDOWPLACEMENT kKnownPlacement = testregistry::placementOf({90, 80, 800, 600});

std::vector<BYTE> bytesOf(const void* data, size_t size) {
    const auto* first = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(first, first + size);
}

// `pattern` repeated or cut to exactly `size` bytes.
std::vector<BYTE> sized(const std::vector<BYTE>& pattern, size_t size) {
    std::vector<BYTE> out(size);
    for (size_t i = 0; i < size; ++i) {
        out[i] = pattern[i % pattern.size()];
    }
    return out;
}

bool validPlacement(const testregistry::Value& value) {
    WINDOWPLACEMENT placement{};
    if (value.type != REG_BINARY || value.bytes.size() != sizeof(placement)) {
        return false;
    }
    std::memcpy(&placement, value.bytes.data(), sizeof(placement));
    const RECT& r = placement.rcNormalPosition;
    return placement.length == sizeof(placement) &&
           (placement.showCmd == SW_SHOWNORMAL || placement.showCmd == SW_SHOWMAXIMIZED) &&
           r.right > r.left && r.bottom > r.top;
}

struct Totals {
    int rows = 0, crashes = 0, hangs = 0, lostPlacements = 0;
};
Totals totals;

class PrintTotals : public ::testing::Environment {
public:
    void TearDown() override {
        std::printf("fault suite: %d rows, %d crashes, %d hangs, %d lost placements\n", totals.rows,
                    totals.crashes, totals.hangs, totals.lostPlacements);
        std::fflush(stdout);
    }
};
::testing::Environment* const printTotals = ::testing::AddGlobalTestEnvironment(new PrintTotals);

// A top-level window of "another program" on a thread of its own that answers its messages.
class AnsweringWindow {
public:
    AnsweringWindow() {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            window_ = CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                                      20, 300, 200, nullptr, nullptr, nullptr, nullptr);
            threadId_ = GetCurrentThreadId();
            SetEvent(ready);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                DispatchMessageW(&message);
            }
            DestroyWindow(window_);
        });
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
    }
    ~AnsweringWindow() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND window() const { return window_; }

private:
    std::thread thread_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
};

class FaultSuite;

struct FaultRow {
    std::string name;
    // Prepares files and registry values; gives the command tail of the start.
    std::function<std::wstring(FaultSuite&)> arrange;
    // Drives the running player; may be empty.
    std::function<void(FaultSuite&)> act;
    // The row writes "MAIN_WP" itself: afterwards it must be a valid placement, not the known one.
    bool ownPlacement = false;
    // Closed with a modal window of the player still up (the user never dismissed it).
    bool closeWithDialogUp = false;
};

void PrintTo(const FaultRow& row, std::ostream* out) {
    *out << row.name;
}

class FaultSuite : public PlayerTest, public ::testing::WithParamInterface<FaultRow> {
public:
    static std::vector<FaultRow> table();
    static void SetUpTestSuite();

protected:
    void TearDown() override {
        runCleanups();
        PlayerTest::TearDown();
    }

    static std::wstring faultFolder(const wchar_t* name) {
        newFolder(L"Faults");
        return newFolder(std::wstring(L"Faults\\") + name);
    }
    static std::wstring copyOf(const char* clip, const std::wstring& target) {
        CopyFileW(testclips::path(clip).c_str(), target.c_str(), FALSE);
        return target;
    }
    static std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
    // A folder of 3,000 clips, five of them broken, made once per suite.
    static std::wstring bigFolder() { return faultFolder(L"Three Thousand"); }

    void writeValue(const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes) {
        const BYTE none = 0;
        ASSERT_TRUE(testregistry::write(name, type, bytes.empty() ? &none : bytes.data(),
                                        static_cast<DWORD>(bytes.size())));
    }
    // What a second copy does to hand a file over: the path in the registry, then the message.
    void handOver(DWORD type, const std::vector<BYTE>& bytes) {
        writeValue(kNewFileValue, type, bytes);
        PostMessageW(player_.window(), kOpenHandedOverFile, 0, 0);
        EXPECT_TRUE(waitForQueue());
    }
    void handOver(const std::wstring& path) {
        handOver(REG_SZ, bytesOf(path.c_str(), (path.size() + 1) * sizeof(wchar_t)));
    }
    void later(std::function<void()> cleanup) { cleanups_.push_back(std::move(cleanup)); }
    void runCleanups() {
        for (auto it = cleanups_.rbegin(); it != cleanups_.rend(); ++it) {
            (*it)();
        }
        cleanups_.clear();
    }
    // Answers every message box or dialog the way a user gets rid of it.
    void dismissDialogs() const {
        for (int i = 0; i < 20; ++i) {
            const HWND dialog = player_.findDialog();
            if (!dialog) {
                return;
            }
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            if (!waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 700)) {
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 2000);
            }
        }
    }
    bool answers() const {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutW(player_.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
    }

    std::vector<std::function<void()>> cleanups_;
};

void FaultSuite::SetUpTestSuite() {
    PlayerTest::SetUpTestSuite();
    const std::wstring folder = bigFolder();
    if (GetFileAttributesW((folder + L"\\f2999.mpg").c_str()) != INVALID_FILE_ATTRIBUTES) {
        return;
    }
    const std::wstring good = testclips::path("folder/a.mpg");
    for (int i = 0; i < 3000; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"\\f%04d.mpg", i);
        const bool broken = i == 1 || i == 2 || i == 1500 || i == 2998 || i == 2999;
        const std::wstring source = broken ? testclips::path(i % 2 ? "garbage.mpg" : "empty.mpg") : good;
        const std::wstring target = folder + name;
        // Hard links keep 3,000 clips cheap; a plain copy where links are refused.
        if (!CreateHardLinkW(target.c_str(), source.c_str(), nullptr)) {
            CopyFileW(source.c_str(), target.c_str(), FALSE);
        }
    }
}

std::vector<FaultRow> FaultSuite::table() {
    std::vector<FaultRow> rows;
    const auto add = [&rows](std::string name, std::function<std::wstring(FaultSuite&)> arrange,
                             std::function<void(FaultSuite&)> act = nullptr) {
        rows.push_back(FaultRow{std::move(name), std::move(arrange), std::move(act)});
        return &rows.back();
    };

    // Registry values of every wrong type and size. Their contents are the right value's bytes, repeated
    // or cut, so a reader that trusts the size or the type gets something that looks almost right.
    struct Shape {
        const char* name;
        DWORD type;   // 0: the value's own type
        size_t size;  // bytes stored ("NoNul": the whole right contents, without their NUL)
    };
    const Shape shapes[] = {{"Empty", 0, 0},
                            {"OneByte", 0, 1},
                            {"OddSize", 0, 3},
                            {"Size519", 0, 519},
                            {"Size520", 0, 520},
                            {"Size521", 0, 521},
                            {"NoNul", REG_SZ, 0},
                            {"ExpandSz", REG_EXPAND_SZ, 44},
                            {"MultiSz", REG_MULTI_SZ, 44},
                            {"Qword", REG_QWORD, 8}};
    // A file's place under "Resume": 16 bytes, the place (5 s into the twelve-second clip) and a stamp.
    const long long resumePlace[2] = {5000, 1};
    for (const Shape& shape : shapes) {
        const std::string shapeName = shape.name;
        const bool noNul = shapeName == "NoNul";
        const size_t size = shape.size;
        add("Resume" + shapeName, [=](FaultSuite&) {
            const auto record = bytesOf(resumePlace, sizeof(resumePlace));
            const std::vector<BYTE> bytes = noNul ? record : sized(record, size);
            EXPECT_TRUE(testregistry::write(testregistry::kResumeKey, longClipPath().c_str(),
                                            shape.type ? shape.type : REG_BINARY, bytes.data(),
                                            static_cast<DWORD>(bytes.size())));
            return quoted(longClipPath());
        });
        add("MainWp" + shapeName, [=](FaultSuite& t) {
            const auto placement = bytesOf(&kKnownPlacement, sizeof(kKnownPlacement));
            t.writeValue(kPlacementValue, shape.type ? shape.type : REG_BINARY,
                         sized(placement, noNul ? placement.size() : size));
            return std::wstring();
        })->ownPlacement = true;
        add("Handle" + shapeName, [=](FaultSuite& t) {
            const DWORD handle = 0x00010024;
            t.writeValue(kHandleValue, shape.type ? shape.type : REG_DWORD,
                         noNul ? std::vector<BYTE>{'1', 0, '2', 0} : sized(bytesOf(&handle, 4), size));
            return videoPath(L"a.mpg");
        });
        add(
            "NewFile" + shapeName, [](FaultSuite&) { return std::wstring(); },
            [=](FaultSuite& t) {
                const std::wstring path = videoPath(L"b.mpg");
                const auto text = bytesOf(path.c_str(), path.size() * sizeof(wchar_t));
                std::vector<BYTE> bytes = noNul ? text : sized(text, size);
                if (shape.type == REG_EXPAND_SZ || shape.type == REG_MULTI_SZ) {
                    bytes = text;
                    bytes.insert(bytes.end(), shape.type == REG_MULTI_SZ ? 4 : 2, 0);
                }
                t.handOver(shape.type ? shape.type : REG_SZ, bytes);
            });
    }

    // A placement of the right size that no screen can show: hidden, or far off every screen.
    const std::pair<const char*, WINDOWPLACEMENT> unshowable[] = {
        {"MainWpHidden", testregistry::placementOf({90, 80, 800, 600}, SW_HIDE)},
        {"MainWpOffScreen", testregistry::placementOf({30000, 30000, 30710, 30520})}};
    for (const auto& [name, placement] : unshowable) {
        add(name, [placement = placement](FaultSuite& t) {
            t.writeValue(kPlacementValue, REG_BINARY, bytesOf(&placement, sizeof(placement)));
            return std::wstring();
        })->ownPlacement = true;
    }

    // A placement of the right size that the system refuses (its length field is not the record's size)
    // counts as none: the window opens at its standard size in the middle of the work area.
    add(
        "MainWpRefusedBySystem",
        [](FaultSuite& t) {
            WINDOWPLACEMENT refused = kKnownPlacement;
            refused.length = 0;
            t.writeValue(kPlacementValue, REG_BINARY, bytesOf(&refused, sizeof(refused)));
            return std::wstring();
        },
        [](FaultSuite& t) {
            const HWND main = t.player_.window();
            EXPECT_TRUE(waitUntil(
                [&] {
                    return clientSize(main) == SIZE{672, 456} && testwin::centredOnWorkArea(main);
                },
                3000))
                << "client " << testing::PrintToString(clientSize(main)) << " at "
                << testing::PrintToString(windowRect(main));
        })
        ->ownPlacement = true;

    // Command lines.
    add("TailQuoted", [](FaultSuite&) { return quoted(videoPath(L"a.mpg")); });
    add("TailUnquotedWithBlanks", [](FaultSuite&) { return videoPath(L"a.mpg"); });
    for (size_t length : {259u, 260u, 320u}) {
        add("TailOf" + std::to_string(length) + "Characters",
            [length](FaultSuite&) { return quoted(clipOfLength(length)); });
    }
    const std::pair<const char*, const wchar_t*> names[] = {{"Cyrillic", L"Видео клип.mpg"},
                                                            {"Cjk", L"動画ファイル.mpg"},
                                                            {"Emoji", L"\U0001F3AC clip \U0001F600.mpg"}};
    for (const auto& [name, file] : names) {
        const std::wstring fileName = file;
        add(std::string("Tail") + name + "Name", [fileName](FaultSuite&) {
            return quoted(copyOf("folder/a.mpg", faultFolder(L"Names") + L"\\" + fileName));
        });
    }
    add("TailFolder", [](FaultSuite&) { return quoted(videosFolder()); });
    add("TailMissingFile", [](FaultSuite&) { return quoted(faultFolder(L"Missing") + L"\\gone.mpg"); });
    add("TailFileLockedByAnotherProcess", [](FaultSuite& t) {
        const std::wstring path = copyOf("folder/a.mpg", faultFolder(L"Locked") + L"\\locked.mpg");
        HANDLE lock =
            CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(lock, INVALID_HANDLE_VALUE) << "the file could not be locked";
        t.later([lock] { CloseHandle(lock); });
        return quoted(path);
    });
    add("TailEmptyQuotes", [](FaultSuite&) { return std::wstring(L"\"\""); });

    // Media.
    add(
        "MediaMissingHandedOver", [](FaultSuite&) { return std::wstring(); },
        [](FaultSuite& t) { t.handOver(faultFolder(L"Missing") + L"\\gone.mpg"); });
    add("MediaEmpty",
        [](FaultSuite&) { return quoted(copyOf("empty.mpg", faultFolder(L"Empty") + L"\\empty.mpg")); });
    add("MediaGarbage", [](FaultSuite&) {
        return quoted(copyOf("garbage.mpg", faultFolder(L"Garbage") + L"\\garbage.mpg"));
    });
    add("MediaTextRenamedToMpg", [](FaultSuite&) {
        const std::wstring path = faultFolder(L"Text") + L"\\notes.mpg";
        std::ofstream(path.c_str()) << "not a video, only a few words of text\n";
        return quoted(path);
    });
    // A download still under way: a file of zeros under a video's name that libvlc reads at time 0 for as
    // long as more keeps coming, here a pipe the row holds open. The player gives up on it, stops (it is
    // the folder's last), and steps on at once; a skip waits about 2 s for it to start.
    // The pipe, and the libvlc calls that tell when a skip has happened (a player started now logs them).
    struct Unfinished {
        FedPipe pipe{faultFolder(L"Unfinished") + L"\\unfinished.mkv"};
        std::wstring calls = faultFolder(L"Unfinished calls") + L"\\libvlc.log";
        standincalls::Recording recording{calls};
    };
    auto unfinished = std::make_shared<std::unique_ptr<Unfinished>>();
    add(
        "MediaUnfinishedDownloadInAFolder",
        [unfinished](FaultSuite& t) {
            const std::wstring folder = faultFolder(L"Unfinished");
            copyOf("long.mpg", folder + L"\\a.mpg");
            copyOf("folder/b.mpg", folder + L"\\b.mpg");
            DeleteFileW((faultFolder(L"Unfinished calls") + L"\\libvlc.log").c_str());
            *unfinished = std::make_unique<Unfinished>();
            // Its first bytes are there for each time it is opened (the library reads them before it plays).
            EXPECT_TRUE((*unfinished)->pipe.ready() && (*unfinished)->pipe.feed(FedPipe::kBuffer, 5000));
            t.later([unfinished] { unfinished->reset(); });
            return quoted((*unfinished)->pipe.path());
        },
        [unfinished](FaultSuite& t) {
            EXPECT_TRUE(t.waitForTitle(titleFor(L"unfinished.mkv")));
            EXPECT_TRUE(t.waitForTitle(kProductTitle, 15000)) << "the file that never starts still plays";
            EXPECT_TRUE(t.waitForSlots(IDC_BTN_OPEN, IDC_BTN_PLAY));
            t.player_.postCommand(ID_NEXT);
            EXPECT_TRUE(t.waitForTitle(titleFor(L"a.mpg")));
            EXPECT_TRUE(t.waitForTimeTextChanges(2));  // a skip before a file's time moves is ignored...
            EXPECT_TRUE((*unfinished)->pipe.feed(FedPipe::kBuffer, 5000));
            t.player_.postCommand(ID_PREVIOUS);
            EXPECT_TRUE(t.waitForTitle(titleFor(L"unfinished.mkv")));
            // ...for 8 ticks (2.1 s) of a file at time 0, counted from the tick that showed its name.
            // Previous is pressed until the library is given b.mpg, each press handled before the next: a
            // press after that would move on from b.mpg, which starts at once.
            const ULONGLONG shown = GetTickCount64();
            const std::string bCall =
                "set_media " + testtext::toUtf8(faultFolder(L"Unfinished") + L"\\b.mpg");
            EXPECT_TRUE(waitUntil(
                [&] {
                    t.player_.sendCommand(ID_PREVIOUS);
                    return standincalls::read((*unfinished)->calls).find(bCall) != std::string::npos;
                },
                8000, 100))
                << "Previous never left the file that never starts";
            const ULONGLONG waited = GetTickCount64() - shown;
            EXPECT_GE(waited, 1500u) << "Previous did not wait for the file to start";
            EXPECT_LE(waited, 4000u) << "Previous waited for the file that never starts";
            EXPECT_TRUE(t.waitForTitle(titleFor(L"b.mpg")));
        });
    add(
        "MediaFolderOf3000WithBrokenOnes", [](FaultSuite&) { return quoted(bigFolder() + L"\\f0000.mpg"); },
        [](FaultSuite& t) {
            EXPECT_TRUE(t.waitForTitle(titleFor(L"f0000.mpg"), 10000));
            for (UINT command :
                 {ID_NEXT, ID_NEXT, ID_NEXT, ID_PREVIOUS, ID_PREVIOUS, ID_PREVIOUS, ID_PREVIOUS}) {
                t.player_.postCommand(command);
                EXPECT_TRUE(t.waitForQueue());
            }
        });
    add(
        "MediaDeletedWhilePlaying",
        [](FaultSuite&) { return quoted(copyOf("long.mpg", faultFolder(L"Deleted") + L"\\doomed.mpg")); },
        [](FaultSuite& t) {
            EXPECT_TRUE(t.waitForTitle(titleFor(L"doomed.mpg")));
            const std::wstring path = faultFolder(L"Deleted") + L"\\doomed.mpg";
            waitUntil([&] { return DeleteFileW(path.c_str()) != FALSE; }, 3000, 100);
            for (UINT command : {ID_MOVE_FORWARD, ID_PAUSE, ID_PLAY, ID_STOP, ID_PLAY, ID_NEXT}) {
                t.player_.postCommand(command);
                EXPECT_TRUE(t.waitForQueue());
            }
        });
    add(
        "MediaFolderEmptiedWhileInUse",
        [](FaultSuite&) {
            const std::wstring folder = faultFolder(L"Emptied");
            for (const char* name : {"a.mpg", "b.mpg", "c.mpg"}) {
                copyOf((std::string("folder/") + name).c_str(),
                       folder + L"\\" + std::wstring(name, name + 5));
            }
            return quoted(folder + L"\\a.mpg");
        },
        [](FaultSuite& t) {
            EXPECT_TRUE(t.waitForTitle(titleFor(L"a.mpg")));
            const std::wstring folder = faultFolder(L"Emptied");
            waitUntil(
                [&] {
                    bool all = true;
                    for (const wchar_t* name : {L"\\a.mpg", L"\\b.mpg", L"\\c.mpg"}) {
                        const std::wstring path = folder + name;
                        all = (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) && all;
                    }
                    return all;
                },
                3000, 100);
            for (UINT command : {ID_NEXT, ID_PREVIOUS, ID_NEXT, ID_NEXT, ID_PREVIOUS}) {
                t.player_.postCommand(command);
                EXPECT_TRUE(t.waitForQueue());
            }
        });

    // A first copy that hangs, and a stale handle naming another program's window that answers.
    add("HungFirstCopy", [](FaultSuite& t) {
        // Created on this thread, which takes no messages while the player starts: a copy that hangs.
        const HWND hung = CreateWindowExW(0, L"STATIC", L"Hung copy", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                          nullptr, nullptr, nullptr, nullptr);
        const DWORD handle = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hung));
        t.writeValue(kHandleValue, REG_DWORD, bytesOf(&handle, sizeof(handle)));
        t.later([hung] { DestroyWindow(hung); });
        return quoted(videoPath(L"a.mpg"));
    });
    add("StaleHandleOfAnotherProgram", [](FaultSuite& t) {
        auto other = std::make_shared<AnsweringWindow>();
        const DWORD handle = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(other->window()));
        t.writeValue(kHandleValue, REG_DWORD, bytesOf(&handle, sizeof(handle)));
        t.later([other] {});
        return quoted(videoPath(L"a.mpg"));
    });

    // A thousand mixed commands and keys while the stand-in streams its time events.
    add(
        "ThousandMixedCommands",
        [](FaultSuite&) {
            const std::wstring folder = faultFolder(L"Mixed");
            copyOf("folder/a.mpg", folder + L"\\a.mpg");
            copyOf("folder/b.mpg", folder + L"\\b.mpg");
            return quoted(copyOf("long.mpg", folder + L"\\long.mpg"));
        },
        [](FaultSuite& t) {
            const UINT commands[] = {
                ID_PLAY,        ID_PAUSE, ID_STOP,     ID_MOVE_FORWARD, ID_MOVE_BACKWARD,    ID_VOLUME_UP,
                ID_VOLUME_DOWN, ID_NEXT,  ID_PREVIOUS, ID_FULLSCREEN,   ID_LEAVE_FULLSCREEN, ID_MUTE};
            const UINT keys[] = {VK_SPACE, VK_LEFT, VK_RIGHT, VK_UP,     VK_DOWN,
                                 VK_PRIOR, VK_NEXT, 'F',      VK_ESCAPE, 'M'};
            std::mt19937 random(11);
            for (int i = 0; i < 1000; ++i) {
                const unsigned pick = random() % (std::size(commands) + std::size(keys));
                if (pick < std::size(commands)) {
                    t.player_.postCommand(commands[pick]);
                } else {
                    t.player_.sendKey(keys[pick - std::size(commands)]);
                }
                if (i % 10 == 0) {
                    Sleep(15);
                }
                // Every hundred, the about box comes up once the player has worked through the queue:
                // each toggle is real work (a restyled window, a paused session), done in turn.
                if (i % 100 == 99) {
                    ASSERT_TRUE(t.waitForQueue(30000)) << "after " << i + 1 << " commands";
                }
            }
            t.player_.postCommand(ID_LEAVE_FULLSCREEN);
        });

    // Closing at awkward moments.
    const auto longClip = [](FaultSuite&) { return quoted(longClipPath()); };
    add("CloseWhilePlaying", longClip,
        [](FaultSuite& t) { EXPECT_TRUE(t.waitForTitle(titleFor(L"long.mpg"))); });
    add("CloseWithTheOpenDialogUp", longClip, [](FaultSuite& t) {
        t.player_.postCommand(ID_FILE_OPEN);
        EXPECT_NE(t.player_.waitForDialog(isOpenDialog, 5000), nullptr);
    })->closeWithDialogUp = true;
    add("CloseWithTheAboutBoxUp", longClip, [](FaultSuite& t) {
        t.player_.postCommand(ID_HELP_ABOUT);
        EXPECT_NE(t.player_.waitForDialog(isAboutBox, 5000), nullptr);
    })->closeWithDialogUp = true;
    add(
        "CloseWithTheLoadFailureUpAtStart",
        [](FaultSuite& t) {
            // The handle of a copy that may still run: a window closed before it was published keeps it.
            const DWORD earlier = 0x00012345;
            t.writeValue(kHandleValue, REG_DWORD, bytesOf(&earlier, sizeof(earlier)));
            t.later([earlier] {
                EXPECT_EQ(testregistry::read(kHandleValue).bytes, bytesOf(&earlier, sizeof(earlier)));
            });
            return quoted(textFilePath());
        },
        [](FaultSuite& t) { EXPECT_NE(t.player_.waitForMessageBox(kLoadFailure, 8000), nullptr); })
        ->closeWithDialogUp = true;
    add("CloseWithTheLoadFailureUpAfterAHandOver", longClip, [](FaultSuite& t) {
        EXPECT_TRUE(t.waitForTitle(titleFor(L"long.mpg")));
        t.handOver(textFilePath());
        EXPECT_NE(t.player_.waitForMessageBox(kLoadFailure, 8000), nullptr);
    })->closeWithDialogUp = true;
    add("CloseWhileTheTimeSliderIsDragged", longClip, [](FaultSuite& t) {
        ASSERT_TRUE(t.waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
        const POINT middle = centreOf(t.barControlOnScreen(IDC_TIME_SLIDER));
        t.mouseAt(middle, {MOUSEEVENTF_LEFTDOWN});
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        const DWORD threadId = GetWindowThreadProcessId(t.player_.window(), nullptr);
        EXPECT_TRUE(waitUntil(
            [&] { return GetGUIThreadInfo(threadId, &thread) && thread.hwndCapture != nullptr; }, 3000))
            << "the time slider did not take the mouse";
        t.later([] { pressMouse({MOUSEEVENTF_LEFTUP}); });
        Sleep(300);
        SetCursorPos(middle.x + 30, middle.y);
        Sleep(300);
    });
    return rows;
}

TEST_P(FaultSuite, EndsWithoutCrashOrHangAndKeepsThePlacement) {
    const FaultRow& row = GetParam();
    if (!row.ownPlacement) {
        writeValue(kPlacementValue, REG_BINARY, bytesOf(&kKnownPlacement, sizeof(kKnownPlacement)));
    }
    const std::wstring tail = row.arrange(*this);
    ++totals.rows;
    ASSERT_TRUE(launch(player_, tail)) << "CreateProcess failed, error " << GetLastError();
    bool hang = !player_.waitForWindow(20000) && player_.running();
    bool endedEarly = !hang && !player_.running();
    if (!hang && !endedEarly) {
        const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        const RECT screen{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        EXPECT_TRUE(waitUntil(
            [&] {
                RECT frame{}, seen{};
                GetWindowRect(player_.window(), &frame);
                return IsWindowVisible(player_.window()) && IntersectRect(&seen, &frame, &screen);
            },
            5000))
            << "the window is not shown on the screen";
        if (row.act) {
            row.act(*this);
        }
        hang = !answers();
        endedEarly = !player_.running();
    }
    const bool unanswered = hang;
    std::string windowsLeft;
    for (HWND window : topLevelWindows(player_.processId(), L"")) {
        if (IsWindowVisible(window)) {
            const std::wstring text = classNameOf(window) + L" \"" + windowText(window) + L"\"";
            windowsLeft += " " + std::string(text.begin(), text.end());
        }
    }
    DWORD code = 0;
    bool exited = false;
    if (!hang && !endedEarly) {
        if (!row.closeWithDialogUp) {
            dismissDialogs();
        }
        player_.requestClose();
        exited = player_.waitForExit(15000, &code);
        hang = !exited;
    } else {
        exited = player_.waitForExit(0, &code);
    }
    runCleanups();
    const bool crash = endedEarly || (exited && code != 0);
    const auto placement = testregistry::read(kPlacementValue);
    const bool kept = row.ownPlacement
                          ? validPlacement(placement)
                          : placement.bytes == bytesOf(&kKnownPlacement, sizeof(kKnownPlacement)) &&
                                placement.type == REG_BINARY;
    totals.crashes += crash;
    totals.hangs += hang;
    totals.lostPlacements += !kept;

    EXPECT_FALSE(hang) << (unanswered ? "the player stopped answering"
                                      : "the player did not end within 15 s of the close")
                       << "; its windows:" << windowsLeft;
    EXPECT_FALSE(endedEarly) << "the player ended before it was closed, exit code " << code;
    EXPECT_EQ(code, 0u) << "exit code after the close";
    EXPECT_TRUE(kept) << "\"MAIN_WP\" after the run: type " << placement.type << ", "
                      << placement.bytes.size() << " bytes"
                      << (row.ownPlacement ? "" : ", not the placement written before");
}

INSTANTIATE_TEST_SUITE_P(Rows, FaultSuite, ::testing::ValuesIn(FaultSuite::table()),
                         [](const ::testing::TestParamInfo<FaultRow>& info) { return info.param.name; });

}  // namespace
}  // namespace e2e
