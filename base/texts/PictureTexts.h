#pragma once

#include "base/Catalogue.h"

// Texts of the picture viewer.
namespace marlo::texts {

// Shown in the viewer instead of a picture that cannot be decoded; "%1" is the file name.
inline constexpr TextPair kPictureUnreadable{
    "The picture \"%1\" cannot be shown: the file is damaged or not a picture.",
    "Das Bild \"%1\" kann nicht angezeigt werden: Die Datei ist beschädigt oder kein Bild."};

// Shown instead of a picture that is too large to be decoded; "%1" is the file name, "%2" and
// "%3" its width and height in pixels.
inline constexpr TextPair kPictureTooLarge{
    "The picture \"%1\" is too large to be shown (%2 × %3 pixels).",
    "Das Bild \"%1\" ist zu groß, um angezeigt zu werden (%2 × %3 Pixel)."};

}  // namespace marlo::texts
