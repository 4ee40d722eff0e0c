// The GDI owners other windows paint with: each releases exactly once and restores what it replaced.
#include "ui/GdiGuards.h"

#include "common/DibCanvas.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool alive(HGDIOBJ object) {
    return GetObjectType(object) != 0;
}

TEST(GdiGuards, OwnerDeletesOnceAndMovesWithoutDeleting) {
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    {
        BrushHandle first(raw);
        BrushHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), raw);
        EXPECT_TRUE(alive(raw)) << "a move must not delete";

        BrushHandle third;
        third = std::move(second);
        EXPECT_TRUE(alive(raw));
    }
    EXPECT_FALSE(alive(raw)) << "deleted when the last owner ends";

    BrushHandle owner(CreateSolidBrush(RGB(4, 5, 6)));
    HBRUSH replaced = owner.get();
    owner.reset(CreateSolidBrush(RGB(7, 8, 9)));
    EXPECT_FALSE(alive(replaced));
    HBRUSH released = owner.release();
    EXPECT_FALSE(owner);
    EXPECT_TRUE(alive(released));
    DeleteObject(released);
}

TEST(GdiGuards, SelectionIsUndoneSoTheObjectCanBeDeleted) {
    MemoryDC dc;
    ASSERT_TRUE(dc);
    HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
    BrushHandle brush(CreateSolidBrush(RGB(10, 20, 30)));
    {
        SelectedObject selection(dc.get(), brush.get());
        EXPECT_TRUE(selection.selected());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
        SelectedObject moved(std::move(selection));
        EXPECT_FALSE(selection.selected());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get()) << "a move keeps the selection";
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);

    SelectedObject nothing(dc.get(), nullptr);
    EXPECT_FALSE(nothing.selected());
}

TEST(GdiGuards, DibSectionHasAddressablePixelsOrNothing) {
    std::uint32_t* bits = nullptr;
    BitmapHandle dib = createDib32(5, 3, &bits);
    ASSERT_TRUE(dib);
    ASSERT_NE(bits, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(dib.get(), sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmBitsPixel, 32);

    // Top-down: the first value in memory is the top left pixel.
    MemoryDC dc;
    SelectedObject selection(dc.get(), dib.get());
    SetPixelV(dc.get(), 0, 0, RGB(0x11, 0x22, 0x33));
    GdiFlush();
    EXPECT_EQ(bits[0] & 0xFFFFFF, 0x112233u);

    bits = reinterpret_cast<std::uint32_t*>(1);
    EXPECT_FALSE(createDib32(0, 10, &bits));
    EXPECT_EQ(bits, nullptr);
}

}  // namespace
