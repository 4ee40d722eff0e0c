#pragma once

// A change as the controller tells it to its view, built in one expression for a table's row:
// Told(Kind::Chapter, L"The Storm").at(2). Fields not named keep the values a Change starts with.

#include <cstdint>
#include <string>
#include <utility>

#include "playback/Change.h"

struct Told {
    Change change;

    explicit Told(Change::Kind kind, std::wstring name = {}) : change(kind) { change.name = std::move(name); }
    Told& percent(int value) { return change.percent = value, *this; }
    Told& muted() { return change.muted = true, *this; }
    Told& speed(float value) { return change.speed = value, *this; }
    Told& at(int index) { return change.index = index, *this; }
    Told& delay(std::int64_t ms) { return change.delay = ms, *this; }
    Told& time(std::int64_t ms, std::int64_t length = 0) {
        return change.time = ms, change.length = length, *this;
    }
    operator Change() const { return change; }
};
