#pragma once

#include <string>

#include "playback/Change.h"

// The words that tell the viewer what changed, and where and how long they show: free of windows, so
// that they can be checked alone.
namespace told {

// Where a change is told.
enum class Place {
    Picture,  // written by the library over the picture of a video
    Bar,      // in place of the time on the control bar
    Nowhere,  // the bar shows it already
};

// "Volume 80 %", "Muted", "Audio: Track 2 - [French]", "Subtitles: Off", "Speed: 1.5×",
// "00:01:05 / 00:20:00", "Could not play broken.mp4", "Chapter 3: The Storm", "Subtitle delay: +300 ms",
// "Audio delay: -100 ms", "Resume from 00:03:44: press R".
std::wstring words(const Change& change);
// Over the picture when there is one the library can write on, else on the bar; a seek's new place
// on a sound file nowhere (the time display shows it), and a file the library gave up on on the bar
// (it has no picture any more).
Place placeFor(const Change& change, bool pictureCanShow);
// How long the words stay: about two seconds, a file that would not play a while longer, the offer to
// carry on where the viewer stopped 8 seconds.
int showMs(const Change& change);

}  // namespace told
