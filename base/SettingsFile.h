#pragma once

#include <QByteArray>
#include <QString>

#include "base/Settings.h"

namespace marlo {

// "Set.cfg": 24 lines, CR LF, read strictly in order.
class SettingsFile {
  public:
    static constexpr int kLineCount = 24;

    struct ReadResult {
        bool damaged = false;
        int damagedLine = 0;            // first line found wrong (0 when not damaged)
        bool languageRead = false;      // the language line was taken in before the damage
        bool zoomFieldEnabled = false;  // line 3 held 4
    };

    // Reads into `settings`. Values taken before a damaged line stay in `settings`, as start-up
    // keeps them and lays its defaults on top.
    static ReadResult parse(const QByteArray& bytes, Settings& settings);

    static QByteArray serialize(const Settings& settings);

    // False when the file could not be written; an existing file is then left as it was.
    static bool write(const QString& path, const Settings& settings);
};

}  // namespace marlo
