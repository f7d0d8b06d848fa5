#pragma once

#include <QRect>

#include "tools/skinart/Glyphs.h"
#include "tools/skinart/SkinGeometry.h"

class QPainter;

namespace marlo::skinart {

struct SkinStyle;

// One key picture filling `cell`: the corners outside the rounded key are the style's well
// colour, the colour of the recess the background draws behind the key, so the picture fits
// seamlessly shown plain and also when that corner colour is taken as transparent.
void drawKey(QPainter& painter, const QRect& cell, Glyph glyph, Look look, const SkinStyle& style);

}  // namespace marlo::skinart
