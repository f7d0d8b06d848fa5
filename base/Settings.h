#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "base/Catalogue.h"

namespace marlo {

// Media kinds as the configuration and the library number them.
enum class MediaKind : int16_t { Audio = 0, CdAudio = 1, Video = 2, Pictures = 3 };

// Numbers of the on/off options of the settings dialog, as the configuration file uses them.
namespace option {
inline constexpr int kModulesThroughDevice = 1;
inline constexpr int kVideoFullscreen = 2;
inline constexpr int kVideoDoubleSize = 3;
inline constexpr int kVideoUserZoom = 4;
inline constexpr int kStreamingOnly = 5;
inline constexpr int kRepeatAll = 6;
inline constexpr int kRepeatOne = 7;
inline constexpr int kAspectRatio = 8;
inline constexpr int kFilterNone = 9;
inline constexpr int kFilterWeak = 10;
inline constexpr int kFilterStrong = 11;
inline constexpr int kFilterAuto = 12;
inline constexpr int kAutoplay = 13;
inline constexpr int kStartMinimised = 14;
inline constexpr int kPositionBar = 15;
inline constexpr int kSlideshowPause = 16;
inline constexpr int kPicturesFullscreen = 17;
inline constexpr int kPictureZoom = 18;
inline constexpr int kCount = 18;
}  // namespace option

// Everything "Set.cfg" holds; one instance lives for the whole run.
struct Settings {
    // Index 1..18; index 0 is unused so numbers match the file and the dialog. Values are 0 or 1
    // (a 2 read from the file is kept as it is).
    std::array<int16_t, option::kCount + 1> options{};
    int16_t videoZoom = 0;
    float windowLeft = 0;  // twips
    float windowTop = 0;   // twips
    int16_t listKind = 0;
    int16_t collectionNumber = -1;
    QString lastFolderAudio;
    QString lastFolderPictures;
    QString lastFolderVideo;
    int16_t slideshowPause = 0;
    int16_t pictureZoom = 0;
    QString skinName;
    QString email;
    UiLanguage language = UiLanguage::German;

    int16_t option(int number) const { return options.at(static_cast<size_t>(number)); }
    bool isSet(int number) const { return option(number) != 0; }
    void setOption(int number, int16_t value) { options.at(static_cast<size_t>(number)) = value; }

    bool operator==(const Settings&) const = default;
};

}  // namespace marlo
