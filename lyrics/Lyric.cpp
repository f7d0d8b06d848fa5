#include "lyrics/Lyric.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "base/Catalogue.h"
#include "base/texts/LyricsTexts.h"
#include "lyrics/LyricsText.h"
#include "lyrics/PageFetch.h"

namespace marlo {

namespace lt = texts::lyrics;
using namespace lyricstext;

namespace {

const QString kSongLink = QStringLiteral("/query/get?s=");
const QString kNoId = QStringLiteral("No ID");

QString text(const TextPair& pair) {
    return Catalogue::text(pair);
}

// Marks a fetch as running for as long as it is in scope.
class BusyScope {
  public:
    explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& flag_;
};

}  // namespace

Lyric::Lyric(QObject* parent) : QObject(parent), fetch_(new PageFetch(this)) {
    fetch_->setStateListener([this](int state) { emit commInfo(stateText(state), false); });
}

Lyric::~Lyric() = default;

void Lyric::setTimeoutMs(int ms) {
    fetch_->setTimeoutMs(ms);
}

QString Lyric::stateText(int state) {
    if (state < 0 || state >= int(std::size(lt::kStates))) {
        return {};
    }
    return text(lt::kStates[state]);
}

QString Lyric::fail(Outcome outcome, const QString& result) {
    outcome_ = outcome;
    return result;
}

QString Lyric::getLyrics(QString& artist, QString& album, QString& song) {
    if (busy_) {
        // A second fetch from inside the first one's wait would overwrite its page and hits.
        return fail(Outcome::Busy, text(lt::kBusy));
    }
    hits_.clear();
    chosenId_.clear();
    if (artist.isEmpty()) {
        return fail(Outcome::Blank, text(lt::kArtistBlank));
    }
    if (album.isEmpty()) {
        return fail(Outcome::Blank, text(lt::kAlbumBlank));
    }
    const QString plainArtist = artist;
    const QString plainAlbum = album;
    const QString plainSong = song;
    artist.replace(QLatin1Char(' '), QLatin1Char('+'));
    album.replace(QLatin1Char(' '), QLatin1Char('+'));
    song.replace(QLatin1Char(' '), QLatin1Char('+'));

    const LyricsServer server(server_);
    if (!server.valid()) {
        return fail(Outcome::Failed,
                    text(lt::kTransferFailed).arg(text(lt::kReasonBadServer).arg(server_)));
    }
    const BusyScope running(busy_);
    const QString result = server.kind() == LyricsServer::Kind::Lrclib
                               ? lrclibLyrics(server, plainArtist, plainAlbum, plainSong)
                               : classicLyrics(server, LyricsServer::classicEncoded(artist),
                                               LyricsServer::classicEncoded(album),
                                               LyricsServer::classicEncoded(song));
    fetch_->cancel();
    emit commInfo(text(lt::kDone), false);
    return result;
}

bool Lyric::fetch(const QString& url, QString& failureText) {
    emit commInfo(text(lt::kGet).arg(url), true);
    QByteArray body;
    QString reason;
    if (!fetch_->get(url, body, reason)) {
        page_.clear();
        outcome_ = Outcome::Failed;
        failureText = text(lt::kTransferFailed).arg(reason);
        emit commInfo(failureText, true);
        return false;
    }
    page_ = QString::fromUtf8(body);
    emit commInfo(newlinesToCrLf(page_), true);
    return true;
}

void Lyric::choose() {
    int chosen = 0;
    if (hits_.size() > 1 && chooser_ != nullptr) {
        chosen = chooser_->chooseSong(hits_);
        if (chosen < 0 || chosen >= hits_.size()) {
            chosen = 0;
        }
    }
    chosenId_ = hits_.value(chosen).id;
}

QString Lyric::classicLyrics(const LyricsServer& server, const QString& artist,
                             const QString& album, const QString& song) {
    QString failure;
    if (!fetch(server.classicSearchUrl(artist, album, song), failure)) {
        return failure;
    }
    if (page_.contains(QStringLiteral("Search Results: No Songs Found!"))) {
        return fail(Outcome::NotFound, text(lt::kNoSongs));
    }
    if (parseHits(page_) == kNoId) {
        return fail(Outcome::NoId, text(lt::kNoId));
    }
    choose();
    if (!fetch(server.classicSongUrl(chosenId_), failure)) {
        return failure;
    }
    QString lyrics = stripTags(newlinesToCrLf(page_));
    lyrics = between(lyrics, QStringLiteral("Fulltext"), QStringLiteral("Click"));
    lyrics = dropLines(trimBlankLines(lyrics), 5);
    outcome_ = lyrics.isEmpty() ? Outcome::Empty : Outcome::Found;
    return lyrics;
}

QString Lyric::parseHits(const QString& page) {
    hits_.clear();
    qsizetype at = page.indexOf(kSongLink);
    if (at < 0) {
        return kNoId;
    }
    while (at >= 0) {
        const qsizetype idStart = at + kSongLink.size();
        qsizetype quote = page.indexOf(QLatin1Char('"'), idStart);
        const QString id = page.mid(idStart, quote < 0 ? -1 : quote - idStart);
        const qsizetype gt = page.indexOf(QLatin1Char('>'), idStart);
        const qsizetype titleStart = gt < 0 ? page.size() : gt + 1;
        const qsizetype less = page.indexOf(QLatin1Char('<'), titleStart);
        const QString title = page.mid(titleStart, less < 0 ? -1 : less - titleStart);
        if (hits_.size() < kMaxHits) {
            hits_.append({title, id});
        }
        at = page.indexOf(kSongLink, titleStart);
    }
    emit commInfo(text(lt::kSongsFound).arg(hits_.size()), false);
    return hits_.first().id;
}

QString Lyric::lrclibLyrics(const LyricsServer& server, const QString& artist, const QString& album,
                            const QString& song) {
    QString failure;
    if (!fetch(server.lrclibSearchUrl(artist, album, song), failure)) {
        return failure;
    }
    QJsonParseError error{};
    const QJsonDocument list = QJsonDocument::fromJson(page_.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !list.isArray()) {
        return fail(Outcome::Failed, text(lt::kTransferFailed).arg(text(lt::kReasonBadJson)));
    }
    const QJsonArray records = list.array();
    if (records.isEmpty()) {
        return fail(Outcome::NotFound, text(lt::kNoSongs));
    }
    for (const QJsonValue& value : records) {
        if (hits_.size() == kMaxHits) {
            break;
        }
        const QJsonObject record = value.toObject();
        const QJsonValue id = record.value(QStringLiteral("id"));
        if (!id.isDouble()) {
            continue;
        }
        hits_.append(
            {record.value(QStringLiteral("artistName")).toString() + QStringLiteral(" / ") +
                 record.value(QStringLiteral("trackName")).toString() + QStringLiteral(" / ") +
                 record.value(QStringLiteral("albumName")).toString(),
             QString::number(qint64(id.toDouble()))});
    }
    if (hits_.isEmpty()) {
        return fail(Outcome::NoId, text(lt::kNoId));
    }
    emit commInfo(text(lt::kSongsFound).arg(hits_.size()), false);
    choose();
    if (!fetch(server.lrclibRecordUrl(chosenId_), failure)) {
        return failure;
    }
    const QJsonDocument one = QJsonDocument::fromJson(page_.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !one.isObject()) {
        return fail(Outcome::Failed, text(lt::kTransferFailed).arg(text(lt::kReasonBadJson)));
    }
    const QJsonObject record = one.object();
    QString plain = record.value(QStringLiteral("plainLyrics")).toString();
    if (plain.trimmed().isEmpty()) {
        plain = withoutTimeTags(record.value(QStringLiteral("syncedLyrics")).toString());
    }
    if (plain.trimmed().isEmpty()) {
        // An instrumental or an empty record has nothing to store.
        return fail(Outcome::NotFound, text(lt::kNoSongs));
    }
    outcome_ = Outcome::Found;
    return storedFormOfPlainLyrics(plain);
}

}  // namespace marlo
