#pragma once

#include <QStringList>

namespace marlo {

// `marlo-cd lyrics [--server SERVER] ARTIST ALBUM SONG`: `args` are the words after "lyrics".
// Prints the text the lyrics client returns (the first hit where there are several) on standard
// output and its progress notices on standard error. Needs a running QCoreApplication.
// Exit code: 0 lyrics printed, 1 no lyrics (a result text was printed), 2 usage error.
int runLyricsCommand(const QStringList& args);
// Its usage, for its errors and for --help.
QString lyricsUsage();

}  // namespace marlo
