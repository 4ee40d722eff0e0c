#include "ui/PlayWndMenu.h"

#include "playback/PlayLogic.h"
#include "resource.h"
#include "ui/ToldText.h"

// The chapter and track items' commands lie apart from each other and from the menu's other commands, and
// within the 16 bits of WM_COMMAND.
static_assert(ID_AUDIO_TRACK_FIRST > ID_ALWAYS_ON_TOP && ID_AUDIO_TRACK_FIRST > ID_SPEED_LAST &&
                  ID_AUDIO_TRACK_FIRST > ID_CHAPTER_LAST && ID_CHAPTER_FIRST > ID_ALWAYS_ON_TOP &&
                  ID_CHAPTER_FIRST > ID_GO_TO_TIME && ID_CHAPTER_FIRST > ID_SUBTITLE_DELAY_SHOWN &&
                  ID_AUDIO_TRACK_LAST < ID_SUBTITLE_TRACK_FIRST && ID_SUBTITLE_TRACK_LAST <= 0xFFFF,
              "the chapter and track items' commands overlap");

namespace {

void grey(HMENU popup, UINT command) {
    EnableMenuItem(popup, command, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
}

// The place in the pop-up of the submenu that holds the command; -1 when there is none.
int submenuHolding(HMENU popup, UINT command) {
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        HMENU submenu = GetSubMenu(popup, i);
        if (submenu != nullptr && GetMenuState(submenu, command, MF_BYCOMMAND) != UINT(-1)) {
            return i;
        }
    }
    return -1;
}

// A track's own text as a menu shows it: an ampersand is no mnemonic.
std::wstring menuText(const std::wstring& name) {
    std::wstring text;
    for (wchar_t c : name) {
        text += c == L'&' ? L"&&" : std::wstring(1, c);
    }
    return text;
}

// One radio item per track, from `first` on, into the submenu (before its item `before`, or at its end
// with -1); each carries the track's id, and the current track's the check. No more than the commands
// allow.
void addTracks(HMENU submenu, const std::vector<MediaTrack>& tracks, int current, UINT first, UINT last,
               int before) {
    UINT command = first;
    for (const MediaTrack& track : tracks) {
        if (command > last) {
            break;
        }
        std::wstring text = menuText(track.name);
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA;
        item.wID = command;
        item.dwTypeData = &text[0];
        item.dwItemData = static_cast<ULONG_PTR>(static_cast<unsigned>(track.id));
        InsertMenuItemW(submenu, static_cast<UINT>(before), TRUE, &item);
        if (track.id == current) {
            CheckMenuRadioItem(submenu, first, last, command, MF_BYCOMMAND);
        }
        ++command;
        before = before < 0 ? before : before + 1;
    }
}

// A greyed item at the submenu's end, after a separator, that says how far the delay is in the words a
// change of it is told with: shown only while it isn't 0.
void showDelay(HMENU submenu, UINT command, Change::Kind kind, std::int64_t delay) {
    if (delay == 0) {
        return;
    }
    Change change{kind};
    change.delay = delay;
    AppendMenuW(submenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(submenu, MF_STRING | MF_GRAYED | MF_DISABLED, command, told::words(change).c_str());
}

// The submenu's item in the pop-up greyed, with everything under it.
void greySubmenu(HMENU popup, int position) {
    EnableMenuItem(popup, static_cast<UINT>(position), MF_BYPOSITION | MF_DISABLED | MF_GRAYED);
}

void prepareAudio(HMENU popup, const ContextMenuInputs& inputs) {
    const int position = submenuHolding(popup, ID_AUDIO_TRACK_FIRST);
    if (position < 0) {
        return;
    }
    HMENU submenu = GetSubMenu(popup, position);
    DeleteMenu(submenu, ID_AUDIO_TRACK_FIRST, MF_BYCOMMAND);
    if ((inputs.features & FeatureAudioTracks) == 0 || inputs.audioTracks.empty()) {
        greySubmenu(popup, position);
        return;
    }
    addTracks(submenu, inputs.audioTracks, inputs.audioTrack, ID_AUDIO_TRACK_FIRST, ID_AUDIO_TRACK_LAST, -1);
    if ((inputs.features & FeatureAudioDelay) != 0) {
        showDelay(submenu, ID_AUDIO_DELAY_SHOWN, Change::Kind::AudioDelay, inputs.audioDelay);
    }
}

void prepareSubtitles(HMENU popup, const ContextMenuInputs& inputs) {
    const int position = submenuHolding(popup, ID_SUBTITLES_OFF);
    if (position < 0) {
        return;
    }
    const bool tracks = (inputs.features & FeatureSubtitleTracks) != 0;
    const bool files = (inputs.features & FeatureSubtitleFiles) != 0;
    if (!tracks && !files) {
        greySubmenu(popup, position);
        return;
    }
    HMENU submenu = GetSubMenu(popup, position);
    if (!files) {
        grey(submenu, ID_LOAD_SUBTITLE_FILE);
    }
    if (!tracks) {
        grey(submenu, ID_SUBTITLES_OFF);
        return;
    }
    // The tracks go after Off: Off, the tracks, the separator, Load Subtitle File...
    addTracks(submenu, inputs.subtitleTracks, inputs.subtitleTrack, ID_SUBTITLE_TRACK_FIRST,
              ID_SUBTITLE_TRACK_LAST, 1);
    if (inputs.subtitleTrack == kNoTrack) {
        CheckMenuRadioItem(submenu, 0, 0, 0, MF_BYPOSITION);
    }
    if ((inputs.features & FeatureSubtitleDelay) != 0) {
        showDelay(submenu, ID_SUBTITLE_DELAY_SHOWN, Change::Kind::SubtitleDelay, inputs.subtitleDelay);
    }
}

void prepareSpeed(HMENU popup, const ContextMenuInputs& inputs) {
    const int position = submenuHolding(popup, ID_SPEED_NORMAL);
    if (position < 0) {
        return;
    }
    if ((inputs.features & FeatureRate) == 0) {
        greySubmenu(popup, position);
        return;
    }
    const int step = watching::speedIndex(inputs.speed);
    if (step >= 0) {
        CheckMenuRadioItem(GetSubMenu(popup, position), ID_SPEED_FIRST, ID_SPEED_LAST,
                           ID_SPEED_FIRST + static_cast<UINT>(step), MF_BYCOMMAND);
    }
}

void prepareChapters(HMENU popup, const ContextMenuInputs& inputs) {
    const int position = submenuHolding(popup, ID_CHAPTER_FIRST);
    if (position < 0) {
        return;
    }
    HMENU submenu = GetSubMenu(popup, position);
    DeleteMenu(submenu, ID_CHAPTER_FIRST, MF_BYCOMMAND);
    if ((inputs.features & FeatureChapters) == 0 || inputs.chapters.empty()) {
        greySubmenu(popup, position);
        return;
    }
    const int count = static_cast<int>(inputs.chapters.size());
    for (int i = 0; i < count && i <= static_cast<int>(ID_CHAPTER_LAST - ID_CHAPTER_FIRST); ++i) {
        const std::wstring text = menuText(watching::chapterMenuText(inputs.chapters, i));
        AppendMenuW(submenu, MF_STRING, ID_CHAPTER_FIRST + static_cast<UINT>(i), text.c_str());
    }
    if (inputs.chapter >= 0 && inputs.chapter < count) {
        CheckMenuRadioItem(submenu, ID_CHAPTER_FIRST, ID_CHAPTER_LAST,
                           ID_CHAPTER_FIRST + static_cast<UINT>(inputs.chapter), MF_BYCOMMAND);
    }
}

bool inRange(UINT command, UINT first, UINT last) {
    return command >= first && command <= last;
}

// The offered place as the menu's first item, apart from the rest.
void offerResume(HMENU popup, std::int64_t place) {
    if (place < 0) {
        return;
    }
    const std::wstring text = L"Resume from " + watching::clockText(place) + L"\tR";
    InsertMenuW(popup, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING, ID_RESUME, text.c_str());
}

}  // namespace

ContextMenuInputs currentContextMenuInputs(const WindowLinks& links) {
    ContextMenuInputs inputs;
    inputs.fullScreen = links.isFullScreen();
    inputs.alwaysOnTop = (GetWindowLongPtrW(links.currentMainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    const PlayLogic* controller = links.currentController();
    if (controller == nullptr) {
        return inputs;
    }
    inputs.path = controller->currentPath();
    inputs.playlistCount = controller->playlist().count();
    inputs.canStep = controller->playlist().canStep();
    if (MediaPlayer* player = controller->player()) {
        inputs.hasPlayer = true;
        inputs.isPlaying = player->isPlaying();
        inputs.playerState = controller->state();
        if (inputs.playerState == StatePlaying || inputs.playerState == StatePaused) {
            inputs.features = player->features();
            inputs.audioTracks = player->audioTracks();
            inputs.audioTrack = player->currentAudioTrack();
            inputs.subtitleTracks = player->subtitleTracks();
            inputs.subtitleTrack = player->currentSubtitleTrack();
            inputs.chapters = player->chapters();
            inputs.chapter = player->currentChapter();
            inputs.subtitleDelay = player->subtitleDelay();
            inputs.audioDelay = player->audioDelay();
        }
    }
    inputs.speed = controller->speed();
    inputs.resumeOffer = controller->resumeOffer();
    return inputs;
}

HMENU prepareContextMenu(HMENU menu, const ContextMenuInputs& inputs) {
    HMENU popup = GetSubMenu(menu, 0);
    if (popup == nullptr) {
        return nullptr;
    }
    DeleteMenu(popup, inputs.fullScreen ? ID_FULLSCREEN : ID_LEAVE_FULLSCREEN, MF_BYCOMMAND);
    CheckMenuItem(popup, ID_ALWAYS_ON_TOP, MF_BYCOMMAND | (inputs.alwaysOnTop ? MF_CHECKED : MF_UNCHECKED));
    if (inputs.hasPlayer && inputs.isPlaying) {
        grey(popup, ID_PLAY);
    } else {
        grey(popup, ID_PAUSE);
        if (inputs.playerState != StatePaused) {
            grey(popup, ID_STOP);
        }
        if (inputs.playlistCount == 0) {
            grey(popup, ID_PLAY);
        }
    }
    if (!inputs.canStep) {
        grey(popup, ID_PREVIOUS);
        grey(popup, ID_NEXT);
    }
    offerResume(popup, inputs.resumeOffer);
    if (inputs.playerState != StatePlaying && inputs.playerState != StatePaused) {
        grey(popup, ID_GO_TO_TIME);
        grey(popup, ID_RESUME);  // offered after a stop, taken once the file plays again
    }
    prepareAudio(popup, inputs);
    prepareSubtitles(popup, inputs);
    prepareSpeed(popup, inputs);
    prepareChapters(popup, inputs);
    return popup;
}

bool menuChoiceApplies(UINT command, const ContextMenuInputs& shown, const std::wstring& pathNow) {
    return !inRange(command, ID_CHAPTER_FIRST, ID_CHAPTER_LAST) || shown.path == pathNow;
}

bool trackItemOf(HMENU popup, UINT command, TrackItem& item) {
    const bool audio = command >= ID_AUDIO_TRACK_FIRST && command <= ID_AUDIO_TRACK_LAST;
    if (!audio && (command < ID_SUBTITLE_TRACK_FIRST || command > ID_SUBTITLE_TRACK_LAST)) {
        return false;
    }
    MENUITEMINFOW read{};
    read.cbSize = sizeof(read);
    read.fMask = MIIM_DATA;
    if (!GetMenuItemInfoW(popup, command, FALSE, &read)) {
        return false;
    }
    item.audio = audio;
    item.id = static_cast<int>(static_cast<unsigned>(read.dwItemData));
    return true;
}

void chooseTrackItem(PlayLogic* controller, const std::wstring& menuPath, const TrackItem& item) {
    if (controller == nullptr || controller->currentPath() != menuPath) {
        return;
    }
    if (item.audio) {
        controller->chooseAudioTrack(item.id);
    } else {
        controller->chooseSubtitles(item.id);
    }
}
