#include "cd/CdServerList.h"

namespace marlo {

QStringList cdDatabaseServers() {
    return {
        QStringLiteral("gnudb.gnudb.org 8880"),
        QStringLiteral("gnudb.gnudb.org 888"),
        QStringLiteral("gnudb.org 8880"),
        QStringLiteral("freedb.dbpoweramp.com 8880"),
        QStringLiteral("gnudb.org 888"),
        QStringLiteral("www.gnudb.org 8880"),
        QStringLiteral("gnudb.gnudb.org 8880"),
        QStringLiteral("freedb.dbpoweramp.com 888"),
        QStringLiteral("www.gnudb.org 8880"),
        QStringLiteral("gnudb.org 8880"),
        QStringLiteral("freedb.dbpoweramp.com 8880"),
        QStringLiteral("www.gnudb.org 888"),
        QStringLiteral("gnudb.gnudb.org 888"),
        QStringLiteral("gnudb.org 888"),
        QStringLiteral("freedb.dbpoweramp.com 888"),
        QStringLiteral("www.gnudb.org 888"),
        QStringLiteral("gnudb.gnudb.org 888"),
    };
}

}  // namespace marlo
