#pragma once

#include "base/Catalogue.h"

// Texts of the video window.
namespace marlo::texts {

inline constexpr TextPair kVideoPlayerCaption = same("Video Player");

}  // namespace marlo::texts
