#include "StandinPlayer.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "FramePainter.h"
#include "InputFile.h"
#include "StandinLog.h"
#include "tests/common/Utf8.h"

namespace standin {
namespace {

using std::chrono::milliseconds;

// The real library reports the time about every 250 ms while playing; frames come at 25 per second.
constexpr auto kTimeEventPeriod = milliseconds(250);
constexpr auto kFramePeriod = milliseconds(40);
constexpr auto kPollPeriod = milliseconds(10);
constexpr DWORD kPollPeriodMs = 10;

const char* const kMarqueeOptions[] = {"Enable",  "Text", "Color",   "Opacity", "Position",
                                       "Refresh", "Size", "Timeout", "X",       "Y"};

const char* marqueeOption(unsigned option) {
    return option < sizeof kMarqueeOptions / sizeof kMarqueeOptions[0] ? kMarqueeOptions[option] : "?";
}

// The text as strftime formats it now; false for a format the Windows C runtime refuses (a '%' with no
// conversion after it, "Volume 80 %"), which glibc would print as it is.
bool timeFormat(const std::string& format, std::string& formatted) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            continue;
        }
        std::size_t conversion = i + 1;
        if (conversion < format.size() && format[conversion] == '#') {
            ++conversion;
        }
        if (conversion >= format.size() ||
            std::string("aAbBcdHIjmMpSUwWxXyYzZ%").find(format[conversion]) == std::string::npos) {
            return false;
        }
        i = conversion;
    }
    const std::time_t now = std::time(nullptr);
    std::vector<char> text(format.size() * 8 + 64);
    const std::size_t size = std::strftime(text.data(), text.size(), format.c_str(), std::localtime(&now));
    formatted.assign(text.data(), size);
    return size > 0 || format.empty();
}

libvlc_track_type_t typeOf(TrackKind kind) {
    return kind == TrackKind::Audio   ? libvlc_track_audio
           : kind == TrackKind::Video ? libvlc_track_video
                                      : libvlc_track_text;
}

int hexDigit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                  : -1;
}

// The Windows path a file:// address names: file:///C:/a%20b.srt is C:\a b.srt, file://server/share/x
// is \\server\share\x; empty for any other address.
std::wstring pathOfFileUrl(const std::string& url) {
    const std::string scheme = "file://";
    if (url.compare(0, scheme.size(), scheme) != 0) {
        return {};
    }
    std::string decoded;
    for (std::size_t i = scheme.size(); i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size() && hexDigit(url[i + 1]) >= 0 && hexDigit(url[i + 2]) >= 0) {
            decoded += static_cast<char>(hexDigit(url[i + 1]) * 16 + hexDigit(url[i + 2]));
            i += 2;
        } else {
            decoded += url[i];
        }
    }
    std::wstring path = testtext::fromUtf8(decoded);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (path.size() >= 4 && path[0] == L'\\' && path[2] == L':' && path[3] == L'\\') {
        return path.substr(1);
    }
    return path.empty() || path[0] == L'\\' ? std::wstring() : L"\\\\" + path;
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool probePath(const std::string& path, ClipFacts& facts) {
    const std::wstring wide = testtext::fromUtf8(path);
    std::FILE* file = wide.empty() ? nullptr : _wfopen(wide.c_str(), L"rb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = probeClipFile(file, facts);
    std::fclose(file);
    return ok;
}

}  // namespace

Player::~Player() {
    if (worker_.joinable()) {
        // Only reached when the last reference goes with the session's own thread.
        if (worker_.get_id() == std::this_thread::get_id()) {
            worker_.detach();
        } else {
            worker_.join();
        }
    }
}

libvlc_event_t Player::eventOf(libvlc_event_type_t type) const {
    libvlc_event_t event{};
    event.type = type;
    event.p_obj = owner_;
    return event;
}

void Player::raise(libvlc_event_type_t type) {
    events_.send(eventOf(type));
}

void Player::raiseTime(std::int64_t ms) {
    libvlc_event_t event = eventOf(libvlc_MediaPlayerTimeChanged);
    event.u.media_player_time_changed.new_time = ms;
    events_.send(event);
}

void Player::raiseLength(std::int64_t ms) {
    libvlc_event_t event = eventOf(libvlc_MediaPlayerLengthChanged);
    event.u.media_player_length_changed.new_length = ms;
    events_.send(event);
}

std::int64_t Player::clockTime() const {
    if (!clockRunning_) {
        return clockBase_;
    }
    const auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - clockStart_).count();
    return clockBase_ + static_cast<std::int64_t>(static_cast<double>(elapsed) * rate_);
}

void Player::raiseTrack(libvlc_event_type_t type, TrackKind kind, int id) {
    libvlc_event_t event = eventOf(type);
    event.u.media_player_es_changed.i_type = typeOf(kind);
    event.u.media_player_es_changed.i_id = id;
    events_.send(event);
}

void Player::checkStopHazard(const char* call) {
    if (stopping_ && EventHub::inDelivery()) {
        std::string text = std::string(call) + " called from an event listener while a stop is under way";
        reportHazard(text.c_str());
    }
}

void Player::run(unsigned generation, std::string path) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!isCurrent(generation)) {
            return;
        }
        state_ = kOpening;
    }
    raise(libvlc_MediaPlayerOpening);

    // A pipe can't be probed ahead: the real library reads its first bytes, waiting for them as long as
    // the writer takes, and finds no stream in zeros. A file is probed; one with a stream is played by
    // the clock, and only one without is read.
    auto input = std::make_unique<InputFile>(path);
    ClipFacts facts;
    bool readable = input->isOpen();
    if (readable && input->isPipe()) {
        readable = readHead(generation, *input);
    } else if (readable) {
        readable = probePath(path, facts);
        if (facts.hasVideo || facts.hasAudio) {
            input.reset();
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!isCurrent(generation)) {
            return;
        }
        if (!readable) {
            state_ = kError;
        } else {
            state_ = kPlaying;
            readingThrough_ = input != nullptr;
            clockBase_ = 0;
            clockStart_ = Clock::now();
            clockRunning_ = true;
        }
    }
    if (!readable) {
        // A missing or empty file: the real library reports the error, then ends the input.
        raise(libvlc_MediaPlayerEncounteredError);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!isCurrent(generation)) {
                return;
            }
            state_ = kEnded;
            finished_ = true;
        }
        raise(libvlc_MediaPlayerStopped);
        return;
    }
    // As in the real library, the length and the tracks become known only after the playing event.
    raise(libvlc_MediaPlayerPlaying);
    std::vector<EsTrack> made;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!isCurrent(generation)) {
            return;
        }
        length_ = facts.lengthMs;
        videoTracks_ = facts.hasVideo ? 2 : 0;  // the real count includes a "Disable" choice
        video_ = facts.hasVideo;
        if (video_ && marqueeEnabled_) {
            marqueeShown_ = Clock::now();  // a new picture shows the marquee again, for its whole timeout
        }
        tracks_ = TrackSet(facts.tracks);
        made = tracks_.all();
        subtitleFilesWaiting_ = mediaSubtitleFiles_;
        // An output taken away by stop comes back once there is audio to decode.
        audioOutput_ = audioOutput_ || facts.hasAudio;
    }
    for (const EsTrack& track : made) {
        raiseTrack(libvlc_MediaPlayerESAdded, track.kind, track.id);
    }
    raiseLength(facts.lengthMs);
    runPlayback(generation, facts, input.get());
}

bool Player::readHead(unsigned generation, InputFile& input) {
    for (;;) {
        const InputFile::Read read = input.read(kPollPeriodMs);
        if (read != InputFile::Read::Waiting) {
            return read == InputFile::Read::Data;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (!isCurrent(generation)) {
            return false;
        }
    }
}

void Player::runPlayback(unsigned generation, const ClipFacts& facts, InputFile* input) {
    std::unique_lock<std::mutex> lock(mutex_);
    Clock::time_point lastTimeEvent = Clock::now();
    Clock::time_point lastFrame = lastTimeEvent - kFramePeriod;
    while (isCurrent(generation)) {
        wake_.wait_for(lock, kPollPeriod);
        if (!isCurrent(generation)) {
            break;
        }
        const Clock::time_point now = Clock::now();
        if (pauseWanted_) {
            pauseWanted_ = false;
            if (state_ == kPlaying) {
                clockBase_ = clockTime();
                clockRunning_ = false;
                state_ = kPaused;
                lock.unlock();
                raise(libvlc_MediaPlayerPaused);
                lock.lock();
            }
            continue;
        }
        if (resumeWanted_) {
            resumeWanted_ = false;
            if (state_ == kPaused) {
                clockStart_ = now;
                clockRunning_ = true;
                state_ = kPlaying;
                lastTimeEvent = now;
                lock.unlock();
                raise(libvlc_MediaPlayerPlaying);
                lock.lock();
            }
            continue;
        }
        if (!subtitleFilesWaiting_.empty() || !choicesWaiting_.empty()) {
            takeWaitingChanges(generation, lock);
            continue;
        }
        if (readingThrough_) {
            // An input with no stream: its time stays 0 until all of it is read.
            if (state_ == kPlaying) {
                lock.unlock();
                const bool end = input->read(kPollPeriodMs) == InputFile::Read::End;
                lock.lock();
                if (end && isCurrent(generation)) {
                    readingThrough_ = false;
                    clockBase_ = 0;
                    clockStart_ = Clock::now();
                }
            }
            continue;
        }
        const std::int64_t time = clockTime();
        if (state_ == kPlaying && time >= length_) {
            // A seek past the end is reported as such; a natural end stops exactly at the length.
            clockBase_ = std::max(clockBase_, length_);
            clockRunning_ = false;
            state_ = kEnded;
            finished_ = true;
            videoTracks_ = facts.hasVideo ? 1 : 0;  // the video track is gone, "Disable" remains
            const std::int64_t endTime = clockBase_;
            const HWND window = window_;
            const std::wstring text = onScreenText();
            lock.unlock();
            paintFrame(window, endTime, facts.lengthMs, text);
            raise(libvlc_MediaPlayerEndReached);
            lock.lock();
            const bool stillCurrent = isCurrent(generation);  // not if a listener stopped us meanwhile
            lock.unlock();
            if (stillCurrent) {
                raise(libvlc_MediaPlayerStopped);
            }
            return;
        }
        if (state_ == kPlaying && now - lastTimeEvent >= kTimeEventPeriod) {
            lastTimeEvent = now;
            lock.unlock();
            raiseTime(time);
            lock.lock();
            continue;
        }
        if (now - lastFrame >= kFramePeriod && window_ != nullptr) {
            lastFrame = now;
            const HWND window = window_;
            const std::wstring text = onScreenText();
            lock.unlock();
            paintFrame(window, time, facts.lengthMs, text);
            lock.lock();
        }
    }
}

void Player::endSession() {
    std::thread worker;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        active_ = false;
        finished_ = false;
        pauseWanted_ = false;
        resumeWanted_ = false;
        clockRunning_ = false;
        clockBase_ = 0;
        length_ = -1;
        readingThrough_ = false;
        videoTracks_ = -1;
        video_ = false;
        tracks_ = TrackSet();
        subtitleFilesWaiting_.clear();
        choicesWaiting_.clear();
        worker = std::move(worker_);
    }
    wake_.notify_all();
    if (worker.joinable()) {
        if (worker.get_id() == std::this_thread::get_id()) {
            worker.detach();  // called from our own listener: the thread leaves once the listener returns
        } else {
            worker.join();
        }
    }
}

void Player::setMedia(const std::string* path, libvlc_media_t* media) {
    logCall(path != nullptr ? ("set_media " + *path).c_str() : "set_media none");
    if (EventHub::inDelivery()) {
        reportHazard("set_media called inside an event listener");
    }
    stopping_ = true;
    endSession();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        state_ = kNothingSpecial;
        hasMedia_ = path != nullptr;
        mediaPath_ = path != nullptr ? *path : std::string();
        mediaSubtitleFiles_.clear();
    }
    libvlc_event_t event = eventOf(libvlc_MediaPlayerMediaChanged);
    event.u.media_player_media_changed.new_media = media;
    events_.send(event);
    stopping_ = false;
}

int Player::play() {
    logCall("play");
    std::lock_guard<std::mutex> lock(mutex_);
    if (!hasMedia_) {
        return -1;
    }
    if (active_) {
        // An ended input stays until stop; a paused one resumes.
        if (!finished_ && (state_ == kPaused || pauseWanted_)) {
            pauseWanted_ = false;
            resumeWanted_ = true;
            wake_.notify_all();
        }
        return 0;
    }
    ++generation_;
    active_ = true;
    finished_ = false;
    clockBase_ = 0;
    clockRunning_ = false;
    length_ = 0;
    videoTracks_ = 0;
    worker_ = std::thread(&Player::run, shared_from_this(), generation_, mediaPath_);
    return 0;
}

void Player::pause() {
    logCall("pause");
    std::lock_guard<std::mutex> lock(mutex_);
    if (!active_ || finished_) {
        return;
    }
    // The real library decides from the state it sees now, so two quick pauses both pause.
    if (state_ == kPlaying) {
        pauseWanted_ = true;
        resumeWanted_ = false;
    } else if (state_ == kPaused) {
        resumeWanted_ = true;
        pauseWanted_ = false;
    }
    wake_.notify_all();
}

void Player::stop() {
    logCall("stop");
    if (EventHub::inDelivery()) {
        reportHazard("stop called inside an event listener");
    }
    stopping_ = true;
    int before;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        before = state_;
    }
    endSession();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        state_ = kStopped;
        audioOutput_ = false;
    }
    if (before != kStopped) {
        raise(libvlc_MediaPlayerStopped);  // on the caller's thread, before stop returns
    }
    stopping_ = false;
}

void Player::shutdown() {
    if (EventHub::inDelivery()) {
        reportHazard("release called inside an event listener");
    }
    endSession();
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = nullptr;
}

int Player::state() {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

bool Player::isPlaying() {
    return state() == kPlaying;
}

std::int64_t Player::time() {
    checkStopHazard("get_time");
    std::lock_guard<std::mutex> lock(mutex_);
    if (!active_) {
        return -1;
    }
    return readingThrough_ ? 0 : clockTime();
}

std::int64_t Player::length() {
    checkStopHazard("get_length");
    std::lock_guard<std::mutex> lock(mutex_);
    return active_ ? length_ : -1;
}

int Player::videoTrackCount() {
    checkStopHazard("video_get_track_count");
    std::lock_guard<std::mutex> lock(mutex_);
    return active_ ? videoTracks_ : -1;
}

void Player::setTime(std::int64_t ms) {
    char text[48];
    std::snprintf(text, sizeof text, "set_time %lld", static_cast<long long>(ms));
    logCall(text);
    checkStopHazard("set_time");
    const std::int64_t target = std::max<std::int64_t>(ms, 0);
    bool announce;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!active_ || state_ == kOpening || readingThrough_) {
            return;
        }
        clockBase_ = target;
        clockStart_ = Clock::now();
        // The real library tells of the new time at once, on the caller's thread, but only while playing.
        announce = state_ == kPlaying;
    }
    wake_.notify_all();
    if (announce) {
        raiseTime(target);
    }
}

int Player::volume() {
    std::lock_guard<std::mutex> lock(mutex_);
    return audioOutput_ ? volume_ : -1;
}

int Player::setVolume(int percent) {
    char text[32];
    std::snprintf(text, sizeof text, "set_volume %d", percent);
    logCall(text);
    std::lock_guard<std::mutex> lock(mutex_);
    // Only negative values are refused; there is no upper bound.
    if (!audioOutput_ || percent < 0) {
        return -1;
    }
    volume_ = percent;
    return 0;
}

int Player::mute() {
    std::lock_guard<std::mutex> lock(mutex_);
    return audioOutput_ ? (muted_ ? 1 : 0) : -1;
}

void Player::setMute(bool on) {
    logCall(on ? "set_mute 1" : "set_mute 0");
    std::lock_guard<std::mutex> lock(mutex_);
    if (audioOutput_) {
        muted_ = on;
    }
}

void Player::setWindow(HWND window) {
    logCall(window != nullptr ? "set_hwnd window" : "set_hwnd none");
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = window;
}

void Player::takeWaitingChanges(unsigned generation, std::unique_lock<std::mutex>& lock) {
    const auto choices = std::move(choicesWaiting_);
    choicesWaiting_.clear();
    lock.unlock();
    for (const auto& choice : choices) {
        raiseTrack(libvlc_MediaPlayerESSelected, choice.first, choice.second);
    }
    lock.lock();
    const auto files = std::move(subtitleFilesWaiting_);
    subtitleFilesWaiting_.clear();
    for (const auto& file : files) {
        lock.unlock();
        const bool there = isFile(pathOfFileUrl(file.first));
        lock.lock();
        if (!there || !isCurrent(generation)) {
            continue;
        }
        const int id = tracks_.addSubtitleFile(file.second);
        lock.unlock();
        raiseTrack(libvlc_MediaPlayerESAdded, TrackKind::Subtitle, id);
        if (file.second) {
            raiseTrack(libvlc_MediaPlayerESSelected, TrackKind::Subtitle, id);
        }
        lock.lock();
    }
}

std::vector<EsTrack> Player::tracks(TrackKind kind) {
    std::lock_guard<std::mutex> lock(mutex_);
    return active_ ? tracks_.of(kind) : std::vector<EsTrack>();
}

int Player::currentTrack(TrackKind kind) {
    std::lock_guard<std::mutex> lock(mutex_);
    return active_ ? tracks_.current(kind) : -1;
}

int Player::chooseTrack(TrackKind kind, int id) {
    logCall(
        ((kind == TrackKind::Audio ? "audio_set_track " : "video_set_spu ") + std::to_string(id)).c_str());
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!active_ || !tracks_.choose(kind, id)) {
            return -1;
        }
        choicesWaiting_.emplace_back(kind, id);
    }
    wake_.notify_all();
    return 0;
}

int Player::addSubtitleFile(const std::string& url, bool select) {
    logCall(("add_slave subtitle " + url + (select ? " select 1" : " select 0")).c_str());
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!hasMedia_) {
            return -1;
        }
        if (!active_) {
            mediaSubtitleFiles_.emplace_back(url, select);
            return 0;
        }
        subtitleFilesWaiting_.emplace_back(url, select);
    }
    wake_.notify_all();
    return 0;
}

float Player::rate() {
    std::lock_guard<std::mutex> lock(mutex_);
    return rate_;
}

int Player::setRate(float rate) {
    char text[48];
    std::snprintf(text, sizeof text, "set_rate %g", static_cast<double>(rate));
    logCall(text);
    std::lock_guard<std::mutex> lock(mutex_);
    // The time so far ran at the old rate.
    clockBase_ = clockTime();
    clockStart_ = Clock::now();
    rate_ = rate;
    return 0;
}

void Player::setMarqueeInt(unsigned option, int value) {
    logCall((std::string("set_marquee_int ") + marqueeOption(option) + " " + std::to_string(value)).c_str());
    std::lock_guard<std::mutex> lock(mutex_);
    if (option == libvlc_marquee_Timeout) {
        marqueeTimeoutMs_ = value;
    } else if (option == libvlc_marquee_Enable && value == 0) {
        marqueeEnabled_ = false;
    } else if (option == libvlc_marquee_Enable && !marqueeEnabled_ && active_ && video_) {
        // Like the real marquee, it can only be put into a picture that is there.
        marqueeEnabled_ = true;
        marqueeShown_ = Clock::now();
    }
}

void Player::setMarqueeString(unsigned option, const char* text) {
    const std::string value = text != nullptr ? text : "";
    logCall((std::string("set_marquee_string ") + marqueeOption(option) + " " + value).c_str());
    std::lock_guard<std::mutex> lock(mutex_);
    if (option == libvlc_marquee_Text) {
        marqueeText_ = value;
        marqueeRefused_ = false;
        marqueeShown_ = Clock::now();
    }
}

std::wstring Player::onScreenText() const {
    const bool expired =
        marqueeTimeoutMs_ > 0 && Clock::now() - marqueeShown_ >= milliseconds(marqueeTimeoutMs_);
    if (!marqueeEnabled_ || expired || !video_) {
        return {};
    }
    std::string formatted;
    if (!timeFormat(marqueeText_, formatted)) {
        // Windows' strftime refuses it: the real library would retry it without end.
        if (!marqueeRefused_) {
            marqueeRefused_ = true;
            reportHazard(("marquee text that is no time format: " + marqueeText_).c_str());
        }
        return testtext::fromUtf8(marqueeText_);
    }
    return testtext::fromUtf8(formatted);
}

int Player::videoSize(unsigned* width, unsigned* height) {
    std::lock_guard<std::mutex> lock(mutex_);
    RECT client{};
    if (!active_ || !video_ || window_ == nullptr || !GetClientRect(window_, &client)) {
        return -1;
    }
    *width = static_cast<unsigned>(client.right);
    *height = static_cast<unsigned>(client.bottom);
    return 0;
}

}  // namespace standin
