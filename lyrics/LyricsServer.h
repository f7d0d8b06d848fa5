#pragma once

#include <QString>
#include <QUrl>

namespace marlo {

// Which protocol a lyrics server speaks, decided from the entry of the lyrics server box alone:
//  - a bare "host" or "host:port" is a search server of the classic kind, asked over http with
//    "/query/normal?..." and "/query/get?s=...";
//  - "lrclib.net" (the default entry) is the LRCLIB API at https://lrclib.net;
//  - an entry with a scheme, "https://host[:port][/path]" or "http://host[:port][/path]", is an
//    LRCLIB API server at that address (plain http for servers on the local network or for
//    tests).
class LyricsServer {
  public:
    enum class Kind { Classic, Lrclib };

    explicit LyricsServer(const QString& entry);

    Kind kind() const { return kind_; }
    bool valid() const { return valid_; }
    bool usesTls() const;

    // Classic kind: values with blanks already replaced by "+".
    QString classicSearchUrl(const QString& artist, const QString& album,
                             const QString& song) const;
    QString classicSongUrl(const QString& id) const;

    // LRCLIB kind: plain values, percent-encoded here as UTF-8.
    QString lrclibSearchUrl(const QString& artist, const QString& album, const QString& song) const;
    QString lrclibRecordUrl(const QString& id) const;
    // LRCLIB kind: a path with its query, already encoded.
    QString apiUrl(const QString& pathAndQuery) const { return base_ + pathAndQuery; }

    // A value of a classic query: blank → "+"; "%", "&", "#" and "?" encoded because they
    // would end or change the query; everything else as it is.
    static QString classicEncoded(const QString& value);

  private:
    Kind kind_ = Kind::Classic;
    bool valid_ = true;
    QString base_;  // scheme, host, port and path prefix without a trailing "/"
};

// "Marlo/<version>", sent to every lyrics server.
QString lyricsUserAgent();

}  // namespace marlo
