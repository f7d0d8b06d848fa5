#pragma once

#include "base/Catalogue.h"

// Texts of the remote-control window `Controller`. Its caption "Titel:" / "Title:" is with the
// other captions.
namespace marlo::texts::remote {

inline constexpr TextPair kTitle = same("Controller");
// Tooltips of `Image1` to `Image6`, the same in both languages.
inline constexpr TextPair kPlayTip = same("Play");
inline constexpr TextPair kPauseTip = same("Pause/Resume");
inline constexpr TextPair kStopTip = same("Stop");
inline constexpr TextPair kPreviousTip = same("Previous");
inline constexpr TextPair kNextTip = same("Next");
inline constexpr TextPair kSettingsTip = same("Settings");

}  // namespace marlo::texts::remote
