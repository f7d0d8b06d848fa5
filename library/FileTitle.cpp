#include "library/FileTitle.h"

namespace marlo {

QString titleFromFileName(const QString& name) {
    const qsizetype slash =
        qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    QString title = name.mid(slash + 1);
    const qsizetype dot = title.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        title.truncate(dot);
    }
    // Letter by letter, so the title keeps its length ("ß" has no one-letter upper case).
    for (qsizetype i = 0; i < title.size(); ++i) {
        const bool wordStart = i == 0 || title[i - 1] == QLatin1Char(' ');
        title[i] = wordStart ? title[i].toUpper() : title[i].toLower();
    }
    return title;
}

}  // namespace marlo
