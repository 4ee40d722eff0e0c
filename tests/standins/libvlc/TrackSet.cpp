#include "TrackSet.h"

#include <algorithm>
#include <iterator>

namespace standin {
namespace {

struct Language {
    const char* code;       // bibliographic
    const char* otherCode;  // terminology, where it differs
    const char* name;
};

const Language kLanguages[] = {
    {"eng", "", "English"},  {"fre", "fra", "French"},  {"ger", "deu", "German"}, {"spa", "", "Spanish"},
    {"ita", "", "Italian"},  {"por", "", "Portuguese"}, {"dut", "nld", "Dutch"},  {"rus", "", "Russian"},
    {"jpn", "", "Japanese"}, {"chi", "zho", "Chinese"}, {"kor", "", "Korean"},    {"ara", "", "Arabic"},
    {"pol", "", "Polish"},   {"swe", "", "Swedish"},    {"ukr", "", "Ukrainian"}, {"gre", "ell", "Greek"},
};

}  // namespace

std::string languageName(const std::string& code) {
    for (const Language& language : kLanguages) {
        if (code == language.code || (*language.otherCode != 0 && code == language.otherCode)) {
            return language.name;
        }
    }
    return code;
}

TrackSet::TrackSet(const std::vector<TrackFacts>& tracks) {
    for (const TrackFacts& track : tracks) {
        const int id = add(track.kind, track.language, track.name);
        if (track.kind != TrackKind::Video && track.isDefault && chosen(track.kind) < 0) {
            chosen(track.kind) = id;
        }
    }
    // Audio plays even when no track is marked as default.
    const std::vector<EsTrack> audio = of(TrackKind::Audio);
    if (audio_ < 0 && !audio.empty()) {
        audio_ = audio.front().id;
    }
}

int TrackSet::add(TrackKind kind, const std::string& language, const std::string& name) {
    const std::size_t position = of(kind).size() + 1;
    std::string text = name.empty() ? "Track " + std::to_string(position) : name;
    if (!language.empty()) {
        text += " - [" + languageName(language) + "]";
    }
    tracks_.push_back({nextId_, kind, text});
    return nextId_++;
}

std::vector<EsTrack> TrackSet::of(TrackKind kind) const {
    std::vector<EsTrack> tracks;
    std::copy_if(tracks_.begin(), tracks_.end(), std::back_inserter(tracks),
                 [kind](const EsTrack& t) { return t.kind == kind; });
    return tracks;
}

int TrackSet::current(TrackKind kind) const {
    return kind == TrackKind::Audio ? audio_ : kind == TrackKind::Subtitle ? subtitle_ : -1;
}

bool TrackSet::choose(TrackKind kind, int id) {
    const std::vector<EsTrack> tracks = of(kind);
    const bool known =
        std::any_of(tracks.begin(), tracks.end(), [id](const EsTrack& t) { return t.id == id; });
    if (kind == TrackKind::Video || (id != -1 && !known)) {
        return false;
    }
    chosen(kind) = id;
    return true;
}

int TrackSet::addSubtitleFile(bool select) {
    const int id = add(TrackKind::Subtitle, "", "");
    if (select) {
        subtitle_ = id;
    }
    return id;
}

}  // namespace standin
