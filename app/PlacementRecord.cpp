#include "app/PlacementRecord.h"

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

std::uint32_t savedShowCommand(std::uint32_t showCommand, std::uint32_t flags) {
    if (showCommand != kShowMinimized && showCommand != kMinimize && showCommand != kShowMinNoActive) {
        return showCommand;
    }
    return (flags & kRestoreToMaximized) != 0 ? kShowMaximized : kShowNormal;
}

}  // namespace placementrecord
