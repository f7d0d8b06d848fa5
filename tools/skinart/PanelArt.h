#pragma once

#include <QImage>

namespace marlo::skinart {

struct SkinStyle;

// The main window's background: body, the recesses behind the buttons, the title display and
// the groove of the module volume bar, at the places of the default layout.
QImage drawBackground(const SkinStyle& style);

// The remote-control window's background, drawn for the size and places that window takes
// with this skin's button pictures.
QImage drawTaskbar(const SkinStyle& style);

}  // namespace marlo::skinart
