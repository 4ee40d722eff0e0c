// The packages as a user gets them: each installer installed silently into a folder with blanks, for
// the current user and for everyone; the installed player plays a clip with libvlc taken from where an
// installed VLC of its own bitness is; the uninstaller removes what was installed and leaves the
// player's own registry values. The zips run from a folder whose name isn't ASCII, and a 32-bit and a
// 64-bit copy hand files to each other.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "VelmoraVersion.h"
#include "common/TestClips.h"
#include "common/TestRegistry.h"
#include "e2e/PlayerProcess.h"

namespace {

using e2e::PlayerProcess;
using e2e::waitUntil;

constexpr wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr wchar_t kVlcKey[] = L"SOFTWARE\\VideoLAN\\VLC";
constexpr wchar_t kMpgClass[] = L"Software\\Classes\\.mpg";
constexpr wchar_t kUsersOwnPlayer[] = L"SomeOtherPlayer.mpg";

struct Package {
    const char* arch;          // as in the package's name
    const wchar_t* name;       // shown in Apps & features, the Start menu and the folder's default name
    REGSAM view;               // the registry view of its bitness
    const wchar_t* vlcFolder;  // where its bitness of VLC installs
    const char* standin;       // the libvlc stand-in of its bitness
};

const Package kPackages[] = {
    {"win32", L"Velmora Player", KEY_WOW64_32KEY, L"C:\\Program Files (x86)\\VideoLAN\\VLC",
     VELMORA_STANDIN32},
    {"win64", L"Velmora Player (64-bit)", KEY_WOW64_64KEY, L"C:\\Program Files\\VideoLAN\\VLC",
     VELMORA_STANDIN64},
};

std::wstring widen(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    return wide;
}

std::wstring windowsPath(const char* unixPath) {
    std::wstring path = L"Z:" + widen(unixPath);
    for (wchar_t& c : path) {
        c = c == L'/' ? L'\\' : c;
    }
    return path;
}

std::wstring packagePath(const Package& package, const char* extension) {
    return windowsPath(VELMORA_DIST_DIR) + L"\\VelmoraPlayer-" + widen(VELMORA_VERSION_TEXT) + L"-" +
           widen(package.arch) + widen(extension);
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring knownFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Clips that play for longer than a test looks, and one alone in its folder, so that no player moves
// on to another file while a test watches its title.
constexpr char kLongClip[] = "long.mpg";
constexpr char kLoneClip[] = "bars/bars.mpg";

std::wstring clip(const char* name) {
    return testclips::path(name);
}

std::wstring titleFor(const char* clipName) {
    const std::string name = clipName;
    return L"Velmora Player - " + widen(name.substr(name.rfind('/') + 1));
}

std::string readAll(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a program with the command tail and waits for it; its exit code, or -1 if it didn't end.
long runToEnd(const std::wstring& exe, const std::wstring& tail, DWORD timeoutMs = 120000) {
    PlayerProcess process;
    DWORD code = 0;
    if (!process.start(exe, tail, {}, timeoutMs + 5000) || !process.waitForExit(timeoutMs, &code)) {
        return -1;
    }
    return static_cast<long>(code);
}

// A player started with a file plays it: the title names it, and libvlc (the stand-in, logging to
// logPath) was asked to play.
::testing::AssertionResult startPlaying(PlayerProcess& player, const std::wstring& exe, const char* clipName,
                                        const std::wstring& logPath) {
    DeleteFileW(logPath.c_str());
    if (!player.start(exe, L"\"" + clip(clipName) + L"\"", {{L"VELMORA_LIBVLC_STANDIN_LOG", logPath}})) {
        return ::testing::AssertionFailure() << "could not start " << std::string(exe.begin(), exe.end());
    }
    if (!player.waitForWindow(20000)) {
        return ::testing::AssertionFailure() << "no main window";
    }
    const std::wstring title = titleFor(clipName);
    if (!waitUntil([&] { return player.title() == title; }, 10000)) {
        return ::testing::AssertionFailure()
               << "title stays \"" << std::string(player.title().begin(), player.title().end()) << "\"";
    }
    if (!waitUntil([&] { return readAll(logPath).find("\nplay\r\n") != std::string::npos; }, 10000)) {
        return ::testing::AssertionFailure() << "libvlc was never asked to play: " << readAll(logPath);
    }
    return ::testing::AssertionSuccess();
}

class PackageTest : public ::testing::Test {
protected:
    // Every bitness of VLC "installed": the stand-in in its folder, named by the registry view of its
    // bitness. A player reading the wrong view finds a library it can't load.
    static void SetUpTestSuite() {
        for (const Package& package : kPackages) {
            SHCreateDirectoryExW(nullptr, package.vlcFolder, nullptr);
            CopyFileW(windowsPath(package.standin).c_str(),
                      (std::wstring(package.vlcFolder) + L"\\libvlc.dll").c_str(), FALSE);
            testregistry::writeString(HKEY_LOCAL_MACHINE, package.view, kVlcKey, L"InstallDir",
                                      package.vlcFolder);
        }
        // The user's own default player for .mpg files, which no install may take over.
        testregistry::writeString(HKEY_CURRENT_USER, 0, kMpgClass, nullptr, kUsersOwnPlayer);
    }

    void SetUp() override {
        testregistry::removeKey(testregistry::kPlacementKey);
        testregistry::removeKey(testregistry::kHandOffKey);
    }

    static std::wstring logPath(const char* name) {
        wchar_t folder[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, folder);
        return folder + widen(name) + L".log";
    }
};

// ---------------------------------------------------------------------------------------------------
// The installers

struct InstallCase {
    const Package* package;
    bool forEveryone;
};

class Installer : public PackageTest, public ::testing::WithParamInterface<InstallCase> {
protected:
    // No entry of an earlier run that failed halfway may pass for this one's.
    void SetUp() override {
        PackageTest::SetUp();
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            testregistry::removeKey(root, view(), uninstallKey());
        }
    }

    HKEY root() const { return GetParam().forEveryone ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
    REGSAM view() const { return GetParam().package->view; }
    std::wstring uninstallKey() const { return kUninstallRoot + std::wstring(GetParam().package->name); }
    std::wstring folder() const {
        return std::wstring(L"C:\\Velmora Tests\\") + widen(GetParam().package->arch) +
               (GetParam().forEveryone ? L" for everyone" : L" for me") + L"\\Velmora Player";
    }
    std::wstring shortcut() const {
        return knownFolder(GetParam().forEveryone ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) + L"\\" +
               GetParam().package->name + L".lnk";
    }
    // The shell's file types, in its registry view (64-bit Windows here) whatever the player's bitness.
    static constexpr REGSAM kShellView = KEY_WOW64_64KEY;
    std::wstring openWithVerb() const {
        return std::wstring(L"Software\\Classes\\SystemFileAssociations\\.mpg\\shell\\") +
               GetParam().package->name;
    }
};

TEST_P(Installer, InstallsPlaysAndUninstallsLeavingThePlayersValues) {
    const Package& package = *GetParam().package;
    const std::wstring mode = GetParam().forEveryone ? L"/AllUsers" : L"/CurrentUser";
    const std::wstring exe = folder() + L"\\VelmoraPlayer.exe";
    ASSERT_EQ(runToEnd(packagePath(package, ".exe"), L"/S " + mode + L" /D=" + folder()), 0);

    for (const wchar_t* file : {L"VelmoraPlayer.exe", L"libads.dll", L"ReadMe.txt", L"Uninstall.exe"}) {
        EXPECT_TRUE(fileExists(folder() + L"\\" + file))
            << "missing " << std::string(file, file + wcslen(file));
    }
    EXPECT_TRUE(fileExists(shortcut()));
    // Apps & features, in the install's own part of the registry and its bitness's view.
    EXPECT_EQ(testregistry::readString(root(), view(), uninstallKey(), L"DisplayName"), package.name);
    const std::wstring quietUninstall =
        testregistry::readString(root(), view(), uninstallKey(), L"QuietUninstallString");
    EXPECT_EQ(quietUninstall, L"\"" + folder() + L"\\Uninstall.exe\" " + mode + L" /S");
    if (GetParam().forEveryone) {
        const REGSAM otherView = view() == KEY_WOW64_64KEY ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
        EXPECT_FALSE(testregistry::keyExists(root(), otherView, uninstallKey()));
    } else {
        EXPECT_FALSE(testregistry::keyExists(HKEY_LOCAL_MACHINE, view(), uninstallKey()));
    }
    // "Open with" for .mpg files, without taking the user's default player.
    EXPECT_EQ(testregistry::readString(root(), kShellView, openWithVerb(), nullptr),
              L"Open with Velmora Player");
    EXPECT_EQ(testregistry::readString(root(), kShellView, openWithVerb() + L"\\command", nullptr),
              L"\"" + exe + L"\" \"%1\"");
    EXPECT_EQ(testregistry::readString(HKEY_CURRENT_USER, 0, kMpgClass, nullptr), kUsersOwnPlayer);

    {
        PlayerProcess player;
        ASSERT_TRUE(startPlaying(player, exe, kLongClip, logPath(package.arch)));
        ASSERT_TRUE(player.requestClose());
        ASSERT_TRUE(player.waitForExit(10000));
    }
    // The values a running player keeps: the placement and the hand-off (the path as another start
    // leaves it).
    const std::wstring handedPath = clip(kLoneClip);
    testregistry::write(testregistry::kHandOffKey, L"MainFrame_NewFile", REG_SZ, handedPath.c_str(),
                        static_cast<DWORD>((handedPath.size() + 1) * sizeof(wchar_t)));
    const testregistry::Value kept[] = {testregistry::read(testregistry::kPlacementKey, L"MAIN_WP"),
                                        testregistry::read(testregistry::kHandOffKey, L"MainFrame_Handle"),
                                        testregistry::read(testregistry::kHandOffKey, L"MainFrame_NewFile")};
    for (const auto& value : kept) {
        ASSERT_FALSE(value.bytes.empty()) << "the player left no value to keep";
    }

    // As Apps & features runs it: the uninstaller copies itself away and returns at once.
    PlayerProcess uninstaller;
    ASSERT_TRUE(uninstaller.start(folder() + L"\\Uninstall.exe", mode + L" /S", {}, 120000));
    EXPECT_TRUE(waitUntil([&] { return !fileExists(folder()); }, 60000, 100)) << "the folder stays";
    EXPECT_FALSE(fileExists(shortcut()));
    EXPECT_FALSE(testregistry::keyExists(root(), view(), uninstallKey()));
    EXPECT_FALSE(testregistry::keyExists(root(), kShellView, openWithVerb()));
    EXPECT_FALSE(
        testregistry::keyExists(root(), kShellView, L"Software\\Classes\\Applications\\VelmoraPlayer.exe"));
    EXPECT_EQ(testregistry::readString(HKEY_CURRENT_USER, 0, kMpgClass, nullptr), kUsersOwnPlayer);
    const testregistry::Value after[] = {testregistry::read(testregistry::kPlacementKey, L"MAIN_WP"),
                                         testregistry::read(testregistry::kHandOffKey, L"MainFrame_Handle"),
                                         testregistry::read(testregistry::kHandOffKey, L"MainFrame_NewFile")};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(after[i].type, kept[i].type) << "value " << i;
        EXPECT_EQ(after[i].bytes, kept[i].bytes) << "value " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Packages, Installer,
    ::testing::Values(InstallCase{&kPackages[0], false}, InstallCase{&kPackages[0], true},
                      InstallCase{&kPackages[1], false}, InstallCase{&kPackages[1], true}),
    [](const auto& info) {
        return std::string(info.param.package->arch) + (info.param.forEveryone ? "_ForEveryone" : "_ForMe");
    });

// ---------------------------------------------------------------------------------------------------
// The zips, unpacked into a folder whose name isn't ASCII

std::wstring unpackedExe(const Package& package) {
    return windowsPath(VELMORA_UNZIP_DIR) + L"\\VelmoraPlayer-" + widen(VELMORA_VERSION_TEXT) + L"-" +
           widen(package.arch) + L"\\VelmoraPlayer.exe";
}

class Zip : public PackageTest, public ::testing::WithParamInterface<const Package*> {};

TEST_P(Zip, RunsFromAFolderWithANonAsciiName) {
    const std::wstring exe = unpackedExe(*GetParam());
    const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
    for (const wchar_t* file : {L"VelmoraPlayer.exe", L"libads.dll", L"ReadMe.txt"}) {
        EXPECT_TRUE(fileExists(folder + L"\\" + file))
            << "missing " << std::string(file, file + wcslen(file));
    }
    const std::string readme = readAll(folder + L"\\ReadMe.txt");
    EXPECT_NE(readme.find("libvlc.dll"), std::string::npos);
    EXPECT_NE(readme.find("Space           play / pause\r\n"), std::string::npos)
        << "the keys, in Windows lines";
    PlayerProcess player;
    EXPECT_TRUE(startPlaying(player, exe, kLongClip, logPath(GetParam()->arch)));
}

// With no libvlc of its own bitness anywhere (only the other bitness's VLC installed), a file can't be
// played, and the player says so.
TEST_P(Zip, WithoutAVlcOfItsBitnessSaysItCouldNotLoadTheFile) {
    const Package& package = *GetParam();
    testregistry::removeKey(HKEY_LOCAL_MACHINE, package.view, kVlcKey);
    PlayerProcess player;
    const bool started = player.start(unpackedExe(package), L"\"" + clip(kLongClip) + L"\"", {}) &&
                         player.waitForWindow(20000);
    const HWND box = started ? player.waitForMessageBox(L"Could not load the file", 10000) : nullptr;
    testregistry::writeString(HKEY_LOCAL_MACHINE, package.view, kVlcKey, L"InstallDir", package.vlcFolder);
    ASSERT_TRUE(started);
    EXPECT_NE(box, nullptr) << "no \"Could not load the file\"";
}

INSTANTIATE_TEST_SUITE_P(Packages, Zip, ::testing::Values(&kPackages[0], &kPackages[1]),
                         [](const auto& info) { return std::string(info.param->arch); });

// A copy of one bitness running, a start of the other with a file: the file goes to the running copy.
class HandOffAcrossBitness : public PackageTest,
                             public ::testing::WithParamInterface<std::pair<const Package*, const Package*>> {
};

TEST_P(HandOffAcrossBitness, TheSecondStartHandsItsFileToTheRunningCopy) {
    PlayerProcess running;
    ASSERT_TRUE(startPlaying(running, unpackedExe(*GetParam().first), kLongClip, logPath("running")));
    PlayerProcess second;
    ASSERT_TRUE(second.start(unpackedExe(*GetParam().second), L"\"" + clip(kLoneClip) + L"\"", {}));
    DWORD code = 1;
    ASSERT_TRUE(second.waitForExit(15000, &code)) << "the second start did not end";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(waitUntil([&] { return running.title() == titleFor(kLoneClip); }, 10000))
        << "the running copy's title: " << std::string(running.title().begin(), running.title().end());
}

INSTANTIATE_TEST_SUITE_P(Packages, HandOffAcrossBitness,
                         ::testing::Values(std::make_pair(&kPackages[0], &kPackages[1]),
                                           std::make_pair(&kPackages[1], &kPackages[0])),
                         [](const auto& info) {
                             return std::string(info.param.first->arch) + "_to_" + info.param.second->arch;
                         });

}  // namespace
