#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "playback/MediaFormats.h"
#include "playback/PlayListData.h"
#include "common/TempFolder.h"

namespace {

std::vector<std::wstring> pathsOf(const PlayListData& list) {
    std::vector<std::wstring> paths;
    for (const PlayListEntry& entry : list.entries()) {
        paths.push_back(entry.path);
    }
    return paths;
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return text;
}

}  // namespace

TEST(PathUtilities, FolderAndFileName) {
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"C:\\v\\b.mpg", L"C:\\v\\", L"b.mpg"},
        {L"C:\\b.mpg", L"C:\\", L"b.mpg"},
        {L"b.mpg", L"", L"b.mpg"},
        {L"C:\\v\\", L"C:\\v\\", L""},
        {L"\\\\server\\share\\x", L"\\\\server\\share\\", L"x"},
        {L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path " << std::wstring(c.path).size() << " units");
        EXPECT_EQ(folderOf(c.path), c.folder);
        EXPECT_EQ(fileNameOf(c.path), c.name);
    }
}

TEST(PlayListSupport, ExtensionTable) {
    struct Case {
        const wchar_t* path;
        bool supported;
    };
    const Case cases[] = {
        {L"C:\\v\\a.mpg", true},
        {L"C:\\v\\a.MPG", true},
        {L"C:\\v\\a.Mpg", true},
        // "mpg" anywhere after the last dot; every other extension only as a whole.
        {L"C:\\v\\a.mpga", true},
        {L"C:\\v\\a.mpg2", true},
        {L"C:\\v\\a.xmpg", true},
        {L"C:\\v\\a.mp4x", false},
        {L"C:\\v\\a.xmkv", false},
        {L"C:\\v\\a.m", false},
        {L"C:\\v\\a.", false},
        {L"C:\\v\\b.MPG.txt", false},
        {L"C:\\v\\b.mp4.part", false},
        {L"C:\\v\\noextension", false},
        {L"", false},
        // Flash media has no player.
        {L"C:\\v\\a.swf", false},
        {L"C:\\v\\a.fla", false},
        // The last '.' of the whole path counts, even when it lies in a folder name: "mpg\file" holds
        // "mpg", but "mp4\file" is not "mp4".
        {L"C:\\clips.mpg\\file", true},
        {L"C:\\clips.mp4\\file", false},
        {L"C:\\clips.mpg\\file.txt", false},
        // Only A..Z fold: a non-ASCII letter is compared as it is.
        {L"C:\\v\\a.mp\u0120", false},
        {L"C:\\v\\a.mk\u0130", false},
    };
    PlayListData list;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(list.isSupported(c.path), c.supported);
    }
    // Every accepted extension, in any letter case.
    for (const mediaformats::MediaExtension& entry : mediaformats::kMediaExtensions) {
        const std::wstring name = entry.name;
        std::wstring mixed = name;
        mixed[0] = upper(name.substr(0, 1))[0];
        for (const std::wstring& extension : {name, upper(name), mixed}) {
            SCOPED_TRACE(testing::Message() << "." << std::string(extension.begin(), extension.end()));
            EXPECT_TRUE(list.isSupported(L"C:\\v\\a." + extension));
        }
    }
    // Files people keep beside their videos, none of them media.
    for (const wchar_t* extension :
         {L"txt", L"srt",  L"ass",  L"sub", L"idx", L"nfo",  L"jpg", L"png",     L"gif",
          L"pdf", L"docx", L"xlsx", L"zip", L"7z",  L"exe",  L"dll", L"lnk",     L"ini",
          L"tsv", L"csv",  L"json", L"xml", L"htm", L"html", L"url", L"torrent", L"part"}) {
        const std::wstring name = extension;
        SCOPED_TRACE(testing::Message() << "." << std::string(name.begin(), name.end()));
        EXPECT_FALSE(list.isSupported(L"C:\\v\\a." + name));
        EXPECT_FALSE(list.isSupported(L"C:\\v\\a." + upper(name)));
    }
}

class PlayListFolder : public testing::Test {
protected:
    TempFolder folder;
    PlayListData list;
};

TEST_F(PlayListFolder, SkipsHiddenNamesFoldersAndOtherExtensions) {
    folder.addFiles({L"b.mpg", L"a.mpg", L"b.MPG.txt", L"c.Mpg", L".hidden.mpg"});
    folder.addFolder(L"sub.mpg");
    // Other formats join in; what lies beside them does not.
    folder.addFiles({L"song.MP3", L"clip.mkv", L"clip.srt", L"table.tsv"});
    const std::wstring& dir = folder.path();

    EXPECT_EQ(list.build(dir + L"b.mpg"), 5);
    EXPECT_EQ(pathsOf(list), (std::vector<std::wstring>{dir + L"a.mpg", dir + L"b.mpg", dir + L"c.Mpg",
                                                        dir + L"clip.mkv", dir + L"song.MP3"}));
    EXPECT_EQ(list.currentIndex(), 1);
    EXPECT_TRUE(list.canStep());
    EXPECT_EQ(list.entries()[0].current, 0u);
    EXPECT_EQ(list.entries()[2].current, 0u);
}

TEST_F(PlayListFolder, PathInOtherLetterCaseHasNoCurrentEntry) {
    folder.addFiles({L"a.mpg", L"b.mpg"});
    const std::wstring requested = upper(folder.path()) + L"B.MPG";

    EXPECT_EQ(list.build(requested), 2);
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_FALSE(list.canStep());
}

TEST_F(PlayListFolder, PathWithoutBackslashEmptiesTheList) {
    folder.addFiles({L"a.mpg", L"b.mpg"});
    ASSERT_EQ(list.build(folder.path() + L"a.mpg"), 2);

    EXPECT_EQ(list.build(L"a.mpg"), 0);
    EXPECT_EQ(list.count(), 0);
}

TEST_F(PlayListFolder, UnreadableFolderGivesEmptyList) {
    EXPECT_EQ(list.build(folder.path() + L"missing\\a.mpg"), 0);
    EXPECT_EQ(list.currentIndex(), -1);
}

TEST_F(PlayListFolder, FolderNamedLikeMpgAcceptsFilesWithoutDot) {
    const std::wstring clips = folder.addFolder(L"clips.mpg");
    folder.addFile(L"clips.mpg\\file");

    EXPECT_EQ(list.build(clips + L"file"), 1);
    EXPECT_EQ(list.currentIndex(), 0);
    // One entry: playable, but there is nothing to step to.
    EXPECT_FALSE(list.canStep());

    // Other extensions are whole: in a folder named clips.mp4 a file without a dot is no mp4.
    const std::wstring mp4 = folder.addFolder(L"clips.mp4");
    folder.addFiles({L"clips.mp4\\file", L"clips.mp4\\a.mp4"});
    EXPECT_EQ(list.build(mp4 + L"file"), 1);
    EXPECT_EQ(list.currentIndex(), -1);
}

TEST_F(PlayListFolder, SortsByUnsignedCodeUnitsWithPrefixFirst) {
    // Created in an order unlike the expected one, so the listing order can't pass for the sort.
    const std::vector<std::wstring> expected = {
        L"10.mpg", L"9.mpg", L"B.mpg", L"a.mpg", L"a.mpg2", L"z.mpg", L"\u00e9.mpg", L"\uff21.mpg",
    };
    for (auto it = expected.rbegin(); it != expected.rend(); ++it) {
        folder.addFile(*it);
    }

    ASSERT_EQ(list.build(folder.path() + L"a.mpg"), static_cast<int>(expected.size()));
    std::vector<std::wstring> names;
    for (const std::wstring& path : pathsOf(list)) {
        names.push_back(fileNameOf(path));
    }
    EXPECT_EQ(names, expected);
    EXPECT_EQ(list.currentIndex(), 3);
}

TEST_F(PlayListFolder, AddFileRejectsMissingUnsupportedAndLockedFiles) {
    const std::wstring playable = folder.addFile(L"ok.mpg");
    const std::wstring text = folder.addFile(L"notes.txt");
    const std::wstring locked = folder.addFile(L"locked.mpg");

    EXPECT_EQ(list.addFile(folder.path() + L"missing.mpg", 0), -1);
    EXPECT_EQ(list.addFile(text, 0), -1);
    {
        HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        EXPECT_EQ(list.addFile(locked, 0), -1);
        CloseHandle(lock);
    }
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.addFile(playable, 1), 0);
    EXPECT_EQ(list.addFile(locked, 0), 1);
    EXPECT_EQ(list.currentIndex(), 0);
}

TEST_F(PlayListFolder, IndexOperationsRefuseOutOfRange) {
    folder.addFiles({L"a.mpg", L"b.mpg", L"c.mpg"});
    const std::wstring& dir = folder.path();
    ASSERT_EQ(list.build(dir + L"b.mpg"), 3);

    for (int bad : {-2, -1, 3, 100}) {
        SCOPED_TRACE(bad);
        list.setCurrent(bad);
        EXPECT_EQ(list.currentIndex(), 1);
        EXPECT_EQ(list.pathAt(bad), L"");
        EXPECT_FALSE(list.removeAt(bad));
        EXPECT_EQ(list.count(), 3);
    }

    list.setCurrent(2);
    EXPECT_EQ(list.currentIndex(), 2);
    EXPECT_EQ(std::count_if(list.entries().begin(), list.entries().end(),
                            [](const PlayListEntry& e) { return e.current != 0; }),
              1);

    // The current mark travels with its entry when an earlier one goes.
    EXPECT_TRUE(list.removeAt(0));
    EXPECT_EQ(list.currentIndex(), 1);
    EXPECT_EQ(list.pathAt(1), dir + L"c.mpg");
    EXPECT_TRUE(list.removeAt(1));
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(list.pathAt(0), dir + L"b.mpg");
    EXPECT_FALSE(list.canStep());

    list.clear();
    EXPECT_EQ(list.count(), 0);
    // The extension list outlives clear.
    EXPECT_TRUE(list.isSupported(L"x.mpg"));
}

TEST_F(PlayListFolder, LargeFolderBuildsQuicklyAndSorted) {
    const int files = 3000;
    // A scrambled creation order; every fifth name is not playable.
    for (int i = files - 1; i >= 0; --i) {
        const int n = i * 7919 % files;
        folder.addFile(L"clip" + std::to_wstring(n) + (n % 5 == 0 ? L".txt" : L".mpg"));
    }
    const auto start = std::chrono::steady_clock::now();
    const int built = list.build(folder.path() + L"clip1.mpg");
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(built, files - files / 5);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 15000)
        << "a folder of thousands of files must not stall the open";
    EXPECT_TRUE(
        std::is_sorted(list.entries().begin(), list.entries().end(),
                       [](const PlayListEntry& a, const PlayListEntry& b) { return a.path < b.path; }));
    EXPECT_EQ(list.pathAt(list.currentIndex()), folder.path() + L"clip1.mpg");
}
