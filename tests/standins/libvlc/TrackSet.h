#pragma once

#include <string>
#include <vector>

#include "PsProbe.h"

// The audio and subtitle tracks of the input that plays, as the real library lists and chooses them:
//   - ids count the streams in the order they were made (the video's too), from 0; a subtitle file
//     added later takes the next id;
//   - texts are "<name> - [<language>]", or "Track <n> - [<language>]" without a name, n counting the
//     tracks of that kind from 1; without a language just the name or "Track <n>" (as an added
//     subtitle file is); languages by their English names;
//   - the input starts with the first audio track the file marks as default (else the first), and the
//     first subtitle track marked as default (else none).
// Plain C++, so that the native tests hold it against the real library.
namespace standin {

struct EsTrack {
    int id;
    TrackKind kind;
    std::string text;
};

class TrackSet {
public:
    TrackSet() = default;
    explicit TrackSet(const std::vector<TrackFacts>& tracks);

    // Every track, the video's too, by id.
    const std::vector<EsTrack>& all() const { return tracks_; }
    std::vector<EsTrack> of(TrackKind kind) const;
    // -1 when none is chosen.
    int current(TrackKind kind) const;
    // -1 chooses none; false (and nothing changes) for an id that is no track of that kind.
    bool choose(TrackKind kind, int id);
    // A subtitle file read into the input: its track, chosen when `select`; answers its id.
    int addSubtitleFile(bool select);

private:
    int& chosen(TrackKind kind) { return kind == TrackKind::Audio ? audio_ : subtitle_; }
    int add(TrackKind kind, const std::string& language, const std::string& name);

    std::vector<EsTrack> tracks_;
    int nextId_ = 0;
    int audio_ = -1;
    int subtitle_ = -1;
};

// The English name of an ISO 639-2 code as the library shows it ("fre" and "fra" are "French"); a code
// it doesn't know stands for itself.
std::string languageName(const std::string& code);

}  // namespace standin
