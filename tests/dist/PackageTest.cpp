// The packages as a user gets them: each installer installed silently into a folder with blanks, for
// the current user and for everyone; the installed player plays a clip with libvlc taken from where an
// installed VLC of its own bitness is; the uninstaller removes what was installed and leaves the
// player's own registry values. The zips run from a folder whose name isn't ASCII, and a 32-bit and a
// 64-bit copy hand files to each other.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "VelmoraVersion.h"
#include "common/TempFolder.h"
#include "common/TestClips.h"
#include "common/TestRegistry.h"
#include "e2e/PlayerProcess.h"
#include "playback/MediaFormats.h"

namespace {

using e2e::PlayerProcess;
using e2e::waitUntil;
using testregistry::keyExists;
using testregistry::readString;

constexpr wchar_t kVlcKey[] = L"SOFTWARE\\VideoLAN\\VLC";
constexpr wchar_t kMpgClass[] = L"Software\\Classes\\.mpg";
constexpr wchar_t kUsersOwnPlayer[] = L"SomeOtherPlayer.mpg";
const std::wstring kApplicationKey = L"Software\\Classes\\Applications\\VelmoraPlayer.exe";
// The shell's file types live in its registry view: 64-bit here, whatever the player's bitness.
constexpr REGSAM kShellView = KEY_WOW64_64KEY;
// Clips that play longer than a test looks, and one alone in its folder, so that no player moves on to
// another file while a test watches its title.
constexpr char kLongClip[] = "long.mpg";
constexpr char kLoneClip[] = "bars/bars.mpg";

struct Package {
    const wchar_t* arch;       // as in the package's name
    const wchar_t* name;       // in Apps & features and the Start menu
    REGSAM view;               // the registry view of its bitness
    const wchar_t* vlcFolder;  // where VLC of its bitness installs
    const char* standin;       // the libvlc stand-in of its bitness
    const wchar_t* progId;     // its file types are this, a dot and the extension
};

const Package kPackages[] = {
    {L"win32", L"Velmora Player", KEY_WOW64_32KEY, L"C:\\Program Files (x86)\\VideoLAN\\VLC",
     VELMORA_STANDIN32, L"VelmoraPlayer"},
    {L"win64", L"Velmora Player (64-bit)", KEY_WOW64_64KEY, L"C:\\Program Files\\VideoLAN\\VLC",
     VELMORA_STANDIN64, L"VelmoraPlayer64"},
};

std::wstring ascii(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::string nameOf(const Package* package) {
    const std::wstring arch = package->arch;
    return std::string(arch.begin(), arch.end());
}

std::wstring packageStem(const Package& package) {
    return L"VelmoraPlayer-" + ascii(VELMORA_VERSION_TEXT) + L"-" + package.arch;
}

std::wstring unpackedExe(const Package& package) {
    return testclips::windowsPath(VELMORA_UNZIP_DIR) + L"\\" + packageStem(package) + L"\\VelmoraPlayer.exe";
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring titleFor(const std::string& clip) {
    return L"Velmora Player - " + ascii(clip.substr(clip.rfind('/') + 1));
}

// The player's own values: the placement and the hand-off, as the type and bytes each has.
std::vector<std::pair<DWORD, std::vector<BYTE>>> playersValues() {
    std::vector<std::pair<DWORD, std::vector<BYTE>>> values;
    for (const wchar_t* name :
         {testregistry::kPlacementValue, testregistry::kHandleValue, testregistry::kNewFileValue}) {
        const auto value = testregistry::read(name);
        values.emplace_back(value.type, value.bytes);
    }
    return values;
}

// A player started with a file plays it: the title names it, and libvlc (the stand-in, logging to a
// file) was asked to play.
::testing::AssertionResult startPlaying(PlayerProcess& player, const std::wstring& exe) {
    static const TempFolder folder;  // kept while the players it is given to run
    const std::wstring log = folder.path() + L"velmora-package.log";
    DeleteFileW(log.c_str());
    if (!player.start(exe, quoted(testclips::path(kLongClip)), {{L"VELMORA_LIBVLC_STANDIN_LOG", log}}) ||
        !player.waitForWindow(20000)) {
        return ::testing::AssertionFailure() << "no main window";
    }
    if (!waitUntil([&] { return player.title() == titleFor(kLongClip); }, 10000) ||
        !waitUntil([&] { return readAll(log).find("\nplay\n") != std::string::npos; }, 10000)) {
        return ::testing::AssertionFailure() << "not playing; libvlc heard: " << readAll(log);
    }
    return ::testing::AssertionSuccess();
}

class PackageTest : public ::testing::Test {
protected:
    // VLC of each bitness "installed": the stand-in in its folder, named in the registry view of its
    // bitness. A player reading the other view finds a library it can't load.
    static void SetUpTestSuite() {
        for (const Package& package : kPackages) {
            SHCreateDirectoryExW(nullptr, package.vlcFolder, nullptr);
            CopyFileW(testclips::windowsPath(package.standin).c_str(),
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
};

// ---------------------------------------------------------------------------------------------------
// The installers, for the current user and for everyone

class Installer : public PackageTest, public ::testing::WithParamInterface<std::pair<const Package*, bool>> {
protected:
    void SetUp() override {
        PackageTest::SetUp();
        const bool forEveryone = GetParam().second;
        root_ = forEveryone ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        mode_ = forEveryone ? L"/AllUsers" : L"/CurrentUser";
        folder_ = std::wstring(L"C:\\Velmora Tests\\") + package().arch + L" " + mode_.substr(1) +
                  L"\\Velmora Player";
        wchar_t programs[MAX_PATH] = L"";
        SHGetFolderPathW(nullptr, forEveryone ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, nullptr, 0, programs);
        shortcut_ = programs + (L"\\" + std::wstring(package().name) + L".lnk");
        uninstallKey_ =
            L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::wstring(package().name);
        // No entry of an earlier run that failed halfway may pass for this one's.
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            testregistry::removeKey(root, package().view, uninstallKey_);
        }
    }
    const Package& package() const { return *GetParam().first; }

    // For every extension the player accepts: the "Open with" verb and its place in the Open-with lists,
    // the player's file type and the registered application's association; each there with the given
    // command after the install, or all gone after the uninstall. No extension's default is set.
    void expectFileTypes(const std::wstring& command) const {
        const bool installed = !command.empty();
        const std::wstring none = L"<none>";
        const std::wstring capabilities =
            L"Software\\Clients\\Media\\" + std::wstring(package().name) + L"\\Capabilities";
        EXPECT_EQ(readString(root_, kShellView, L"Software\\RegisteredApplications", package().name),
                  installed ? capabilities : none);
        EXPECT_EQ(readString(root_, kShellView, capabilities, L"ApplicationName"),
                  installed ? package().name : none);
        EXPECT_EQ(keyExists(root_, kShellView, capabilities), installed);
        EXPECT_EQ(readString(root_, kShellView, kApplicationKey + L"\\shell\\open\\command", nullptr),
                  installed ? command : none);
        for (const mediaformats::MediaExtension& entry : mediaformats::kMediaExtensions) {
            const std::wstring extension = L"." + std::wstring(entry.name);
            const std::wstring progId = package().progId + extension;
            SCOPED_TRACE(testing::PrintToString(extension));
            const std::wstring verb =
                L"Software\\Classes\\SystemFileAssociations\\" + extension + L"\\shell\\" + package().name;
            EXPECT_EQ(readString(root_, kShellView, verb, nullptr),
                      installed ? L"Open with Velmora Player" : none);
            EXPECT_EQ(readString(root_, kShellView, verb + L"\\command", nullptr),
                      installed ? command : none);
            EXPECT_EQ(readString(root_, kShellView, kApplicationKey + L"\\SupportedTypes", extension.c_str()),
                      installed ? L"" : none);
            const std::wstring type = L"Software\\Classes\\" + extension;
            EXPECT_EQ(keyExists(root_, kShellView, type + L"\\OpenWithList\\VelmoraPlayer.exe"), installed);
            EXPECT_EQ(readString(root_, kShellView, type + L"\\OpenWithProgids", progId.c_str()),
                      installed ? L"" : none);
            EXPECT_EQ(readString(root_, kShellView,
                                 L"Software\\Classes\\" + progId + L"\\shell\\open\\command", nullptr),
                      installed ? command : none);
            EXPECT_EQ(readString(root_, kShellView, capabilities + L"\\FileAssociations", extension.c_str()),
                      installed ? progId : none);
            if (extension != L".mpg") {
                EXPECT_EQ(readString(root_, kShellView, type, nullptr), none) << "a default was set";
            }
        }
        EXPECT_EQ(readString(HKEY_CURRENT_USER, 0, kMpgClass, nullptr), kUsersOwnPlayer);
    }

    HKEY root_ = nullptr;
    std::wstring mode_, folder_, shortcut_, uninstallKey_;
};

TEST_P(Installer, InstallsPlaysAndUninstallsLeavingThePlayersValues) {
    const std::wstring exe = folder_ + L"\\VelmoraPlayer.exe";
    {
        PlayerProcess setup;
        DWORD code = 1;
        ASSERT_TRUE(
            setup.start(testclips::windowsPath(VELMORA_DIST_DIR) + L"\\" + packageStem(package()) + L".exe",
                        L"/S " + mode_ + L" /D=" + folder_, {}) &&
            setup.waitForExit(120000, &code));
        ASSERT_EQ(code, 0u);
    }
    for (const wchar_t* file : {L"VelmoraPlayer.exe", L"libads.dll", L"ReadMe.txt", L"Uninstall.exe"}) {
        EXPECT_TRUE(fileExists(folder_ + L"\\" + file)) << testing::PrintToString(std::wstring(file));
    }
    EXPECT_TRUE(fileExists(shortcut_));
    // Apps & features: where the install mode puts it, in the view of the package's bitness only.
    EXPECT_EQ(readString(root_, package().view, uninstallKey_, L"DisplayName"), package().name);
    EXPECT_EQ(readString(root_, package().view, uninstallKey_, L"QuietUninstallString"),
              quoted(folder_ + L"\\Uninstall.exe") + L" " + mode_ + L" /S");
    EXPECT_FALSE(
        keyExists(HKEY_LOCAL_MACHINE, package().view ^ (KEY_WOW64_32KEY | KEY_WOW64_64KEY), uninstallKey_));
    EXPECT_EQ(keyExists(HKEY_LOCAL_MACHINE, package().view, uninstallKey_), root_ == HKEY_LOCAL_MACHINE);
    // "Open with" and the choice of default for every accepted extension; the user's default player stays.
    expectFileTypes(quoted(exe) + L" \"%1\"");

    {
        PlayerProcess player;
        ASSERT_TRUE(startPlaying(player, exe));
        ASSERT_TRUE(player.requestClose() && player.waitForExit(10000));
    }
    // The path another start hands over, beside the placement and handle the player left.
    const std::wstring handed = testclips::path(kLoneClip);
    testregistry::write(testregistry::kNewFileValue, REG_SZ, handed.c_str(),
                        static_cast<DWORD>((handed.size() + 1) * sizeof(wchar_t)));
    const auto kept = playersValues();
    for (const auto& value : kept) {
        ASSERT_FALSE(value.second.empty()) << "the player left no value to keep";
    }

    // As Apps & features runs it: the uninstaller copies itself away and returns at once.
    PlayerProcess uninstaller;
    ASSERT_TRUE(uninstaller.start(folder_ + L"\\Uninstall.exe", mode_ + L" /S", {}));
    EXPECT_TRUE(waitUntil([&] { return !fileExists(folder_); }, 60000, 100)) << "the folder stays";
    EXPECT_FALSE(fileExists(shortcut_));
    EXPECT_FALSE(keyExists(root_, package().view, uninstallKey_));
    expectFileTypes(L"");
    EXPECT_FALSE(keyExists(root_, kShellView, kApplicationKey));
    EXPECT_EQ(playersValues(), kept);
}

INSTANTIATE_TEST_SUITE_P(
    Packages, Installer,
    ::testing::Values(std::make_pair(&kPackages[0], false), std::make_pair(&kPackages[0], true),
                      std::make_pair(&kPackages[1], false), std::make_pair(&kPackages[1], true)),
    [](const auto& info) {
        return nameOf(info.param.first) + (info.param.second ? "_ForEveryone" : "_ForMe");
    });

// ---------------------------------------------------------------------------------------------------
// The zips, unpacked into a folder whose name isn't ASCII

class Zip : public PackageTest, public ::testing::WithParamInterface<const Package*> {};

TEST_P(Zip, RunsFromAFolderWithANonAsciiName) {
    const std::wstring exe = unpackedExe(*GetParam());
    const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
    EXPECT_TRUE(fileExists(folder + L"\\libads.dll"));
    const std::string readme = readAll(folder + L"\\ReadMe.txt");
    EXPECT_NE(readme.find("libvlc.dll"), std::string::npos);
    EXPECT_NE(readme.find("Space           play / pause\r\n"), std::string::npos)
        << "the keys, in Windows lines";
    PlayerProcess player;
    EXPECT_TRUE(startPlaying(player, exe));
}

// With no libvlc of its own bitness anywhere (only the other bitness's VLC installed), a file can't be
// played, and the player says so.
TEST_P(Zip, WithoutAVlcOfItsBitnessSaysItCouldNotLoadTheFile) {
    const Package& package = *GetParam();
    testregistry::removeKey(HKEY_LOCAL_MACHINE, package.view, kVlcKey);
    PlayerProcess player;
    const bool started = player.start(unpackedExe(package), quoted(testclips::path(kLongClip)), {}) &&
                         player.waitForWindow(20000);
    const HWND box = started ? player.waitForMessageBox(L"Could not load the file", 10000) : nullptr;
    testregistry::writeString(HKEY_LOCAL_MACHINE, package.view, kVlcKey, L"InstallDir", package.vlcFolder);
    ASSERT_TRUE(started);
    EXPECT_NE(box, nullptr) << "no \"Could not load the file\"";
}

INSTANTIATE_TEST_SUITE_P(Packages, Zip, ::testing::Values(&kPackages[0], &kPackages[1]),
                         [](const auto& info) { return nameOf(info.param); });

// A copy of one bitness running, a start of the other with a file: the file goes to the running copy.
class HandOffAcrossBitness : public PackageTest,
                             public ::testing::WithParamInterface<std::pair<const Package*, const Package*>> {
};

TEST_P(HandOffAcrossBitness, TheSecondStartHandsItsFileToTheRunningCopy) {
    PlayerProcess running, second;
    ASSERT_TRUE(startPlaying(running, unpackedExe(*GetParam().first)));
    ASSERT_TRUE(second.start(unpackedExe(*GetParam().second), quoted(testclips::path(kLoneClip)), {}));
    DWORD code = 1;
    ASSERT_TRUE(second.waitForExit(15000, &code)) << "the second start did not end";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(waitUntil([&] { return running.title() == titleFor(kLoneClip); }, 10000))
        << testing::PrintToString(running.title());
}

INSTANTIATE_TEST_SUITE_P(Packages, HandOffAcrossBitness,
                         ::testing::Values(std::make_pair(&kPackages[0], &kPackages[1]),
                                           std::make_pair(&kPackages[1], &kPackages[0])),
                         [](const auto& info) {
                             return nameOf(info.param.first) + "_to_" + nameOf(info.param.second);
                         });

}  // namespace
