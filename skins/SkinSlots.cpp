#include "skins/SkinSlots.h"

namespace marlo {
namespace {

constexpr StripCell kPlayCells[] = {
    {0, Slot::Play2}, {1, Slot::Play1}, {2, Slot::Play4}, {3, Slot::Play3}};
constexpr StripCell kStopCells[] = {{0, Slot::Stop2},  {1, Slot::Pause2}, {2, Slot::Stop1},
                                    {3, Slot::Pause1}, {5, Slot::Pause4}, {6, Slot::Stop3},
                                    {7, Slot::Pause3}};
constexpr StripCell kSeekCells[] = {{0, Slot::Prev2}, {1, Slot::Next2}, {2, Slot::Prev1},
                                    {3, Slot::Next1}, {6, Slot::Prev3}, {7, Slot::Next3}};
constexpr StripCell kOpenCells[] = {{0, Slot::Song1}, {3, Slot::Song2}};
constexpr StripCell kFunctionCells[] = {{0, Slot::Close1}, {1, Slot::Min1},  {2, Slot::Setup1},
                                        {9, Slot::Close2}, {10, Slot::Min2}, {11, Slot::Setup2}};

}  // namespace

const char* slotName(Slot slot) {
    static constexpr const char* kNames[kSlotCount] = {
        "Play1",  "Play2",  "Play3",  "Play4",  "Stop1",  "Stop2", "Stop3", "Pause1", "Pause2",
        "Pause3", "Pause4", "Prev1",  "Prev2",  "Prev3",  "Next1", "Next2", "Next3",  "Song1",
        "Song2",  "Setup1", "Setup2", "Close1", "Close2", "Min1",  "Min2"};
    return kNames[static_cast<int>(slot)];
}

const char* objectName(SkinButton button) {
    static constexpr const char* kNames[kSkinButtonCount] = {
        "Minibut",     "Nextbut",       "Pausebut", "Playbut", "Stopbut",
        "Previousbut", "Schliessenbut", "Songbut",  "Setupbut"};
    return kNames[static_cast<int>(button)];
}

Slot restSlot(SkinButton button) {
    switch (button) {
        case SkinButton::Mini:
            return Slot::Min1;
        case SkinButton::Next:
            return Slot::Next1;
        case SkinButton::Pause:
            return Slot::Pause1;
        case SkinButton::Play:
            return Slot::Play1;
        case SkinButton::Stop:
            return Slot::Stop1;
        case SkinButton::Previous:
            return Slot::Prev1;
        case SkinButton::Close:
            return Slot::Close1;
        case SkinButton::Song:
            return Slot::Song1;
        case SkinButton::Setup:
            return Slot::Setup1;
    }
    return Slot::Play1;
}

Slot pressedSlot(SkinButton button) {
    switch (button) {
        case SkinButton::Mini:
            return Slot::Min2;
        case SkinButton::Next:
            return Slot::Next3;
        case SkinButton::Pause:
            return Slot::Pause3;
        case SkinButton::Play:
            return Slot::Play3;
        case SkinButton::Stop:
            return Slot::Stop3;
        case SkinButton::Previous:
            return Slot::Prev3;
        case SkinButton::Close:
            return Slot::Close2;
        case SkinButton::Song:
            return Slot::Song2;
        case SkinButton::Setup:
            return Slot::Setup2;
    }
    return Slot::Play3;
}

QSize activeAreaTwips(SkinButton button) {
    switch (button) {
        case SkinButton::Mini:
        case SkinButton::Close:
        case SkinButton::Setup:
            return {705, 180};
        case SkinButton::Song:
            return {705, 450};
        case SkinButton::Play:
            return {1035, 450};
        case SkinButton::Pause:
        case SkinButton::Stop:
            return {570, 450};
        case SkinButton::Next:
        case SkinButton::Previous:
            return {570, 225};
    }
    return {};
}

const std::array<StripLayout, kStripCount>& stripLayouts() {
    static const std::array<StripLayout, kStripCount> layouts{{
        {"Play", 4, 1, kPlayCells},
        {"Stop", 4, 2, kStopCells},
        {"Seek", 4, 2, kSeekCells},
        {"Open", 4, 1, kOpenCells},
        {"Functions", 4, 3, kFunctionCells},
    }};
    return layouts;
}

QImage stripCell(const QImage& strip, int rows, int columns, int cell) {
    if (strip.isNull() || rows <= 0 || columns <= 0) {
        return {};
    }
    const int width = strip.width() / columns;
    const int height = strip.height() / rows;
    return strip.copy((cell % columns) * width, (cell / columns) * height, width, height);
}

void fillSlotsFromStrip(const StripLayout& layout, const QImage& strip, SlotPictures& pictures) {
    if (strip.isNull()) {
        return;
    }
    for (const StripCell& c : layout.cells) {
        at(pictures, c.slot) =
            QPixmap::fromImage(stripCell(strip, layout.rows, layout.columns, c.cell));
    }
}

}  // namespace marlo
