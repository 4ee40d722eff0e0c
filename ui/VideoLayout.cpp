#include "ui/VideoLayout.h"

#include "ui/DpiMath.h"

namespace {

// At 96 DPI.
constexpr int kMargin = 5;
constexpr int kSurfaceGap = 10;

}  // namespace

VideoLayout computeVideoLayout(int width, int height, const SIZE* linkSize, UINT dpi) {
    const int margin = dpimath::scale(kMargin, dpi);
    const int surfaceGap = dpimath::scale(kSurfaceGap, dpi);
    VideoLayout layout;
    int linkHeight = 0;
    if (linkSize != nullptr) {
        linkHeight = linkSize->cy;
        const int left = width - linkSize->cx - margin;
        layout.link = {left, margin, left + linkSize->cx, margin + linkSize->cy};
    }
    const int top = linkHeight + surfaceGap;
    layout.surface = {0, top, width, top + (height - linkHeight - margin)};
    return layout;
}
