#include "app/window/PlacementRecord.h"

namespace placementrecord {

namespace {

// SW_SHOWMINIMIZED, SW_MINIMIZE and SW_SHOWMINNOACTIVE all leave the window minimised.
constexpr std::uint32_t kMinimize = 6;
constexpr std::uint32_t kShowMinNoActive = 7;

}  // namespace

bool worthReading(std::uint32_t type, std::size_t size) {
    return type == kBinaryType && size <= kRecordBytes;
}

bool isCompleteRecord(std::uint32_t type, std::size_t sizeRead) {
    return type == kBinaryType && sizeRead == kRecordBytes;
}

bool minimises(std::uint32_t showCommand) {
    return showCommand == kShowMinimized || showCommand == kMinimize || showCommand == kShowMinNoActive;
}

std::uint32_t savedShowCommand(std::uint32_t showCommand, std::uint32_t flags) {
    if (!minimises(showCommand)) {
        return showCommand;
    }
    return (flags & kRestoreToMaximized) != 0 ? kShowMaximized : kShowNormal;
}

std::uint32_t firstShowCommand(std::uint32_t startShow, std::uint32_t savedShow) {
    const bool keepsStart = savedShow != kShowMaximized || minimises(startShow) || startShow == kHide;
    return keepsStart ? startShow : kShowMaximized;
}

}  // namespace placementrecord
