#pragma once

#include "base/Catalogue.h"

// Texts of the remote-control window `Controller`. Its caption "Titel:" / "Title:" is with the
// other captions.
namespace marlo::texts::remote {

inline constexpr TextPair kTitle = same("Controller");
// Tooltips of `Image1` to `Image6`, also those of the main window's matching buttons; German as
// designed, English after the caption switch.
inline constexpr TextPair kPlayTip{"Play", "Abspielen"};
inline constexpr TextPair kPauseTip{"Pause/Resume", "Pause/Fortsetzen"};
inline constexpr TextPair kStopTip{"Stop", "Stopp"};
inline constexpr TextPair kPreviousTip{"Previous", "Vorheriger Titel"};
inline constexpr TextPair kNextTip{"Next", "Nächster Titel"};
inline constexpr TextPair kSettingsTip{"Settings", "Einstellungen"};

}  // namespace marlo::texts::remote
