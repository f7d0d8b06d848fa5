#include "lyrics/LyricsDisplay.h"

#include <QPlainTextEdit>
#include <QStringList>

#include "base/Catalogue.h"
#include "base/texts/LyricsTexts.h"
#include "lyrics/DisplayLyrics.h"
#include "lyrics/LyricsFollower.h"
#include "platform/Prompts.h"

namespace marlo {

namespace lt = texts::lyrics;

namespace {

// Lines as a line reader gives them: CR LF, a lone CR and a lone LF each end a line, and a
// line end at the very end opens no further line.
QStringList fileLines(const QString& text) {
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(line);
            line.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
        } else {
            line += c;
        }
    }
    if (!line.isEmpty()) {
        lines.append(line);
    }
    return lines;
}

}  // namespace

LyricsDisplay::LyricsDisplay(CdLyricsSource& source, Prompts& prompts, QObject* parent)
    : QObject(parent), source_(source), prompts_(prompts), window_(new DisplayLyrics) {
    connect(window_, &DisplayLyrics::closedByUser, this, [this] { setWanted(false); });
}

LyricsDisplay::~LyricsDisplay() {
    follower_.reset();
    delete window_;
}

void LyricsDisplay::follow(LyricsPlayer& player, ItemLyricsStore* store,
                           std::function<QString()> server) {
    player_ = &player;
    follower_ = std::make_unique<LyricsFollower>(*window_, player);
    follower_->setStore(store);
    follower_->setServer(std::move(server));
}

QString LyricsDisplay::windowText(const QByteArray& file) {
    const QStringList lines = fileLines(QString::fromUtf8(file));
    QString text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.isEmpty() && i + 1 < lines.size()) {
            line = lines[++i];
        }
        text += line + QStringLiteral("\r\n");
    }
    return text;
}

void LyricsDisplay::setWanted(bool wanted) {
    if (wanted_ != wanted) {
        wanted_ = wanted;
        emit windowWantedChanged(wanted);
    }
}

void LyricsDisplay::hideLyrics() {
    window_->hide();
    setWanted(false);
}

void LyricsDisplay::showMissing() {
    prompts_.inform(Catalogue::title(lt::kNoLyricsMessage), Catalogue::body(lt::kNoLyricsMessage),
                    PromptIcon::Information);
    hideLyrics();
}

void LyricsDisplay::showLyrics() {
    if (player_ != nullptr) {
        const NowPlaying item = player_->nowPlaying();
        if (item.kind != NowPlaying::Kind::CdTrack) {
            follower_->showItem(item);
            window_->show();
            setWanted(true);
            return;
        }
        follower_->stop();
    }
    showCdTrack();
}

void LyricsDisplay::showCdTrack() {
    const QString line = source_.selectedPlaylistLine();
    const int track = line.left(2).trimmed().toInt();
    const QString title = line.mid(4);
    const QString disc = source_.lastDiscId();
    if (source_.albumOf(disc).isEmpty()) {
        showMissing();
        return;
    }
    const std::optional<QByteArray> stored = source_.lyricsOf(disc, track);
    if (!stored) {
        hideLyrics();
        return;
    }
    const QString text = windowText(*stored);
    if (text.isEmpty()) {
        showMissing();
        return;
    }
    window_->setWindowTitle(Catalogue::text(lt::kDisplayCaptionSong).arg(title));
    window_->showText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    window_->show();
    setWanted(true);
}

}  // namespace marlo
