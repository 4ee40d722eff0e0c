#pragma once

#include <windows.h>

// The "Powered by Corvanta" label of the video frame: a window of the "HYPERLINK" class whose text
// colour and target address live in the window library's link tables.
namespace brandinglink {

extern const wchar_t kLinkText[];
// Where a click on the label goes: the maker's web site.
extern const wchar_t kMakerAddress[];
// Light grey, drawn on a transparent background over the frame's black.
constexpr COLORREF kLinkColor = RGB(192, 192, 192);

}  // namespace brandinglink

// Creates the label at its measured size in the parent's top left corner and records its address.
// A null font means the stock GUI font. Null when the window can't be made.
HWND createBrandingLink(HFONT font, HWND parent);
// Gives the label another font (a new display scale) and the measured size of its text in it; the
// label keeps its place.
void setLinkFont(HWND label, HFONT font);
// Creates a link window showing the link text. A width or height of 0 takes the measured text size;
// a negative x or y counts from the parent's right or bottom edge.
HWND createLinkWindow(int width, int height, HWND parent, int x, int y, HFONT font);
// The parent's answer to WM_CTLCOLORSTATIC for a link: the hollow brush, with the text colour set.
// Null (and the device context untouched) for any other control.
HBRUSH linkColorFor(HWND control, HDC dc);
// Opens the link's address with the shell; false when the control is not a link.
bool openLinkTarget(HWND control);
