#include "skins/Marquee.h"

namespace marlo {

void Marquee::setText(const QString& text) {
    text_ = text;
}

void Marquee::tick() {
    if (text_.size() < 2) {
        return;
    }
    // A character outside the basic plane is two UTF-16 units; they move together, or the
    // title would show broken symbols on every other tick.
    const qsizetype first = text_.at(0).isHighSurrogate() && text_.at(1).isLowSurrogate() ? 2 : 1;
    text_ = text_.mid(first) + text_.left(first);
}

}  // namespace marlo
