#include "app/instance/HandOffValue.h"

namespace handoffvalue {

bool handleWorthReading(std::uint32_t type, std::size_t size) {
    return type == kDwordType && size <= 4;
}

std::size_t storedPathBytes(std::size_t length) {
    return (length + 1) * 2;
}

bool runningCopyTakes(std::size_t length) {
    return storedPathBytes(length) <= kMaxPathBytes;
}

std::size_t storedPathLength(std::uint32_t type, const unsigned char* data, std::size_t size) {
    if (type != kTextType || data == nullptr || size > kMaxPathBytes) {
        return 0;
    }
    const std::size_t units = size / 2;
    for (std::size_t i = 0; i < units; ++i) {
        if (data[2 * i] == 0 && data[2 * i + 1] == 0) {
            return i;
        }
    }
    return units;
}

}  // namespace handoffvalue
