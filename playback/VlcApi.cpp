#include "playback/VlcApi.h"

namespace {

bool overridden = false;
const VlcApi* overrideTable = nullptr;

}  // namespace

const VlcApi* vlcApi() {
    if (overridden) {
        return overrideTable;
    }
    return loadVlcApi();
}

void overrideVlcApi(const VlcApi* api) {
    overrideTable = api;
    overridden = true;
}

void restoreVlcApi() {
    overrideTable = nullptr;
    overridden = false;
}
