#pragma once

#include <QPainterPath>
#include <QRectF>

namespace marlo::skinart {

enum class Glyph { Play, Pause, Stop, Previous, Next, Open, Close, Minimize, Setup };

// The symbol of a button as a filled outline, centred in `cell` and scaled to its height.
QPainterPath glyphPath(Glyph glyph, const QRectF& cell);

}  // namespace marlo::skinart
