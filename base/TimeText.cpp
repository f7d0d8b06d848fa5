#include "base/TimeText.h"

#include "base/texts/StartupTexts.h"

namespace marlo {

QString minutesSeconds(int64_t milliseconds) {
    constexpr int64_t kDay = 86'400'000;
    int64_t ms = milliseconds % kDay;
    if (ms < 0) {
        ms += kDay;
    }
    // A time of day is shown rounded to the nearest second.
    const int64_t seconds = ((ms + 500) / 1000) % 3600;
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString timeText(int64_t milliseconds) {
    return minutesSeconds(milliseconds) + tr(texts::kTimeSuffix);
}

}  // namespace marlo
