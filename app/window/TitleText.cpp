#include "app/window/TitleText.h"

#include "playback/MediaPlayer.h"

namespace {

bool isHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

}  // namespace

void composeTitle(const wchar_t* productName, int playerState, const std::wstring& displayName,
                  wchar_t* buffer, std::size_t capacity) {
    if (buffer == nullptr || capacity == 0) {
        return;
    }
    std::wstring text = productName != nullptr ? productName : L"";
    bool showsFile = playerState == StatePlaying || playerState == StatePaused;
    if (showsFile && !displayName.empty()) {
        text += L" - ";
        text += displayName;
    }
    std::size_t length = text.size() < capacity ? text.size() : capacity - 1;
    // Half a surrogate pair at the cut would show as a broken character.
    if (length < text.size() && length > 0 && isHighSurrogate(text[length - 1])) {
        --length;
    }
    text.copy(buffer, length);
    buffer[length] = L'\0';
}
