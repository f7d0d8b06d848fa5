#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <cmath>

#include "tools/skinart/Glyphs.h"

namespace marlo::skinart {

// Strip rows: every strip holds one look per row, in this order.
enum class Look { Normal, Inactive, Lit, Pressed };
inline constexpr std::array<Look, 4> kLooks{Look::Normal, Look::Inactive, Look::Lit, Look::Pressed};

// A button of the main window: its place in the default "All Controls" section and the area in
// which a release counts, both in twips. Its pictures are exactly that area.
struct ButtonPlace {
    Glyph glyph;
    int left, top, width, height;

    QRect pixels() const {
        auto px = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
        return {px(left), px(top), px(width), px(height)};
    }
};

inline constexpr ButtonPlace kPlaybut{Glyph::Play, 1270, 920, 1035, 450};
inline constexpr ButtonPlace kPausebut{Glyph::Pause, 2320, 920, 570, 450};
inline constexpr ButtonPlace kStopbut{Glyph::Stop, 2910, 920, 570, 450};
inline constexpr ButtonPlace kPreviousbut{Glyph::Previous, 3630, 920, 570, 225};
inline constexpr ButtonPlace kNextbut{Glyph::Next, 4210, 920, 570, 225};
inline constexpr ButtonPlace kSongbut{Glyph::Open, 270, 920, 705, 450};
inline constexpr ButtonPlace kSchliessenbut{Glyph::Close, 270, 150, 705, 180};
inline constexpr ButtonPlace kMinibut{Glyph::Minimize, 270, 380, 705, 180};
inline constexpr ButtonPlace kSetupbut{Glyph::Setup, 270, 610, 705, 180};

// Other places of the default layout, in pixels: the labels of the display and the module
// volume bar.
inline constexpr QRect kTitelArea{87, 16, 233, 16};
inline constexpr QRect kVolumeBar{335, 11, 13, 81};

// The background: the nine buttons, the display labels and the volume bar fit with a margin.
inline constexpr QSize kBackgroundSize{360, 100};

// A strip: rows are the looks, columns the buttons in the order the loader cuts them.
struct Strip {
    const char* baseName;
    std::array<ButtonPlace, 3> columns;
    int columnCount;
};

inline constexpr std::array<Strip, 5> kStrips{{
    {"Play", {kPlaybut, kPlaybut, kPlaybut}, 1},
    {"Stop", {kStopbut, kPausebut, kPausebut}, 2},
    {"Seek", {kPreviousbut, kNextbut, kNextbut}, 2},
    {"Open", {kSongbut, kSongbut, kSongbut}, 1},
    {"Function", {kSchliessenbut, kMinibut, kSetupbut}, 3},
}};

}  // namespace marlo::skinart
