#include "app/window/Placement.h"

#include <cstring>
#include <string>

#include "app/AppState.h"
#include "app/MediaPlayerApp.h"
#include "app/window/PlacementRecord.h"
#include "app/instance/RegistryKey.h"

namespace {

// The value keeps the name and the 8-bit calls of earlier versions, which read and write it too.
constexpr char kPlacementValue[] = "MAIN_WP";

static_assert(sizeof(WINDOWPLACEMENT) == placementrecord::kRecordBytes,
              "the stored record is the platform's placement, byte for byte");

std::wstring placementKeyPath() {
    return std::wstring(L"Software\\") + identity::kMakerName + L"\\" + identity::kShortProductName;
}

}  // namespace

bool loadPlacement() {
    RegistryKey key;
    if (!key.openOrCreate(placementKeyPath().c_str())) {
        return false;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), kPlacementValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        !placementrecord::worthReading(type, size)) {
        return false;
    }
    unsigned char bytes[placementrecord::kRecordBytes] = {};
    DWORD read = sizeof(bytes);
    if (RegQueryValueExA(key.get(), kPlacementValue, nullptr, &type, bytes, &read) != ERROR_SUCCESS ||
        !placementrecord::isCompleteRecord(type, read)) {
        return false;
    }
    AppState& state = appState();
    std::memcpy(&state.placement, bytes, sizeof(bytes));
    state.placementValid = TRUE;
    return true;
}

bool savePlacement() {
    RegistryKey key;
    const AppState& state = appState();
    // Without a placement of this run (or one read at start) the stored value stays as it is.
    if (!key.openOrCreate(placementKeyPath().c_str()) || !state.placementValid) {
        return false;
    }
    return RegSetValueExA(key.get(), kPlacementValue, 0, REG_BINARY,
                          reinterpret_cast<const BYTE*>(&state.placement),
                          sizeof(state.placement)) == ERROR_SUCCESS;
}

void keepRestorable(WINDOWPLACEMENT& placement) {
    placement.showCmd = placementrecord::savedShowCommand(placement.showCmd, placement.flags);
}
