#include "app/WindowLayoutMath.h"

namespace layoutmath {

int reservedBarHeight(bool barVisible, bool fullScreen, int barHeight) {
    return barVisible || !fullScreen ? barHeight : 0;
}

SIZE firstClientSize(int reservedHeight) {
    return SIZE{kFirstClientWidth, reservedHeight + kFirstVideoHeight};
}

SIZE growthToMinimum(SIZE client, int reservedHeight) {
    LONG width = client.cx < kMinClientWidth ? kMinClientWidth : client.cx;
    LONG height =
        client.cy - reservedHeight >= kMinVideoHeight ? client.cy : reservedHeight + kMinVideoHeight;
    return SIZE{width - client.cx, height - client.cy};
}

RECT videoArea(SIZE client, int reservedHeight) {
    return RECT{0, 0, client.cx, client.cy - reservedHeight};
}

RECT barArea(SIZE client, int barHeight) {
    return RECT{0, client.cy - barHeight, client.cx, client.cy};
}

}  // namespace layoutmath
