#include "lyrics/LyricsServer.h"

namespace marlo {

namespace {

QString percentEncoded(const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

}  // namespace

QString lyricsUserAgent() {
    return QStringLiteral("Marlo/" MARLO_VERSION_TEXT);
}

LyricsServer::LyricsServer(const QString& entry) {
    const QString text = entry.trimmed();
    if (text.compare(QStringLiteral("lrclib.net"), Qt::CaseInsensitive) == 0) {
        kind_ = Kind::Lrclib;
        base_ = QStringLiteral("https://lrclib.net");
        return;
    }
    if (text.contains(QStringLiteral("://"))) {
        const QUrl url(text, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        kind_ = Kind::Lrclib;
        valid_ = url.isValid() && !url.host().isEmpty() &&
                 (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
        base_ = text;
        while (base_.endsWith(QLatin1Char('/'))) {
            base_.chop(1);
        }
        return;
    }
    kind_ = Kind::Classic;
    valid_ = !text.isEmpty() && !text.contains(QLatin1Char('/'));
    base_ = QStringLiteral("http://") + text;
}

bool LyricsServer::usesTls() const {
    return base_.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
}

QString LyricsServer::classicEncoded(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
            case ' ':
                out += QLatin1Char('+');
                break;
            case '%':
                out += QStringLiteral("%25");
                break;
            case '&':
                out += QStringLiteral("%26");
                break;
            case '#':
                out += QStringLiteral("%23");
                break;
            case '?':
                out += QStringLiteral("%3F");
                break;
            default:
                out += c;
        }
    }
    return out;
}

QString LyricsServer::classicSearchUrl(const QString& artist, const QString& album,
                                       const QString& song) const {
    return base_ + QStringLiteral("/query/normal?artist=") + artist + QStringLiteral("&album=") +
           album + QStringLiteral("&song=") + song;
}

QString LyricsServer::classicSongUrl(const QString& id) const {
    return base_ + QStringLiteral("/query/get?s=") + id;
}

QString LyricsServer::lrclibSearchUrl(const QString& artist, const QString& album,
                                      const QString& song) const {
    return base_ + QStringLiteral("/api/search?track_name=") + percentEncoded(song) +
           QStringLiteral("&artist_name=") + percentEncoded(artist) +
           QStringLiteral("&album_name=") + percentEncoded(album);
}

QString LyricsServer::lrclibRecordUrl(const QString& id) const {
    return base_ + QStringLiteral("/api/get/") + percentEncoded(id);
}

}  // namespace marlo
