#pragma once

#include <string>
#include <string_view>

// Where the artwork and the fonts compiled into the program sit in the Qt resource system. A
// program that links the stomplet_resources library has them registered before main() runs;
// nothing needs initialising.
//
//   images: ":/stomplet/images/<name>.png" at scale 1, ":/stomplet/images/<name>@2x.png" at
//           scale 2, for "background", "tipring", "fwbg" and "about"
//   fonts:  ":/stomplet/fonts/<file>" for "Roboto-Regular.ttf", "forkawesome-webfont.ttf",
//           "fontaudio.ttf" and "ni7seg.ttf"
//   manual: ":/stomplet/manual/Stomplet_userguide-v1.00.pdf", the user guide rendered from
//           manual/Stomplet_userguide.md at build time
inline constexpr std::string_view kStompletImageFolder = ":/stomplet/images/";
inline constexpr std::string_view kStompletFontFolder = ":/stomplet/fonts/";
inline constexpr std::string_view kStompletManualFolder = ":/stomplet/manual/";

// The resource path of the image file `fileName` ("tipring.png") for drawing at `scale`: 2 gives
// the double-resolution file ("tipring@2x.png"), any other scale the scale-1 file. The suffix
// goes before the last extension; a name without one gets it at the end.
std::string StompletImagePath(std::string_view fileName, int scale);

// The resource path of the font file `fileName` ("ni7seg.ttf").
std::string StompletFontPath(std::string_view fileName);
