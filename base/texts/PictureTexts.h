#pragma once

#include "base/Catalogue.h"

// Texts of the picture viewer.
namespace marlo::texts {

// Shown in the viewer instead of a picture that cannot be decoded; "%1" is the file name.
inline constexpr TextPair kPictureUnreadable{
    "The picture \"%1\" cannot be shown: the file is damaged or not a picture.",
    "Das Bild \"%1\" kann nicht angezeigt werden: Die Datei ist beschädigt oder kein Bild."};

}  // namespace marlo::texts
