#pragma once

#include <QStringList>

namespace marlo::cdtool {

// The subcommands of marlo-cd. Each takes the arguments after its name, writes one Key=value
// line per field to standard output and returns the exit status; on failure a one-line reason
// goes to standard error.
int discidCommand(const QStringList& arguments);
int parseCommand(const QStringList& arguments);
int lookupCommand(const QStringList& arguments);

// The usage line of each subcommand, for its errors and for --help.
QString discidUsage();
QString parseUsage();
QString lookupUsage();

// A value on one line: its line ends written as \n.
QString oneLine(const QString& value);
// Writes a one-line reason to standard error and returns the failure status.
int failWith(const QString& reason);

}  // namespace marlo::cdtool
