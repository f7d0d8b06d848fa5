#include "lyrics/LyricsFollower.h"

#include <QPlainTextEdit>

#include "base/Catalogue.h"
#include "base/texts/LyricsTexts.h"
#include "lyrics/DisplayLyrics.h"
#include "lyrics/ItemLyrics.h"
#include "lyrics/LrcParse.h"
#include "lyrics/LyricsServer.h"

namespace marlo {

namespace lt = texts::lyrics;

LyricsFollower::LyricsFollower(DisplayLyrics& window, LyricsPlayer& player, QObject* parent)
    : QObject(parent), window_(window), player_(player) {
    due_.setSingleShot(true);
    due_.setTimerType(Qt::PreciseTimer);
    connect(&due_, &QTimer::timeout, this, &LyricsFollower::tick);
    resync_.setSingleShot(true);
    resync_.setInterval(0);
    connect(&resync_, &QTimer::timeout, this, &LyricsFollower::tick);
    player_.setChangeListener([this] {
        if (active() && !resync_.isActive() && changedSinceSync()) {
            resync_.start();
        }
    });
    storeDelay_.setSingleShot(true);
    storeDelay_.setInterval(kStoreDelayMs);
    connect(&storeDelay_, &QTimer::timeout, this, &LyricsFollower::storeOffset);
    connect(&window_, &DisplayLyrics::shownChanged, this, &LyricsFollower::shownChanged);
    connect(&window_, &DisplayLyrics::lineClicked, this, &LyricsFollower::lineClicked);
    connect(&window_, &DisplayLyrics::offsetStep, this, &LyricsFollower::offsetStep);
    connect(&lookup_, &LrclibLookup::found, this, [this](const QByteArray& lyrics) {
        if (store_ != nullptr) {
            store_->storeLyrics(item_.title, lyrics);
        }
        display(parseLrc(lyrics));
    });
    connect(&lookup_, &LrclibLookup::notFound, this, [this] {
        notFound_.insert(key_);
        window_.showText(Catalogue::text(lt::kNoSongLyrics));
    });
}

LyricsFollower::~LyricsFollower() {
    player_.setChangeListener({});
    storeOffset();
}

void LyricsFollower::showItem(const NowPlaying& item) {
    storeOffset();
    lookup_.cancel();
    following_ = true;
    key_ = player_.currentKey();
    item_ = item;
    needsLookup_ = false;
    window_.setWindowTitle(item.title.isEmpty()
                               ? Catalogue::text(lt::kDisplayCaption)
                               : Catalogue::text(lt::kDisplayCaptionSong).arg(item.title));
    if (item.kind == NowPlaying::Kind::Module) {
        lyrics_ = {};
        window_.showText(Catalogue::text(lt::kModuleNoLyrics));
    } else {
        const ItemLyrics found = ItemLyrics::find(item, store_);
        album_ = found.album;
        if (!found.lyrics.isEmpty()) {
            display(found.lyrics);
        } else {
            lyrics_ = {};
            // Only an LRCLIB server can be asked about one song by its length.
            const LyricsServer server(server_ ? server_() : QString());
            needsLookup_ = item.kind == NowPlaying::Kind::AudioFile && !notFound_.contains(key_) &&
                           server.kind() == LyricsServer::Kind::Lrclib && server.valid();
            window_.showText(
                Catalogue::text(needsLookup_ ? lt::kSearchingSongLyrics : lt::kNoSongLyrics));
        }
    }
    shownChanged(window_.isVisible());
}

void LyricsFollower::stop() {
    storeOffset();
    lookup_.cancel();
    following_ = false;
    due_.stop();
    resync_.stop();
}

void LyricsFollower::display(const SyncedLyrics& lyrics) {
    needsLookup_ = false;
    lyrics_ = lyrics;
    litLine_ = litWord_ = -2;
    if (!lyrics_.synced()) {
        window_.showText(lyrics_.plain);
        return;
    }
    QStringList lines;
    lines.reserve(lyrics_.lines.size());
    for (const LyricLine& line : lyrics_.lines) {
        // One block per line keeps block numbers and line numbers the same.
        lines.append(QString(line.text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }
    window_.showLines(lines);
    refreshLight();
    if (active()) {
        schedule();
    }
}

void LyricsFollower::shownChanged(bool shown) {
    shown_ = shown;
    if (active()) {
        if (needsLookup_ && !lookup_.running()) {
            lookUp();
        }
        tick();
    } else {
        due_.stop();
        resync_.stop();
        if (lookup_.running()) {
            // Asked again when the window shows the item next time.
            lookup_.cancel();
        }
    }
}

void LyricsFollower::lookUp() {
    lookup_.start(server_(), {item_.artist, item_.title, album_, item_.lengthMs});
}

void LyricsFollower::tick() {
    if (!active()) {
        return;
    }
    if (player_.currentKey() != key_) {
        const NowPlaying next = player_.nowPlaying();
        if (next.kind == NowPlaying::Kind::CdTrack) {
            // The CD route shows its own tracks.
            key_ = player_.currentKey();
            return;
        }
        showItem(next);
        return;
    }
    refreshLight();
    schedule();
}

bool LyricsFollower::changedSinceSync() {
    if (player_.currentKey() != key_ || player_.running() != synced_.running) {
        return true;
    }
    // A seek moves the position away from where the clock has taken it.
    const qint64 expected =
        synced_.positionMs + (synced_.running ? synced_.clock.elapsed() : qint64(0));
    return std::abs(player_.positionMs() - expected) > kJumpMs;
}

void LyricsFollower::schedule() {
    due_.stop();
    synced_.running = player_.running();
    synced_.positionMs = player_.positionMs();
    synced_.clock.start();
    if (!lyrics_.synced() || !synced_.running) {
        return;  // a resume or a seek is reported as a change
    }
    const qint64 at = player_.positionMs() + lyrics_.offsetMs;
    const int line = lyrics_.lineAt(player_.positionMs());
    qint64 next = line + 1 < lyrics_.lines.size() ? lyrics_.lines[line + 1].ms : -1;
    if (line >= 0) {
        for (const LyricWord& word : lyrics_.lines[line].words) {
            if (word.ms > at) {
                next = next < 0 ? word.ms : std::min(next, word.ms);
                break;
            }
        }
    }
    if (next >= 0) {
        due_.start(int(std::clamp<qint64>(next - at, kShortestWaitMs, kLongestWaitMs)));
    }
}

void LyricsFollower::refreshLight() {
    if (!lyrics_.synced()) {
        return;
    }
    const qint64 at = player_.positionMs();
    const int line = lyrics_.lineAt(at);
    const int word = lyrics_.wordAt(line, at);
    if (line == litLine_ && word == litWord_) {
        return;
    }
    litLine_ = line;
    litWord_ = word;
    if (word >= 0) {
        const LyricWord& w = lyrics_.lines[line].words[word];
        window_.light(line, w.start, w.length);
    } else {
        window_.light(line);
    }
}

void LyricsFollower::lineClicked(int line) {
    if (!lyrics_.synced() || line < 0 || line >= lyrics_.lines.size() || !player_.canSeek()) {
        return;
    }
    player_.seekTo(std::max<qint64>(0, lyrics_.lines[line].ms - lyrics_.offsetMs));
    tick();
}

void LyricsFollower::offsetStep(int ms) {
    if (!lyrics_.synced()) {
        return;
    }
    lyrics_.offsetMs += ms;
    storeDelay_.start();
    tick();
}

void LyricsFollower::storeOffset() {
    if (!storeDelay_.isActive()) {
        return;
    }
    storeDelay_.stop();
    if (store_ != nullptr && lyrics_.synced()) {
        store_->storeLyrics(item_.title, toLrc(lyrics_));
    }
}

}  // namespace marlo
