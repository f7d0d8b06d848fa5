#include "skins/SettingsForm.h"

#include <cmath>
#include <limits>

#include "skins/SkinFiles.h"

namespace marlo {

SettingsForm SettingsForm::fromSettings(const Settings& settings, bool zoomFieldEnabled) {
    SettingsForm form;
    form.zoomEnabled = zoomFieldEnabled;
    form.restore(settings, kDefaultPauseSeconds * 1000);
    if (settings.slideshowPause != 0) {
        form.pause = QString::number(settings.slideshowPause);
    }
    return form;
}

void SettingsForm::restore(const Settings& settings, int slideshowIntervalMs) {
    for (int i = 1; i <= option::kCount; ++i) {
        setChecked(i, settings.isSet(i));
    }
    zoom = QString::number(settings.videoZoom);
    pictureZoom = QString::number(settings.pictureZoom);
    pause = QString::number(slideshowIntervalMs / 1000.0);
    pauseEnabled = checked(option::kSlideshowPause);
}

int SettingsForm::applyTo(Settings& settings) const {
    for (int i = 1; i <= option::kCount; ++i) {
        settings.setOption(i, checked(i) ? 1 : 0);
    }
    settings.videoZoom = fieldNumber(zoom);
    settings.pictureZoom = fieldNumber(pictureZoom);
    settings.slideshowPause = fieldNumber(pause);
    return checked(option::kSlideshowPause) ? settings.slideshowPause * 1000
                                            : kDefaultPauseSeconds * 1000;
}

int16_t SettingsForm::fieldNumber(const QString& text) {
    const double value = std::floor(leadingNumber(text.trimmed()));
    constexpr double lo = std::numeric_limits<int16_t>::min();
    constexpr double hi = std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(std::clamp(value, lo, hi));
}

void SettingsForm::uncheckOthers(int index, int first, int last) {
    for (int i = first; i <= last; ++i) {
        if (i != index) {
            setChecked(i, false);
        }
    }
}

std::optional<int> SettingsForm::click(int index, bool nowChecked) {
    setChecked(index, nowChecked);
    switch (index) {
        case option::kRepeatAll:
        case option::kRepeatOne:
            if (nowChecked) {
                uncheckOthers(index, option::kRepeatAll, option::kRepeatOne);
            }
            break;
        case option::kPicturesFullscreen:
        case option::kPictureZoom:
            if (nowChecked) {
                uncheckOthers(index, option::kPicturesFullscreen, option::kPictureZoom);
            }
            break;
        case option::kSlideshowPause:
            pauseEnabled = nowChecked;
            if (!nowChecked) {
                pause = QString::number(kDefaultPauseSeconds);
            }
            break;
        case option::kVideoFullscreen:
        case option::kVideoDoubleSize:
        case option::kVideoUserZoom:
            if (nowChecked) {
                uncheckOthers(index, option::kVideoFullscreen, option::kVideoUserZoom);
            }
            zoomEnabled = index == option::kVideoUserZoom && nowChecked;
            break;
        case option::kFilterNone:
        case option::kFilterWeak:
        case option::kFilterStrong:
        case option::kFilterAuto:
            if (!nowChecked) {
                // One filter is always chosen: the chosen box cannot be cleared.
                setChecked(index, true);
                return std::nullopt;
            }
            uncheckOthers(index, option::kFilterNone, option::kFilterAuto);
            return index - option::kFilterNone;
        default:
            break;  // the others stand alone
    }
    return std::nullopt;
}

}  // namespace marlo
