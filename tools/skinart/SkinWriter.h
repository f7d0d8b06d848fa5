#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace marlo::skinart {

struct SkinStyle;
struct Strip;

// A strip: one row per look, one column per button, every cell the size of its button.
QImage drawStrip(const Strip& strip, const SkinStyle& style);

// Draws every picture of the skin into `bilder`/<skin folder>/ as BMP files and returns the
// paths written; an empty list and `error` set when a file cannot be written.
QStringList writeSkin(const SkinStyle& style, const QString& bilder, QString& error);

}  // namespace marlo::skinart
