#include "playback/VlcApi.h"

// The native build links libvlc, so the table simply names the functions.
#define VELMORA_VLC_LINKED_ENTRY(name) &::name,

const VlcApi* loadVlcApi() {
    static const VlcApi linked = {VELMORA_VLC_ENTRIES(VELMORA_VLC_LINKED_ENTRY)
                                      VELMORA_VLC_OPTIONAL_ENTRIES(VELMORA_VLC_LINKED_ENTRY)};
    return &linked;
}
