#pragma once

#include <QStringList>

namespace marlo {

// The CD database servers offered in the item editor, each "host port". Count, order and ports
// are fixed; the hosts are servers that speak the CD database line protocol.
QStringList cdDatabaseServers();

}  // namespace marlo
