#pragma once

#include <QString>

namespace marlo {

// A window whose German design captions have English counterparts.
class CaptionedWindow {
  public:
    virtual ~CaptionedWindow() = default;
    virtual void applyEnglishCaptions() = 0;
};

// The one switch from the German design captions to the English ones, made once per start.
// Windows are created on first use, so a window created after the switch asks `adopt` in its
// constructor and gets the captions then.
class CaptionSwitch {
  public:
    // Sets English captions when `language` is "English" in any letter case; any other
    // argument changes nothing.
    static void apply(const QString& language);
    static bool englishCaptions();
    static void adopt(CaptionedWindow& window);

    static void registerWindow(CaptionedWindow* window);
    static void unregisterWindow(CaptionedWindow* window);
    static void resetForTests();
};

}  // namespace marlo
