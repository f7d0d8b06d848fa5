#pragma once

#include <QImage>
#include <QPixmap>
#include <array>
#include <span>

namespace marlo {

// Which kind of skin is on: a strip skin gives its buttons plain pictures, a design skin gives
// them mask pictures (shaped buttons).
enum class SkinKind { Strip, Design };

// The hidden picture holders of the main window, one set per skinned button. Slot 1 of every
// button is its rest picture.
enum class Slot {
    Play1,
    Play2,
    Play3,
    Play4,
    Stop1,
    Stop2,
    Stop3,
    Pause1,
    Pause2,
    Pause3,
    Pause4,
    Prev1,
    Prev2,
    Prev3,
    Next1,
    Next2,
    Next3,
    Song1,
    Song2,
    Setup1,
    Setup2,
    Close1,
    Close2,
    Min1,
    Min2,
};
inline constexpr int kSlotCount = static_cast<int>(Slot::Min2) + 1;

using SlotPictures = std::array<QPixmap, kSlotCount>;

inline QPixmap& at(SlotPictures& pictures, Slot slot) {
    return pictures[static_cast<size_t>(slot)];
}
inline const QPixmap& at(const SlotPictures& pictures, Slot slot) {
    return pictures[static_cast<size_t>(slot)];
}
const char* slotName(Slot slot);

// The nine skinned buttons of the main window.
enum class SkinButton { Mini, Next, Pause, Play, Stop, Previous, Close, Song, Setup };
inline constexpr int kSkinButtonCount = 9;
const char* objectName(SkinButton button);
// The rest picture and the pressed picture of each button.
Slot restSlot(SkinButton button);
Slot pressedSlot(SkinButton button);
// The part of the button, in twips from its top-left corner, where a release acts.
QSize activeAreaTwips(SkinButton button);

// A strip bitmap: a grid of equal cells, numbered row by row from 0.
struct StripCell {
    int cell;
    Slot slot;
};
struct StripLayout {
    const char* key;  // its key in the skin register
    int rows;
    int columns;
    std::span<const StripCell> cells;
};
inline constexpr int kStripCount = 5;
// "Play", "Stop", "Seek", "Open", "Functions", in this order.
const std::array<StripLayout, kStripCount>& stripLayouts();

// One cell of a strip; a null image when the strip is empty.
QImage stripCell(const QImage& strip, int rows, int columns, int cell);
// Copies every used cell of a strip that holds a picture into its slot.
void fillSlotsFromStrip(const StripLayout& layout, const QImage& strip, SlotPictures& pictures);

}  // namespace marlo
