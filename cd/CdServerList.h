#pragma once

#include <QStringList>

namespace marlo {

// The CD database servers offered in the item editor, each "host port". Count, order and ports
// are fixed; the hosts are servers that speak the CD database line protocol.
inline QStringList cdDatabaseServers() {
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
