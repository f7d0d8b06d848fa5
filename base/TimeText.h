#pragma once

#include <QString>
#include <cstdint>

namespace marlo {

// Milliseconds as "nn:ss" — formatted as a time of day, so whole hours drop out (61:05 shows as
// 01:05) — followed by " min:sec" or " Min:Sek" in the current language.
QString timeText(int64_t milliseconds);

// Only the "nn:ss" part.
QString minutesSeconds(int64_t milliseconds);

}  // namespace marlo
