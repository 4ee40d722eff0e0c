#include "app/window/WindowLayoutMath.h"

#include "ui/DpiMath.h"

namespace layoutmath {

int reservedBarHeight(bool barVisible, bool fullScreen, int barHeight) {
    return barVisible || !fullScreen ? barHeight : 0;
}

SIZE firstClientSize(int reservedHeight, UINT dpi) {
    return SIZE{dpimath::scale(kFirstClientWidth, dpi),
                reservedHeight + dpimath::scale(kFirstVideoHeight, dpi)};
}

SIZE growthToMinimum(SIZE client, int reservedHeight, UINT dpi) {
    const LONG minWidth = dpimath::scale(kMinClientWidth, dpi);
    const LONG minVideoHeight = dpimath::scale(kMinVideoHeight, dpi);
    LONG width = client.cx < minWidth ? minWidth : client.cx;
    LONG height = client.cy - reservedHeight >= minVideoHeight ? client.cy : reservedHeight + minVideoHeight;
    return SIZE{width - client.cx, height - client.cy};
}

RECT videoArea(SIZE client, int reservedHeight) {
    return RECT{0, 0, client.cx, client.cy - reservedHeight};
}

RECT barArea(SIZE client, int barHeight) {
    return RECT{0, client.cy - barHeight, client.cx, client.cy};
}

}  // namespace layoutmath
