#include "lyrics/LrclibLookup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

#include "lyrics/LyricsServer.h"

namespace marlo {

namespace {

QByteArray lyricsOf(const QJsonObject& record) {
    if (record.value(QStringLiteral("instrumental")).toBool(false)) {
        return {};
    }
    for (const char* key : {"syncedLyrics", "plainLyrics"}) {
        const QJsonValue value = record.value(QLatin1String(key));
        if (value.isString() && !value.toString().trimmed().isEmpty()) {
            return value.toString().toUtf8();
        }
    }
    return {};
}

}  // namespace

LrclibLookup::LrclibLookup(QObject* parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { finish({}); });
}

LrclibLookup::~LrclibLookup() {
    cancel();
}

QByteArray LrclibLookup::lyricsOfRecord(const QByteArray& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (document.isObject()) {
        return lyricsOf(document.object());
    }
    // A search answers with records, best first: the first with lyrics.
    for (const QJsonValue& value : document.array()) {
        const QByteArray lyrics = lyricsOf(value.toObject());
        if (!lyrics.isEmpty()) {
            return lyrics;
        }
    }
    return {};
}

void LrclibLookup::start(const QString& serverEntry, const Song& song) {
    cancel();
    const LyricsServer server(serverEntry);
    if (server.kind() != LyricsServer::Kind::Lrclib || !server.valid() || song.title.isEmpty()) {
        QTimer::singleShot(0, this, [this] { emit notFound(); });
        return;
    }
    QUrlQuery get;
    get.addQueryItem(QStringLiteral("track_name"), song.title);
    get.addQueryItem(QStringLiteral("artist_name"), song.artist);
    if (!song.album.isEmpty()) {
        get.addQueryItem(QStringLiteral("album_name"), song.album);
    }
    if (song.lengthMs > 0) {
        get.addQueryItem(QStringLiteral("duration"), QString::number((song.lengthMs + 500) / 1000));
    }
    QUrlQuery search;
    search.addQueryItem(QStringLiteral("track_name"), song.title);
    search.addQueryItem(QStringLiteral("artist_name"), song.artist);
    const auto encoded = [](const QUrlQuery& q) {
        return q.toString(QUrl::FullyEncoded).replace(QLatin1Char('+'), QStringLiteral("%2B"));
    };
    searchUrl_ = server.apiUrl(QStringLiteral("/api/search?") + encoded(search));
    deadline_.start(timeoutMs_);
    request(server.apiUrl(QStringLiteral("/api/get?") + encoded(get)));
}

void LrclibLookup::request(const QString& url) {
    QNetworkRequest request{QUrl(url, QUrl::StrictMode)};
    request.setHeader(QNetworkRequest::UserAgentHeader, lyricsUserAgent());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    body_.clear();
    tooLarge_ = false;
    reply_ = manager_->get(request);
    connect(reply_, &QNetworkReply::readyRead, this, [this] {
        if (body_.size() + reply_->bytesAvailable() > kMaxBody) {
            tooLarge_ = true;
            reply_->abort();
            return;
        }
        body_ += reply_->readAll();
    });
    connect(reply_, &QNetworkReply::finished, this, &LrclibLookup::answered);
}

void LrclibLookup::answered() {
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    reply->deleteLater();
    if (!tooLarge_) {
        body_ += reply->readAll();
    }
    const bool ok =
        !tooLarge_ && reply->error() == QNetworkReply::NoError && body_.size() <= kMaxBody;
    const QByteArray lyrics = ok ? lyricsOfRecord(body_) : QByteArray();
    if (lyrics.isEmpty() && !searchUrl_.isEmpty()) {
        const QString next = searchUrl_;
        searchUrl_.clear();
        request(next);
        return;
    }
    finish(lyrics);
}

void LrclibLookup::finish(const QByteArray& lyrics) {
    cancel();
    if (lyrics.isEmpty()) {
        emit notFound();
    } else {
        emit found(lyrics);
    }
}

void LrclibLookup::cancel() {
    deadline_.stop();
    searchUrl_.clear();
    if (reply_ != nullptr) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

}  // namespace marlo
