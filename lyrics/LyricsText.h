#pragma once

#include <QString>

// The text steps that cut lyrics out of a fetched page and shape them for storing.
namespace marlo::lyricstext {

// Every line feed becomes CR LF, so a CR LF already present becomes CR CR LF; stored lyrics
// carry these doubled line ends and the lyrics window's line rule undoes them.
QString newlinesToCrLf(const QString& s);

// Removes tags front to back while the first "<" stands before the first ">".
QString stripTags(const QString& s);

// The text after the first `start` up to the first `end` after it; empty when either is
// missing (a page without the start marker has no lyrics to cut).
QString between(const QString& s, const QString& start, const QString& end);

// Removes leading and then trailing blanks and CR LF pairs.
QString trimBlankLines(const QString& s);

// Removes the first `n` lines (each through its CR LF).
QString dropLines(const QString& s, int n);

// Plain lyrics of a JSON record into the stored form of a cut page: CR LF line ends doubled
// as the cut of a page doubles them, blank lines at both ends removed.
QString storedFormOfPlainLyrics(const QString& plain);

// Synced lyrics ("[mm:ss.xx] line") without their time tags, for records that only have those.
QString withoutTimeTags(const QString& synced);

}  // namespace marlo::lyricstext
