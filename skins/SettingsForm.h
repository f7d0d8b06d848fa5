#pragma once

#include <QString>
#include <array>
#include <optional>

#include "base/Settings.h"

namespace marlo {

// What the settings dialog shows of `Settings`: the eighteen option boxes, the three number
// fields and which fields are enabled. The dialog draws it; the rules between the boxes live
// here, so they hold without a widget.
class SettingsForm {
  public:
    // The slideshow pause when the "Pause" box is unchecked, in seconds.
    static constexpr int kDefaultPauseSeconds = 2;

    // The form as it comes up: boxes and numbers from the settings (the pause field "2" when
    // the settings hold none). The zoom field's state is start-up's to decide.
    static SettingsForm fromSettings(const Settings& settings, bool zoomFieldEnabled);

    bool checked(int index) const { return boxes_.at(static_cast<size_t>(index)); }
    // Set by the dialog itself: no group rule runs.
    void setChecked(int index, bool on) { boxes_.at(static_cast<size_t>(index)) = on; }

    // A click on box `index` that left it `nowChecked`. Applies the box's group rule; returns
    // the module library's new filter mode when the click chose a filter.
    std::optional<int> click(int index, bool nowChecked);

    QString zoom;         // `Text1`, video zoom factor
    QString pause;        // `Text2`, slideshow pause in seconds
    QString pictureZoom;  // `Text3`
    bool zoomEnabled = false;
    bool pauseEnabled = false;

    // "Okay": the boxes and numbers into the settings; returns the slideshow interval in ms.
    int applyTo(Settings& settings) const;
    // "Abbruch": everything back from the settings and the slideshow interval; the zoom field
    // keeps its state.
    void restore(const Settings& settings, int slideshowIntervalMs);

    // The whole-number value of a field as the dialog reads it: the integer part of its leading
    // number, 0 when there is none, kept within the range the settings file holds.
    static int16_t fieldNumber(const QString& text);

  private:
    void uncheckOthers(int index, int first, int last);
    std::array<bool, option::kCount + 1> boxes_{};
};

}  // namespace marlo
