// The address a subtitle file is handed to the library by: every path form a user's file can have, and
// every character an address can't hold as it is.
#include <gtest/gtest.h>

#include "playback/FileUrl.h"

namespace {

struct UrlCase {
    const wchar_t* path;
    const char* url;  // null: refused
};

#ifdef _WIN32
constexpr const char* kUnixPathUrl = nullptr;  // the root of the current drive: not a full path
#else
constexpr const char* kUnixPathUrl = "file:///home/me/a%20b%5Cc.srt";
#endif

const UrlCase kCases[] = {
    {L"C:\\Films\\clip.srt", "file:///C:/Films/clip.srt"},
    {L"c:\\x.srt", "file:///c:/x.srt"},
    {L"D:/mixed\\slashes/x.srt", "file:///D:/mixed/slashes/x.srt"},
    {L"C:\\My Films\\a b#1 100%.srt", "file:///C:/My%20Films/a%20b%231%20100%25.srt"},
    {L"C:\\a;b=c&d+e,f'g(h)i!j@k$l[m]n~o_p-q.srt",
     "file:///C:/a%3Bb%3Dc%26d%2Be%2Cf%27g%28h%29i%21j%40k%24l%5Bm%5Dn~o_p-q.srt"},
    {L"C:\\a:stream", "file:///C:/a%3Astream"},
    {L"C:\\\x0424\x0438\x043B\x044C\x043C\\\x00E9.srt",
     "file:///C:/%D0%A4%D0%B8%D0%BB%D1%8C%D0%BC/%C3%A9.srt"},
    {L"C:\\\U0001F600 \x6F22.srt",
     "file:///C:/%F0%9F%98%80%20%E6%BC%A2.srt"},  // a pair of surrogates, then CJK
    {L"\\\\server\\share\\x y.srt", "file://server/share/x%20y.srt"},
    {L"//server/share/x.srt", "file://server/share/x.srt"},
    {L"\\\\?\\C:\\long\\x.srt", "file:///C:/long/x.srt"},
    {L"\\\\?\\UNC\\server\\share\\x.srt", "file://server/share/x.srt"},
    {L"/home/me/a b\\c.srt", kUnixPathUrl},
    {L"relative\\x.srt", nullptr},
    {L"C:x.srt", nullptr},
    {L"\\\\", nullptr},
    {L"\\\\\\share\\x.srt", nullptr},
    {L"", nullptr},
    {L"C:\\lone \xD800 surrogate.srt", nullptr},
};

TEST(FileUrl, EveryCharacterArrivesWhole) {
    for (const UrlCase& c : kCases) {
        std::string url = "left over";
        EXPECT_EQ(fileUrlOfPath(c.path, url), c.url != nullptr)
            << testing::PrintToString(std::wstring(c.path));
        EXPECT_EQ(url, c.url != nullptr ? c.url : "") << testing::PrintToString(std::wstring(c.path));
    }
    std::string url;
    EXPECT_FALSE(fileUrlOfPath(nullptr, url));
}

}  // namespace
