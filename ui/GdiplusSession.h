#pragma once

#include "ui/Gdiplus.h"

// Starts GDI+ for as long as it lives. Construct it before any Gdiplus object and let it outlive every
// image: an image deleted after GdiplusShutdown touches a heap that no longer exists.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) {
            token_ = 0;
        }
    }
    ~GdiplusSession() {
        if (token_ != 0) {
            Gdiplus::GdiplusShutdown(token_);
        }
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool started() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};
