#include "e2e/ScreenCapture.h"

#include "common/DibCanvas.h"
#include "e2e/PlayerProcess.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <set>

namespace e2e {

size_t Picture::differingPixels(const Picture& other) const {
    if (width != other.width || height != other.height) {
        return pixels.size();
    }
    return pixels.size() - std::inner_product(pixels.begin(), pixels.end(), other.pixels.begin(), size_t{0},
                                              std::plus<>(), std::equal_to<>());
}

size_t Picture::litPixels() const {
    return std::count_if(pixels.begin(), pixels.end(),
                         [](std::uint32_t pixel) { return (pixel & 0xFFFFFF) != 0; });
}

size_t Picture::distinctColours(size_t limit) const {
    std::set<std::uint32_t> colours;
    for (std::uint32_t pixel : pixels) {
        colours.insert(pixel & 0xFFFFFF);
        if (colours.size() >= limit) {
            break;
        }
    }
    return colours.size();
}

size_t Picture::darkPixels(int level) const {
    return std::count_if(pixels.begin(), pixels.end(), [level](std::uint32_t pixel) {
        return redOf(pixel) < level && greenOf(pixel) < level && blueOf(pixel) < level;
    });
}

int Picture::leftmostDark(int level) const {
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const std::uint32_t pixel = at(x, y);
            if (redOf(pixel) < level && greenOf(pixel) < level && blueOf(pixel) < level) {
                return x;
            }
        }
    }
    return -1;
}

size_t Picture::brightPixels(int top, int bottom, int* span) const {
    size_t count = 0;
    int left = width, right = -1;
    for (int y = std::max(top, 0); y < std::min(bottom, height); ++y) {
        if (at(0, y) != 0) {
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = at(x, y);
            if (redOf(c) > 192 && greenOf(c) > 192 && blueOf(c) > 192) {
                ++count;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    if (span != nullptr) {
        *span = right >= left ? right - left + 1 : 0;
    }
    return count;
}

bool Picture::saveBmp(const std::wstring& path) const {
    if (empty()) {
        return false;
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = -height;  // rows from the top, as captured
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const DWORD pixelBytes = static_cast<DWORD>(pixels.size() * sizeof(std::uint32_t));
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + pixelBytes;
    HANDLE out =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
              WriteFile(out, &info, sizeof(info), &written, nullptr) &&
              WriteFile(out, pixels.data(), pixelBytes, &written, nullptr);
    CloseHandle(out);
    return ok;
}

Picture captureScreen(const RECT& screenRect) {
    Picture picture;
    const int width = screenRect.right - screenRect.left;
    const int height = screenRect.bottom - screenRect.top;
    if (width <= 0 || height <= 0) {
        return picture;
    }
    WindowDC screen(nullptr);
    DibCanvas canvas(width, height, 0);
    if (!screen || !canvas.ready() || !canvas.copyFrom(screen.get(), screenRect.left, screenRect.top)) {
        return picture;
    }
    const std::uint32_t* bits = canvas.bits();
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(bits, bits + static_cast<size_t>(width) * static_cast<size_t>(height));
    return picture;
}

Picture captureClient(HWND window) {
    return captureScreen(testwin::clientRectOnScreen(window));
}

bool waitForLitPicture(HWND window, Picture& picture, DWORD timeoutMs, double share) {
    return waitUntil(
        [&] {
            picture = captureClient(window);
            return !picture.empty() && picture.litPixels() > picture.pixels.size() * share;
        },
        timeoutMs);
}

}  // namespace e2e
