// The double must look exactly like the shipped library to the player's import (both export names)
// and must report each call faithfully, or the end-to-end close tests would prove nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/TempFolder.h"
#include "common/TestClips.h"

namespace {

using ShowFn = int(__stdcall*)(HWND, const wchar_t*, const wchar_t*);

std::wstring doublePath() {
    return testclips::windowsPath(VELMORA_ADS_DOUBLE_PATH);
}

class AdsDouble : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(doublePath().c_str());
        ASSERT_NE(module_, nullptr) << "cannot load the double";
        show_ = reinterpret_cast<ShowFn>(reinterpret_cast<void*>(GetProcAddress(module_, "libads_show")));
        ASSERT_NE(show_, nullptr);
        log_ = folder_.path() + L"velmora-ads-double-test.log";
        SetEnvironmentVariableW(L"VELMORA_ADS_LOG", nullptr);
        SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", nullptr);
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"VELMORA_ADS_LOG", nullptr);
        SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", nullptr);
        if (module_) {
            FreeLibrary(module_);
        }
    }

    const TempFolder folder_;
    HMODULE module_ = nullptr;
    ShowFn show_ = nullptr;
    std::wstring log_;
};

TEST_F(AdsDouble, ExportsBothNamesOfTheShippedLibrary) {
    void* decorated = reinterpret_cast<void*>(GetProcAddress(module_, "libads_show@12"));
    EXPECT_EQ(decorated, reinterpret_cast<void*>(show_));
}

struct ResultCase {
    const wchar_t* setting;  // null: variable unset
    int expected;
};

class AdsDoubleResult : public AdsDouble, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(AdsDoubleResult, ReturnsTheConfiguredInteger) {
    SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", GetParam().setting);
    EXPECT_EQ(show_(nullptr, L"p", L"u"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, AdsDoubleResult,
                         ::testing::Values(ResultCase{nullptr, 0}, ResultCase{L"2", 2}, ResultCase{L"0", 0},
                                           ResultCase{L"-7", -7}, ResultCase{L"junk", 0}));

TEST_F(AdsDouble, LogsOneUtf8LinePerCallWithWindowProductAndAddress) {
    SetEnvironmentVariableW(L"VELMORA_ADS_LOG", log_.c_str());
    HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1A2B4));
    show_(window, L"Velmora Player", L"http://example.test/ads.php");
    show_(nullptr, L"Caf\u00e9", L"x");
    EXPECT_EQ(readAll(log_),
              "107188\tVelmora Player\thttp://example.test/ads.php\n"
              "0\tCaf\xc3\xa9\tx\n");
}

TEST_F(AdsDouble, WritesNoLogWhenNoneIsNamed) {
    SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", L"2");
    EXPECT_EQ(show_(nullptr, L"p", L"u"), 2);
    EXPECT_EQ(GetFileAttributesW(log_.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
