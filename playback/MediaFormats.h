#pragma once

#include <string>

// The files the player opens, by extension. This one table is read by the extension test (and so by
// the folder playlist and every open), by the open dialog's filters and, parsed by
// cmake/Packaging.cmake, by the installer's file types.
namespace mediaformats {

enum class MediaKind { Video, Audio };

enum class Match {
    Within,  // anywhere in the text after the last dot: "mpg" also opens .mpga and .mpg2
    Whole,   // the whole text after the last dot, so that "ts" doesn't open .tsv
};

struct MediaExtension {
    const wchar_t* name;  // lower case, without the dot
    MediaKind kind;
    Match match;
};

// Every entry is a container libvlc 3 plays. cmake/Packaging.cmake reads the installer's file types
// from the entries as they are written here: {L"name", MediaKind::Video or Audio, Match::Rule}.
inline constexpr MediaExtension kMediaExtensions[] = {
    {L"mpg", MediaKind::Video, Match::Within}, {L"mp4", MediaKind::Video, Match::Whole},
    {L"m4v", MediaKind::Video, Match::Whole},  {L"mkv", MediaKind::Video, Match::Whole},
    {L"webm", MediaKind::Video, Match::Whole}, {L"avi", MediaKind::Video, Match::Whole},
    {L"mov", MediaKind::Video, Match::Whole},  {L"wmv", MediaKind::Video, Match::Whole},
    {L"asf", MediaKind::Video, Match::Whole},  {L"flv", MediaKind::Video, Match::Whole},
    {L"mpeg", MediaKind::Video, Match::Whole}, {L"mpe", MediaKind::Video, Match::Whole},
    {L"m2v", MediaKind::Video, Match::Whole},  {L"ts", MediaKind::Video, Match::Whole},
    {L"m2ts", MediaKind::Video, Match::Whole}, {L"mts", MediaKind::Video, Match::Whole},
    {L"vob", MediaKind::Video, Match::Whole},  {L"3gp", MediaKind::Video, Match::Whole},
    {L"3g2", MediaKind::Video, Match::Whole},  {L"ogv", MediaKind::Video, Match::Whole},
    {L"divx", MediaKind::Video, Match::Whole}, {L"mp3", MediaKind::Audio, Match::Whole},
    {L"m4a", MediaKind::Audio, Match::Whole},  {L"aac", MediaKind::Audio, Match::Whole},
    {L"flac", MediaKind::Audio, Match::Whole}, {L"wav", MediaKind::Audio, Match::Whole},
    {L"ogg", MediaKind::Audio, Match::Whole},  {L"oga", MediaKind::Audio, Match::Whole},
    {L"opus", MediaKind::Audio, Match::Whole}, {L"wma", MediaKind::Audio, Match::Whole},
    {L"ac3", MediaKind::Audio, Match::Whole},  {L"mka", MediaKind::Audio, Match::Whole},
};

// True when the text after the last '.' of the whole path (which may lie in a folder name), with only
// 'A'..'Z' folded to lower case, is an accepted extension.
bool isAcceptedPath(const std::wstring& path);

// The open dialog's patterns, "*.mpg;*.mp4;...": of every entry, or of one kind's.
std::wstring patterns();
std::wstring patterns(MediaKind kind);

// Subtitle files, which the player adds to the video that plays or is paused (the "Subtitle Files" of
// the dialog that loads one, and the test of a file dropped on the window); never opened as media.
inline constexpr const wchar_t* kSubtitleExtensions[] = {L"srt", L"ass", L"ssa", L"sub", L"vtt", L"smi"};
// True when the text after the last '.' of the path, folded as above, is one of them exactly.
bool isSubtitlePath(const std::wstring& path);
// "*.srt;*.ass;...".
std::wstring subtitlePatterns();

}  // namespace mediaformats
