#include "ui/VideoLayout.h"

namespace {

constexpr int kMargin = 5;
constexpr int kSurfaceGap = 10;

}  // namespace

VideoLayout computeVideoLayout(int width, int height, const SIZE* linkSize) {
    VideoLayout layout;
    int linkHeight = 0;
    if (linkSize != nullptr) {
        linkHeight = linkSize->cy;
        const int left = width - linkSize->cx - kMargin;
        layout.link = {left, kMargin, left + linkSize->cx, kMargin + linkSize->cy};
    }
    const int top = linkHeight + kSurfaceGap;
    layout.surface = {0, top, width, top + (height - linkHeight - kMargin)};
    return layout;
}
