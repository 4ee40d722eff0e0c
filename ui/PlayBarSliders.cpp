#include <algorithm>
#include <string>
#include <vector>

#include "playback/PlayLogic.h"
#include "playback/WatchRules.h"
#include "resource.h"
#include "ui/Gdiplus.h"
#include "ui/PlayBar.h"
#include "ui/PlayBarRules.h"
#include "ui/SkinImage.h"

// The bar's two sliders and the time text, composed in off-screen buffers: the background buffer holds
// the bar picture alone, the composite buffer the picture with both sliders. A time change redraws the
// time slider's column into the composite buffer and copies the two slider columns to the screen, without
// going through the paint cycle.

namespace {

constexpr COLORREF kTimeTextColor = RGB(32, 32, 32);

int rectWidth(const RECT& r) {
    return r.right - r.left;
}

int rectHeight(const RECT& r) {
    return r.bottom - r.top;
}

// One line of text against the bottom right corner of the rectangle and clipped to it, as DrawTextW
// does with DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, but with the glyphs placed at the advances the text
// was measured with: Wine draws some fonts a few pixels wider than it measures them, which pushes
// right-aligned text past the rectangle and cuts off its last digit.
void drawTextRightBottom(HDC dc, const std::wstring& text, const RECT& rect) {
    const int count = static_cast<int>(text.size());
    std::vector<int> ends(text.size() + 1, 0);
    SIZE size{};
    if (count == 0 || !GetTextExtentExPointW(dc, text.c_str(), count, 0, nullptr, ends.data(), &size)) {
        return;
    }
    std::vector<int> advances(text.size());
    for (int i = 0; i < count; ++i) {
        advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
    }
    ExtTextOutW(dc, rect.right - size.cx, rect.bottom - size.cy, ETO_CLIPPED, &rect, text.c_str(),
                static_cast<UINT>(count), advances.data());
}

}  // namespace

RECT PlayBar::sliderArea(int controlId) const {
    // Laid-out areas are kept by the layout; reading a control's rectangle costs a trip to the system.
    if (controlId == IDC_TIME_SLIDER && !IsRectEmpty(&timeArea_)) {
        return timeArea_;
    }
    if (controlId == IDC_VOLUME_SLIDER && !IsRectEmpty(&volumeArea_)) {
        return volumeArea_;
    }
    RECT area{};
    HWND control = window_ != nullptr ? GetDlgItem(window_, controlId) : nullptr;
    if (control != nullptr) {
        GetWindowRect(control, &area);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
    }
    return area;
}

int PlayBar::timeKnobWidth() {
    if (timeKnobWidth_ < 0) {
        timeKnobWidth_ = imageWidth(timeBall_.get());
    }
    return timeKnobWidth_;
}

int PlayBar::volumeKnobWidth() {
    if (volumeKnobWidth_ < 0) {
        volumeKnobWidth_ = imageWidth(volumeBall_.get());
    }
    return volumeKnobWidth_;
}

void PlayBar::ensureBuffers() {
    RECT client{};
    GetClientRect(window_, &client);
    const int w = client.right;
    const int h = client.bottom;
    if (!compositeBuffer_.empty() && compositeBuffer_.width() >= w && compositeBuffer_.height() >= h) {
        return;
    }
    compositeBuffer_.reset();
    backgroundBuffer_.reset();
    WindowDC windowDC(window_);
    compositeBuffer_ = OffscreenBuffer::create(windowDC.get(), w, h);
    backgroundBuffer_ = OffscreenBuffer::create(windowDC.get(), w, h);
    if (backgroundBuffer_.empty()) {
        return;
    }
    if (barBackground_) {
        if (w != 0) {
            tileImage(backgroundBuffer_.dc(), barBackground_.get(), 0, 0, w);
        }
    } else {
        FillRect(backgroundBuffer_.dc(), &client, backgroundBrush_.get());
    }
}

void PlayBar::tileImage(HDC dc, Gdiplus::Image* image, int x, int y, int width) {
    if (image == nullptr || dc == nullptr) {
        return;
    }
    const int pictureHeight = imageHeight(image);
    // The pieces go side by side into a transparent strip, which is then blended in one call: each call
    // that draws on a device context costs far more than its pixels, and the bar's pictures are a few
    // pixels wide.
    const OffscreenBuffer strip = prerender(width, pictureHeight, [&](Gdiplus::Graphics& pieces) {
        // A picture that failed to decode has width 0 and gives no pieces.
        playbar::forEachTilePiece(imageWidth(image), width, [&](playbar::TilePiece piece) {
            drawImage(pieces, image, piece.offset, 0, piece.width, pictureHeight);
        });
        return true;
    });
    blendBuffer(dc, strip, x, y);
}

void PlayBar::copyBackgroundColumn(HDC dc, const RECT& area) {
    if (backgroundBuffer_.empty()) {
        return;
    }
    BitBlt(dc, area.left, 0, rectWidth(area), height(), backgroundBuffer_.dc(), area.left, 0, SRCCOPY);
}

bool PlayBar::ensureTimeCache(const RECT& area) {
    const int width = rectWidth(area);
    const int barHeight = height();
    if (!timeCache_.empty() && EqualRect(&timeCacheArea_, &area)) {
        return true;
    }
    timeCache_.reset();
    timeCacheArea_ = RECT{};
    if (backgroundBuffer_.empty() || width <= 0 || barHeight <= 0) {
        return false;
    }
    timeCache_ = OffscreenBuffer::create(backgroundBuffer_.dc(), width, 2 * barHeight);
    if (timeCache_.empty()) {
        return false;
    }
    HDC cache = timeCache_.dc();
    BitBlt(cache, 0, 0, width, barHeight, backgroundBuffer_.dc(), area.left, 0, SRCCOPY);
    tileImage(cache, imageFor(IDC_TIME_SLIDER), 0, area.top, width);
    BitBlt(cache, 0, barHeight, width, barHeight, cache, 0, 0, SRCCOPY);
    if (const int piece = imageWidth(timeForeground_.get()); piece > 0) {
        tileImage(cache, timeForeground_.get(), 0, barHeight + area.top, width / piece * piece);
    }
    if (timeKnobPicture_.empty() && timeBall_) {
        timeKnobPicture_ =
            prerenderImage(timeBall_.get(), imageWidth(timeBall_.get()), imageHeight(timeBall_.get()));
    }
    if (playedPieces_.empty()) {
        const int piece = imageWidth(timeForeground_.get());
        for (int squeezed = 0; squeezed < piece; ++squeezed) {
            playedPieces_.push_back(
                prerenderImage(timeForeground_.get(), squeezed, imageHeight(timeForeground_.get())));
        }
    }
    timeCacheArea_ = area;
    return true;
}

int PlayBar::knobTop(const RECT& area) const {
    return (area.top + area.bottom - imageHeight(timeBall_.get())) / 2;
}

void PlayBar::drawKnob(Gdiplus::Graphics& graphics, const RECT& area, int offset) {
    if (timeBall_) {
        drawImage(graphics, timeBall_.get(), area.left + offset, knobTop(area));
    }
}

void PlayBar::drawTimeSlider(HDC dc) {
    Gdiplus::Image* track = imageFor(IDC_TIME_SLIDER);
    if (window_ == nullptr || GetDlgItem(window_, IDC_TIME_SLIDER) == nullptr || track == nullptr) {
        return;
    }
    const RECT area = sliderArea(IDC_TIME_SLIDER);
    const int knob = timeKnobWidth();
    const int width = rectWidth(area);
    const int offset = playbar::timeKnobOffset(position_, length_, width, knob);
    if (ensureTimeCache(area)) {
        // What tiling both pictures again draws: the track across the area, the played part's whole
        // pieces up to the knob, then its last piece squeezed into what remains (prepared for each width),
        // and the knob over them.
        const int barHeight = height();
        BitBlt(dc, area.left, 0, width, barHeight, timeCache_.dc(), 0, 0, SRCCOPY);
        const int piece = imageWidth(timeForeground_.get());
        const int whole = piece > 0 ? offset / piece * piece : 0;
        if (whole > 0) {
            BitBlt(dc, area.left, area.top, whole, rectHeight(area), timeCache_.dc(), 0, barHeight + area.top,
                   SRCCOPY);
        }
        if (offset > whole && offset - whole < static_cast<int>(playedPieces_.size())) {
            blendBuffer(dc, playedPieces_[static_cast<size_t>(offset - whole)], area.left + whole, area.top);
        }
        blendBuffer(dc, timeKnobPicture_, area.left + offset, knobTop(area));
    } else {
        copyBackgroundColumn(dc, area);
        if (width != 0) {
            tileImage(dc, track, area.left, area.top, width);
        }
        if (offset != 0) {
            tileImage(dc, timeForeground_.get(), area.left, area.top, offset);
        }
        Gdiplus::Graphics graphics(dc);
        drawKnob(graphics, area, offset);
    }

    PlayLogic* logic = controller();
    const float speed = logic != nullptr ? logic->speed() : watching::kNormalSpeed;
    const std::wstring text = playbar::timeLine(timeText(), speed, feedback_);
    SelectedObject font(dc, timeFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTimeTextColor);
    RECT strip{area.left, 0, area.right, area.top};
    drawTextRightBottom(dc, text, strip);
}

std::wstring PlayBar::timeText() const {
    PlayLogic* logic = controller();
    MediaPlayer* player = logic != nullptr ? logic->player() : nullptr;
    const PlayerType kind = player != nullptr ? player->playerType() : PlayerVlc;
    return playbar::timeText(position_, length_, kind);
}

void PlayBar::drawVolumeSlider(HDC dc) {
    Gdiplus::Image* track = imageFor(IDC_VOLUME_SLIDER);
    if (window_ == nullptr || GetDlgItem(window_, IDC_VOLUME_SLIDER) == nullptr || track == nullptr) {
        return;
    }
    const RECT area = sliderArea(IDC_VOLUME_SLIDER);
    copyBackgroundColumn(dc, area);
    Gdiplus::Graphics graphics(dc);
    drawImage(graphics, track, area.left, area.top);
    if (volumeBall_) {
        const int x =
            area.left + playbar::volumeKnobOffset(imageWidth(track), volumeKnobWidth(), shownVolume_);
        const int y = (area.top + area.bottom - imageHeight(volumeBall_.get())) / 2;
        drawImage(graphics, volumeBall_.get(), x, y);
    }
}

void PlayBar::present(HDC dc) {
    BufferLock::Hold hold(bufferLock_);
    if ((dc == nullptr && !contentReady_) || window_ == nullptr || compositeBuffer_.empty()) {
        return;
    }
    WindowDC own(dc == nullptr ? window_ : nullptr);
    HDC target = dc != nullptr ? dc : own.get();
    for (int id : {IDC_VOLUME_SLIDER, IDC_TIME_SLIDER}) {
        if (GetDlgItem(window_, id) == nullptr) {
            continue;
        }
        const RECT area = sliderArea(id);
        const int width = std::min(compositeBuffer_.width(), rectWidth(area));
        BitBlt(target, area.left, 0, width, compositeBuffer_.height(), compositeBuffer_.dc(), area.left, 0,
               SRCCOPY);
    }
}

void PlayBar::refreshTime() {
    PlayLogic* logic = controller();
    const int state = logic != nullptr ? logic->state() : StateNothing;
    if (state == StatePlaying || state == StatePaused) {
        // While a seek is on its way the display stays at its target, not at the times before it.
        position_ = logic->timeShown();
        length_ = logic->player()->getLength();
    }
    redrawTime();
    refreshVolume();
}

void PlayBar::showPosition(std::int64_t positionMs) {
    position_ = positionMs;
    redrawTime();
}

void PlayBar::redrawTime() {
    position_ = std::max<std::int64_t>(std::min(position_, length_), 0);
    if (!compositeBuffer_.empty()) {
        {
            BufferLock::Hold hold(bufferLock_);
            drawTimeSlider(compositeBuffer_.dc());
            contentReady_ = true;
        }
        present();
    }
    tellPositionToReaders();
}

void PlayBar::refreshVolume() {
    PlayLogic* logic = controller();
    if (logic == nullptr) {
        return;
    }
    const bool muteChanged = logic->muted() != shownMuted_;
    if (muteChanged) {
        shownMuted_ = logic->muted();
        if (HWND mute = window_ != nullptr ? GetDlgItem(window_, IDC_BTN_MUTE) : nullptr) {
            // Its name tells a screen reader what the struck-through picture shows.
            SetWindowTextW(mute, playbar::muteButtonName(shownMuted_).c_str());
            InvalidateRect(mute, nullptr, FALSE);
        }
    }
    const int volume = logic->muted() ? 0 : logic->volume();
    if (volume == shownVolume_) {
        if (muteChanged) {
            tellVolumeToReaders();
        }
        return;
    }
    shownVolume_ = volume;
    tellVolumeToReaders();
    if (!compositeBuffer_.empty()) {
        {
            BufferLock::Hold hold(bufferLock_);
            drawVolumeSlider(compositeBuffer_.dc());
            contentReady_ = true;
        }
        present();
    }
}

void PlayBar::pressSlider(LPARAM lParam) {
    dragTarget_ = 0;
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const RECT timeArea = sliderArea(IDC_TIME_SLIDER);
    const RECT volumeArea = sliderArea(IDC_VOLUME_SLIDER);
    if (PtInRect(&timeArea, point)) {
        dragTarget_ = IDC_TIME_SLIDER;
    } else if (PtInRect(&volumeArea, point)) {
        dragTarget_ = IDC_VOLUME_SLIDER;
    }
    if (dragTarget_ != 0) {
        SetCapture(window_);
        if (GetCapture() == window_) {
            dragSlider(lParam);
        }
    }
}

void PlayBar::dragSlider(LPARAM lParam) {
    if (dragTarget_ == 0) {
        return;
    }
    const int x = static_cast<short>(LOWORD(lParam));
    const RECT area = sliderArea(dragTarget_);
    const bool time = dragTarget_ == IDC_TIME_SLIDER;
    const int knob = time ? timeKnobWidth() : volumeKnobWidth();
    const double fraction = playbar::dragFraction(x, area.left, area.right, knob);
    PlayLogic* logic = controller();
    if (time) {
        // Without a known length (before the player's first time report) there is nowhere to seek to;
        // seeking to 0 would throw the clip back to its start. The controller keeps the place, so that a
        // seek by key still on its way doesn't pull the display back to its own target.
        if (logic != nullptr && length_ > 0) {
            logic->seekTo(playbar::timeForFraction(fraction, length_));
        }
        refreshTime();
    } else if (logic != nullptr) {
        logic->setVolume(playbar::volumeForFraction(fraction));
    }
}

void PlayBar::endDrag() {
    if (window_ != nullptr && GetCapture() == window_) {
        ReleaseCapture();
    }
    dragTarget_ = 0;
}

void PlayBar::resetAfterStop() {
    endDrag();
    lastActivity_ = 0;
    length_ = 0;
    // With the auto-hide off, nothing would show a hidden bar again: a stop in full screen brings it back.
    if (window_ != nullptr && !isShown()) {
        setShown(true);
    }
}
