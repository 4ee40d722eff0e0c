// The readers of the stored values, fed the raw bytes and type of a value as another copy of the
// player, an older version or a damaged registry may have left them.
#include <cstring>
#include <vector>

#include "app/instance/HandOffValue.h"
#include "app/window/PlacementRecord.h"
#include "playback/ResumeRules.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint32_t type = data[0] % 12;  // the registry's value types, and a few beyond
    // The value in a buffer of exactly its size, so that reading past it is a finding.
    const std::vector<unsigned char> value(data + 1, data + size);
    const std::size_t bytes = value.size();

    // "MAIN_WP": only a binary value of exactly 44 bytes is a placement.
    const bool placement =
        placementrecord::worthReading(type, bytes) && placementrecord::isCompleteRecord(type, bytes);
    FUZZ_CHECK(placement == (type == 3 && bytes == 44));
    if (bytes >= 12) {
        std::uint32_t flags = 0, show = 0;
        std::memcpy(&flags, value.data() + 4, 4);
        std::memcpy(&show, value.data() + 8, 4);
        const std::uint32_t saved = placementrecord::savedShowCommand(show, flags);
        const bool minimised = show == 2 || show == 6 || show == 7;
        FUZZ_CHECK(minimised ? (saved == ((flags & 2) != 0 ? 3u : 1u)) : saved == show);
    }

    // "MainFrame_Handle": a number of at most 4 bytes.
    FUZZ_CHECK(handoffvalue::handleWorthReading(type, bytes) == (type == 4 && bytes <= 4));

    // "MainFrame_NewFile": the units before the first NUL, never past the value, nothing above 520 bytes.
    const std::size_t length =
        handoffvalue::storedPathLength(type, value.empty() ? nullptr : value.data(), bytes);
    if (type != 1 || bytes > 520) {
        FUZZ_CHECK(length == 0);
    } else {
        FUZZ_CHECK(length <= bytes / 2);
        for (std::size_t i = 0; i < length; ++i) {
            FUZZ_CHECK(value[2 * i] != 0 || value[2 * i + 1] != 0);
        }
        FUZZ_CHECK(length == bytes / 2 || (value[2 * length] == 0 && value[2 * length + 1] == 0));
    }
    FUZZ_CHECK(handoffvalue::runningCopyTakes(length) == (handoffvalue::storedPathBytes(length) <= 520));

    // A file's place under "Resume": a binary record of exactly 16 bytes whose place is not negative, and
    // what it reads writes back as the same bytes.
    resume::Record record;
    const bool place = resume::decode(type, value.empty() ? nullptr : value.data(), bytes, record);
    FUZZ_CHECK(place == (type == 3 && bytes == 16 && (value[7] & 0x80) == 0));
    FUZZ_CHECK(!place || std::memcmp(resume::encode(record).data(), value.data(), 16) == 0);
    return 0;
}
