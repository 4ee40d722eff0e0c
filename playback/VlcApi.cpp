#include "playback/VlcApi.h"

#include "playback/MediaPlayer.h"

namespace {

bool overridden = false;
const VlcApi* overrideTable = nullptr;

}  // namespace

unsigned featuresOf(const VlcApi& api) {
    // Both track lists are given back through the one release call.
    const bool lists = api.libvlc_track_description_list_release != nullptr;
    unsigned features = 0;
    if (lists && api.libvlc_audio_get_track_description && api.libvlc_audio_get_track &&
        api.libvlc_audio_set_track) {
        features |= FeatureAudioTracks;
    }
    if (lists && api.libvlc_video_get_spu_description && api.libvlc_video_get_spu &&
        api.libvlc_video_set_spu) {
        features |= FeatureSubtitleTracks;
    }
    if (api.libvlc_media_player_add_slave) {
        features |= FeatureSubtitleFiles;
    }
    if (api.libvlc_media_player_get_rate && api.libvlc_media_player_set_rate) {
        features |= FeatureRate;
    }
    if (api.libvlc_video_set_marquee_int && api.libvlc_video_set_marquee_string) {
        features |= FeatureOnScreenText;
    }
    if (api.libvlc_media_player_get_full_chapter_descriptions && api.libvlc_chapter_descriptions_release &&
        api.libvlc_media_player_get_chapter && api.libvlc_media_player_set_chapter) {
        features |= FeatureChapters;
    }
    if (api.libvlc_video_get_spu_delay && api.libvlc_video_set_spu_delay) {
        features |= FeatureSubtitleDelay;
    }
    if (api.libvlc_audio_get_delay && api.libvlc_audio_set_delay) {
        features |= FeatureAudioDelay;
    }
    return features;
}

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
