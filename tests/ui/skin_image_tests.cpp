// The shipped skin pictures and the loader that turns "PNG" resources into images.
#include "ui/DpiMath.h"
#include "ui/Gdiplus.h"
#include "ui/PlayBar.h"
#include "ui/SkinImage.h"
#include "ui/SkinPicture.h"
#include "ui/WindowLibrary.h"

#include "common/DibCanvas.h"
#include "common/GdiplusEnvironment.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using ImagePtr = std::unique_ptr<Gdiplus::Image>;

HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

// The picture drawn for the scale, as it is stored.
ImagePtr picture(const wchar_t* name, int percent) {
    return ImagePtr(
        loadPngResource(module(), FindResourceW(module(), name, dpimath::pictureType(percent).c_str())));
}

// Straight-alpha pixels of an image, read through a 32-bit ARGB copy.
std::vector<Gdiplus::ARGB> pixelsOf(Gdiplus::Image* image) {
    const int width = imageWidth(image);
    const int height = imageHeight(image);
    Gdiplus::Bitmap copy(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&copy);
        graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        graphics.DrawImage(image, 0, 0, width, height);
    }
    std::vector<Gdiplus::ARGB> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Gdiplus::Color c;
            copy.GetPixel(x, y, &c);
            pixels.push_back(c.GetValue());
        }
    }
    return pixels;
}

int alphaOf(Gdiplus::ARGB argb) {
    return static_cast<int>(argb >> 24);
}

struct SkinCase {
    const wchar_t* name;
    int width;
    int height;
    bool transparentAround;  // button and slider pictures show the bar through their corners
};

const SkinCase kSkins[] = {
    {L"IDB_BAR_BKG", 10, 36, false},    {L"IDB_OPEN", 36, 32, true},       {L"IDB_PLAY", 36, 32, true},
    {L"IDB_PAUSE", 36, 32, true},       {L"IDB_STOP", 36, 32, true},       {L"IDB_PREV", 36, 32, true},
    {L"IDB_NEXT", 36, 32, true},        {L"IDB_MUTE", 28, 24, true},       {L"IDB_FULLSCREEN1", 32, 26, true},
    {L"IDB_FULLSCREEN2", 32, 26, true}, {L"IDB_TIME_BKG", 4, 12, true},    {L"IDB_TIME_FORG", 4, 12, true},
    {L"IDB_TIME_BALL", 12, 12, true},   {L"IDB_VOLUME_BAR", 68, 12, true}, {L"IDB_VOLUME_BALL", 16, 12, true},
};

// The picture at its size times the scale (rounded half up), with the surround it should have; the
// bar is a layered window keyed on black, so a visible pure black pixel would be a hole.
void expectDrawnAt(Gdiplus::Image* image, const SkinCase& skin, int percent) {
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageWidth(image), (skin.width * percent + 50) / 100);
    EXPECT_EQ(imageHeight(image), (skin.height * percent + 50) / 100);
    const std::vector<Gdiplus::ARGB> pixels = pixelsOf(image);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(imageWidth(image) * imageHeight(image)));
    if (skin.transparentAround) {
        EXPECT_EQ(alphaOf(pixels.front()), 0) << "top left corner";
        EXPECT_EQ(alphaOf(pixels.back()), 0) << "bottom right corner";
    }
    for (Gdiplus::ARGB argb : pixels) {
        if (alphaOf(argb) != 0) {
            ASSERT_NE(argb & 0xFFFFFF, 0u);
        }
    }
}

class SkinPictureTest : public ::testing::TestWithParam<SkinCase> {};

TEST_P(SkinPictureTest, DecodesAtItsExactSizeWithAlpha) {
    ImagePtr image = loadSkinImage(module(), GetParam().name);
    expectDrawnAt(image.get(), GetParam(), 100);
    EXPECT_TRUE(image && Gdiplus::IsAlphaPixelFormat(image->GetPixelFormat()));
}

INSTANTIATE_TEST_SUITE_P(AllSkins, SkinPictureTest, ::testing::ValuesIn(kSkins),
                         [](const ::testing::TestParamInfo<SkinCase>& info) {
                             const std::wstring name = info.param.name;
                             return std::string(name.begin(), name.end());
                         });

// Each picture drawn for every display scale, at its 100 % size times the scale rounded half up, and still
// with a transparent surround and no pure black where it is visible.
TEST_P(SkinPictureTest, EveryScaleIsDrawnAtItsSize) {
    for (int percent : {125, 150, 175, 200, 250, 300}) {
        SCOPED_TRACE(percent);
        expectDrawnAt(picture(GetParam().name, percent).get(), GetParam(), percent);
    }
}

TEST(DpiMath, LengthsPictureScalesAndNames) {
    const int lengths[][3] = {{1, 96, 1},    {1, 120, 1},      {1, 144, 2},     {5, 120, 6},
                              {5, 144, 8},   {11, 144, 17},    {36, 120, 45},   {26, 120, 33},
                              {-3, 144, -5}, {672, 192, 1344}, {420, 168, 735}, {0, 300, 0}};
    for (const auto& [length, dpi, scaled] : lengths) {
        EXPECT_EQ(dpimath::scale(length, dpi), scaled) << length << " at " << dpi;
    }
    // The exact scale, else the next larger; never a smaller one.
    const std::pair<UINT, int> scales[] = {{96, 100},  {97, 125},  {120, 125}, {121, 150},
                                           {144, 150}, {168, 175}, {192, 200}, {193, 250},
                                           {240, 250}, {288, 300}, {400, 300}, {72, 100}};
    for (const auto& [dpi, percent] : scales) {
        EXPECT_EQ(dpimath::pictureScaleFor(dpi), percent) << dpi;
    }
    // A picture's size at 100 %, from its size at a scale.
    const int bases[][3] = {{33, 125, 26},   {13, 125, 10},   {46, 175, 26},
                            {233, 150, 155}, {388, 250, 155}, {36, 100, 36}};
    for (const auto& [size, percent, base] : bases) {
        EXPECT_EQ(dpimath::baseSizeOf(size, percent), base) << size << " at " << percent;
    }
    EXPECT_EQ(dpimath::pictureType(100), L"PNG");
    EXPECT_EQ(dpimath::pictureType(250), L"PNG_250");
}

// The loader takes the picture of the scale, or the next larger one made smaller: at 97 DPI the play button
// has the 100 % size but comes from the 125 % picture, whose pixels differ.
TEST(PngLoader, TakesThePictureOfTheScaleOrMakesTheNextLargerSmaller) {
    struct Case {
        const wchar_t* name;
        UINT dpi;
        int width, height;
        int sameAs;  // the scale whose picture it is, or 0 when made smaller
    };
    const Case cases[] = {
        {L"IDB_PLAY", 96, 36, 32, 100},
        {L"IDB_PLAY", 144, 54, 48, 150},
        {L"IDB_FULLSCREEN1", 168, 56, 46, 175},
        {L"IDB_PLAY", 110, 41, 37, 0},
        {L"IDB_PLAY", 97, 36, 32, 0},
        {L"IDB_PLAY", 400, 150, 133, 0},  // above the largest scale
        {MAKEINTRESOURCEW(IDB_LOGO), 96, 316, 155, 100},
        {MAKEINTRESOURCEW(IDB_LOGO), 192, 632, 310, 200},
        // A broken header passes the scale over for the next larger good one, else the next smaller.
        {L"TEST_BROKEN_SCALES", 144, 54, 48, 0},
        {L"TEST_BROKEN_SCALES", 168, 63, 56, 175},
        {L"TEST_BROKEN_SCALES", 400, 150, 133, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        ImagePtr image = loadSkinImage(module(), c.name, c.dpi);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(imageWidth(image.get()), c.width);
        EXPECT_EQ(imageHeight(image.get()), c.height);
        if (c.sameAs != 0) {
            EXPECT_EQ(pixelsOf(image.get()), pixelsOf(picture(c.name, c.sameAs).get()));
        } else if (c.width == 36) {
            EXPECT_NE(pixelsOf(image.get()), pixelsOf(picture(c.name, 100).get()));
        }
        // The same picture with its size known before it is decoded.
        SkinPicture later = SkinPicture::find(module(), c.name, c.dpi);
        EXPECT_EQ(later.width(), c.width);
        EXPECT_EQ(later.height(), c.height);
        EXPECT_EQ(pixelsOf(later.image()), pixelsOf(image.get()));
    }
    EXPECT_EQ(loadSkinImage(module(), L"NO_SUCH_PICTURE", 144), nullptr);
    EXPECT_TRUE(SkinPicture::find(module(), L"NO_SUCH_PICTURE", 144).empty());
}

TEST(PngLoader, ReadsThePictureSizeFromThePngHeader) {
    const BYTE png[24] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                          'I',  'H', 'D', 'R', 0,    0,    1,    0x3C, 0, 0, 0, 0x9B};
    SIZE size{};
    ASSERT_TRUE(skinpicture::pngSize(png, sizeof(png), size));
    EXPECT_EQ(size.cx, 316);
    EXPECT_EQ(size.cy, 155);
    EXPECT_FALSE(skinpicture::pngSize(png, sizeof(png) - 1, size));
    struct Fault {
        int at;
        BYTE value;
        const char* what;
    };
    const Fault faults[] = {
        {1, 'J', "no PNG"}, {12, 'X', "no header"}, {23, 0, "no height"}, {16, 0x80, "too wide"}};
    for (const Fault& fault : faults) {
        BYTE broken[sizeof(png)];
        std::memcpy(broken, png, sizeof(png));
        broken[fault.at] = fault.value;
        EXPECT_FALSE(skinpicture::pngSize(broken, sizeof(broken), size)) << fault.what;
    }
}

TEST(SkinPictures, BarBackgroundIsAnOpaqueLightGreyGradient) {
    ImagePtr image = loadSkinImage(module(), L"IDB_BAR_BKG");
    ASSERT_NE(image, nullptr);
    const std::vector<Gdiplus::ARGB> pixels = pixelsOf(image.get());
    auto greyAt = [&](int y) { return static_cast<int>((pixels[y * 10] >> 8) & 0xFF); };
    for (Gdiplus::ARGB argb : pixels) {
        ASSERT_EQ(alphaOf(argb), 255);
    }
    EXPECT_NEAR(greyAt(2), 225, 8);
    EXPECT_NEAR(greyAt(33), 152, 8);
    for (int y = 2; y < 34; ++y) {
        EXPECT_GE(greyAt(y - 1), greyAt(y)) << "row " << y;
    }
}

TEST(SkinPictures, LogoIsFoundByNumber) {
    ImagePtr image = loadSkinImage(module(), MAKEINTRESOURCEW(IDB_LOGO));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageWidth(image.get()), 316);
    EXPECT_EQ(imageHeight(image.get()), 155);
}

TEST(SkinPictures, PlayedTrackIsByteIdenticalToTheTrack) {
    auto bytesOf = [](const wchar_t* name) {
        HRSRC found = FindResourceW(module(), name, L"PNG");
        const DWORD size = found ? SizeofResource(module(), found) : 0;
        const auto* data =
            found ? static_cast<const char*>(LockResource(LoadResource(module(), found))) : nullptr;
        return data ? std::string(data, size) : std::string();
    };
    const std::string track = bytesOf(L"IDB_TIME_BKG");
    ASSERT_FALSE(track.empty());
    EXPECT_EQ(bytesOf(L"IDB_TIME_FORG"), track);

    ImagePtr background = loadSkinImage(module(), L"IDB_TIME_BKG");
    ImagePtr played = loadSkinImage(module(), L"IDB_TIME_FORG");
    ASSERT_NE(background, nullptr);
    ASSERT_NE(played, nullptr);
    EXPECT_EQ(pixelsOf(played.get()), pixelsOf(background.get()));
}

TEST(PngLoader, MissingAndEmptyResourcesGiveNoImage) {
    EXPECT_EQ(loadSkinImage(module(), L"NO_SUCH_PICTURE"), nullptr);
    EXPECT_EQ(loadPngResource(module(), nullptr), nullptr);

    HRSRC empty = FindResourceW(module(), L"TEST_EMPTY_PNG", L"PNG");
    ASSERT_NE(empty, nullptr);
    ASSERT_EQ(SizeofResource(module(), empty), 0u);
    EXPECT_EQ(loadPngResource(module(), empty), nullptr);
}

TEST(PngLoader, UndecodableBytesGiveAnEmptyImageThatIsNeverDrawn) {
    ImagePtr image = loadSkinImage(module(), L"TEST_GARBAGE_PNG");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 0u);
    EXPECT_EQ(image->GetHeight(), 0u);
    EXPECT_FALSE(hasPicture(image.get()));

    DibCanvas canvas(8, 8, 0x102030);
    ASSERT_TRUE(canvas.ready());
    {
        Gdiplus::Graphics graphics(canvas.dc());
        EXPECT_FALSE(drawImage(graphics, image.get(), 0, 0));
        EXPECT_FALSE(drawImage(graphics, image.get(), 0, 0, 8, 8));
        EXPECT_FALSE(drawImage(graphics, nullptr, 0, 0));
    }
    EXPECT_EQ(imageWidth(nullptr), 0);
    // Nor does the bar's tiling draw anything of it.
    PlayBar::instance()->tileImage(canvas.dc(), image.get(), 0, 0, 8);
    PlayBar::destroyInstance();
    GdiFlush();
    for (int i = 0; i < 8 * 8; ++i) {
        ASSERT_EQ(canvas.rgb(i % 8, i / 8), 0x102030u) << "pixel " << i;
    }
}

TEST(PngLoader, ImageStaysDrawableAfterTheResourceBlockIsFreed) {
    ImagePtr image = loadSkinImage(module(), L"IDB_PLAY");
    ASSERT_NE(image, nullptr);
    // Churn the global heap so that a stream left pointing at the freed block would read other bytes.
    for (int i = 0; i < 16; ++i) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4096);
        if (void* bytes = GlobalLock(block)) {
            std::memset(bytes, 0xAB, 4096);
            GlobalUnlock(block);
        }
        GlobalFree(block);
    }

    const std::uint32_t background = 0x10C810;  // green, absent from the artwork
    DibCanvas canvas(40, 40, background);
    ASSERT_TRUE(canvas.ready());
    {
        Gdiplus::Graphics graphics(canvas.dc());
        ASSERT_TRUE(drawImage(graphics, image.get(), 2, 4));
    }
    EXPECT_EQ(canvas.rgb(2, 4), background) << "transparent corner shows what was there";
    EXPECT_EQ(canvas.rgb(39, 39), background) << "nothing drawn outside the natural size";
    const std::uint32_t centre = canvas.rgb(2 + 18, 4 + 16);
    EXPECT_GT(blueOf(centre), 150);
    EXPECT_LT(redOf(centre), 100);
}

// The sum of the differences of red, green and blue.
int colourDistance(std::uint32_t a, std::uint32_t b) {
    return std::abs(redOf(a) - redOf(b)) + std::abs(greenOf(a) - greenOf(b)) +
           std::abs(blueOf(a) - blueOf(b));
}

// The bar tiles a small picture across an area at its natural width, and squeezes the last copy into
// what is left of the area.
TEST(SkinDrawing, TheBarSqueezesTheLastTileIntoTheRestOfTheArea) {
    // Four columns of distinct colours: a cut last copy would show the first two, a squeezed one all four.
    Gdiplus::Bitmap tile(4, 2, PixelFormat32bppARGB);
    const Gdiplus::ARGB colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 2; ++y) {
            tile.SetPixel(x, y, Gdiplus::Color(colours[x]));
        }
    }
    DibCanvas tiled(12, 2, 0x808080);
    DibCanvas squeezed(2, 2, 0x808080);
    ASSERT_TRUE(tiled.ready() && squeezed.ready());
    PlayBar::instance()->tileImage(tiled.dc(), &tile, 0, 0, 10);
    PlayBar::destroyInstance();
    {
        Gdiplus::Graphics graphics(squeezed.dc());
        ASSERT_TRUE(drawImage(graphics, &tile, 0, 0, 2, 2));
    }
    GdiFlush();
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(tiled.rgb(x, 1), colours[x % 4] & 0xFFFFFF) << "x " << x;
    }
    for (int x = 8; x < 10; ++x) {
        EXPECT_LE(colourDistance(tiled.rgb(x, 1), squeezed.rgb(x - 8, 1)), 3)
            << "x " << x << ": " << std::hex << tiled.rgb(x, 1) << " vs " << squeezed.rgb(x - 8, 1);
    }
    // A cut copy would end in the picture's second column, a squeezed one in its second half.
    EXPECT_GT(colourDistance(tiled.rgb(9, 1), colours[1] & 0xFFFFFF), 3)
        << "the last copy is cut, not squeezed";
    EXPECT_EQ(tiled.rgb(10, 1), 0x808080u);
    EXPECT_EQ(tiled.rgb(11, 1), 0x808080u);
}

TEST(SkinDrawing, APrerenderedImageBlendsAsDrawingItDoes) {
    // Rows and columns that differ, half-transparent pixels among them: a flipped or unpremultiplied copy
    // would show.
    Gdiplus::Bitmap picture(3, 2, PixelFormat32bppARGB);
    const Gdiplus::ARGB colours[2][3] = {{0x80FF0000, 0xFF00FF00, 0x00000000},
                                         {0xFF0000FF, 0x40FFFFFF, 0xC0FFFF00}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            picture.SetPixel(x, y, Gdiplus::Color(colours[y][x]));
        }
    }
    for (int width : {3, 2}) {
        DibCanvas drawn(8, 4, 0x204060);
        DibCanvas blended(8, 4, 0x204060);
        ASSERT_TRUE(drawn.ready() && blended.ready());
        {
            Gdiplus::Graphics graphics(drawn.dc());
            ASSERT_TRUE(drawImage(graphics, &picture, 2, 1, width, 2));
        }
        OffscreenBuffer prepared = prerenderImage(&picture, width, 2);
        ASSERT_FALSE(prepared.empty());
        ASSERT_TRUE(blendBuffer(blended.dc(), prepared, 2, 1));
        GdiFlush();
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 8; ++x) {
                const std::uint32_t a = drawn.rgb(x, y);
                const std::uint32_t b = blended.rgb(x, y);
                EXPECT_LE(colourDistance(a, b), 3)
                    << "width " << width << " at " << x << "," << y << ": " << std::hex << a << " vs " << b;
            }
        }
    }
    EXPECT_TRUE(prerenderImage(nullptr, 3, 2).empty());
    EXPECT_TRUE(prerenderImage(&picture, 0, 2).empty());
    DibCanvas canvas(2, 2, 0);
    EXPECT_FALSE(blendBuffer(canvas.dc(), OffscreenBuffer{}, 0, 0));
}

}  // namespace

namespace {

// The taskbar's thumbnail toolbar has each picture at the small-icon size (16 pixels at 100 %) of every
// scale the skins are drawn for, so that none is stretched.
TEST(ThumbnailToolbarIcons, HaveTheSmallIconSizeOfEveryScale) {
    std::set<int> expected;
    for (int percent : dpimath::kPictureScales) {
        expected.insert(dpimath::scale(16, static_cast<UINT>(dpimath::kBaseDpi * percent / 100)));
    }
    for (const wchar_t* name :
         {L"IDI_THUMB_PREV", L"IDI_THUMB_PLAY", L"IDI_THUMB_PAUSE", L"IDI_THUMB_NEXT"}) {
        HRSRC found = FindResourceW(module(), name, RT_GROUP_ICON);
        ASSERT_NE(found, nullptr) << testing::PrintToString(std::wstring(name));
        const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
        ASSERT_NE(directory, nullptr);
        // The group's header (reserved, type, count) and 14-byte entries that start with width and height.
        WORD count = 0;
        std::memcpy(&count, directory + 4, sizeof(count));
        std::set<int> sizes;
        for (WORD i = 0; i < count; ++i) {
            const BYTE* entry = directory + 6 + 14 * i;
            EXPECT_EQ(entry[0], entry[1]);
            sizes.insert(entry[0]);
        }
        EXPECT_EQ(sizes, expected) << testing::PrintToString(std::wstring(name));
    }
}

}  // namespace
