#include "library/ItemEditor.h"

#include "base/EventWait.h"
#include "base/Settings.h"
#include "base/texts/AddingTexts.h"
#include "base/texts/LyricsTexts.h"
#include "cd/CdBase.h"
#include "library/LibrarySession.h"
#include "library/SaveItem.h"
#include "lyrics/Lyric.h"
#include "platform/Prompts.h"

namespace marlo {
namespace {

namespace caption = texts::editierform;

constexpr int kLookupConnectTimeoutMs = 60000;
// The server's farewell ("230 ... Goodbye") arrives after the lookup returned; the lyrics run
// waits that long at most for it, so the server log is whole before the lyrics trace follows.
constexpr int kFarewellWaitMs = 3000;

QString trackTitle(int track) {
    return QStringLiteral("Track %1").arg(track);
}

}  // namespace

ItemEditor::ItemEditor(LibrarySession& session, QObject* parent)
    : QObject(parent),
      session_(session),
      cdBase_(new CdBase(session.prompts, this)),
      lyric_(new Lyric(this)) {
    cdBase_->setObjectName(QStringLiteral("CdBase1"));
    lyric_->setObjectName(QStringLiteral("Lyric1"));
    connect(cdBase_, &CdBase::dataSent, this,
            [this](const QString& text, int) { emit logged(text); });
    // Each progress notice of a lyrics fetch shows as one dash; the requests and a failed
    // transfer's reason show in full, so the log tells what was asked (and that a search was
    // tried again without "The") and why nothing came.
    const QString failed = Catalogue::text(texts::lyrics::kTransferFailed).section('%', 0, 0);
    connect(lyric_, &Lyric::commInfo, this, [this, failed](const QString& text, bool) {
        const bool whole = text.startsWith(QLatin1String("Get: ")) || text.startsWith(failed);
        emit logged(whole ? QLatin1String("\r\n") + text + QLatin1String("\r\n")
                          : QStringLiteral("-"));
    });
}

ItemEditor::~ItemEditor() = default;

void ItemEditor::loadItem(const QString& title) {
    const MediaItem item = session_.store.ReadItem(session_.kind(), title);
    auto value = [](const QString& read) { return isNotPresent(read) ? QString() : read; };
    fields.title = isNotPresent(item.title) ? title : item.title;
    fields.path = value(item.path);
    fields.artist = value(item.artist);
    fields.editedTitle = title;
}

void ItemEditor::busy(bool on) {
    if (busyPointer_) {
        busyPointer_(on);
    }
}

// ---- CD mode --------------------------------------------------------------------------------

bool ItemEditor::beginCd() {
    cd = CdDraft{};
    cd.discId = cdBase_->cdid();
    cd.trackCount = cd.discId.isEmpty() ? 0 : cdBase_->tracks();
    fields.clear();
    fields.editedTitle.clear();
    fields.title = trackTitle(1);
    return cd.trackCount > 0;
}

void ItemEditor::storeDraft() {
    while (cd.tracks.size() < cd.trackCount) {
        cd.tracks.append(CdTrackInfo{trackTitle(static_cast<int>(cd.tracks.size()) + 1), {}});
    }
    session_.store.putCdInfoRecord(cd.discId, cd.album, cd.tracks);
    session_.writer.operationDone();
}

bool ItemEditor::nextTrack() {
    if (cd.discId.isEmpty()) {
        return false;
    }
    if (cd.tracks.isEmpty()) {
        cd.album = fields.path;  // the header of the record is begun with the first track
    }
    // SaveItem's CD branch notes the track; an empty title is refused there with its message.
    if (SaveItem(*this).run().result != SaveItem::Result::CdTrackNoted) {
        return false;
    }
    const int n = qMax(1, cd.currentTrack);
    if (n >= cd.trackCount) {
        storeDraft();
        return true;
    }
    cd.currentTrack = n + 1;
    fields.title = trackTitle(cd.currentTrack);
    return false;
}

bool ItemEditor::ensureEmail() {
    if (!cdBase_->email().isEmpty()) {
        return true;
    }
    if (settings_ != nullptr && !settings_->email.isEmpty()) {
        cdBase_->setEmail(settings_->email);
        return true;
    }
    const std::optional<QString> answer = session_.prompts.input(
        Catalogue::text(caption::kEmailTitle), Catalogue::text(caption::kEmailPrompt), QString());
    if (!answer || answer->trimmed().isEmpty()) {
        return false;
    }
    cdBase_->setEmail(answer->trimmed());
    if (settings_ != nullptr) {
        settings_->email = cdBase_->email();
    }
    return true;
}

bool ItemEditor::lookup(const QString& serverText) {
    if (cdBase_->busy()) {
        return false;
    }
    const QString text = serverText.trimmed();
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    cdBase_->setServer(blank < 0 ? text : text.left(blank));
    cdBase_->setPort(blank < 0 ? CdBase::kDefaultPort : text.mid(blank + 1).trimmed().toInt());
    if (!ensureEmail()) {
        return false;
    }
    cdBase_->setHostName(CdBase::getMyHostName());
    cdBase_->setConnectTimeout(kLookupConnectTimeoutMs);
    busy(true);
    const QString result = cdBase_->getCddb();
    busy(false);
    if (cdBase_->cancelled()) {
        return false;  // the user ended it: nothing to tell, nothing stored
    }
    const QString control = Catalogue::text(caption::kCddbControl);
    if (cdBase_->lastError()) {
        session_.prompts.inform(control, cdBase_->lastError()->description, PromptIcon::Error);
        return false;
    }
    // An entry was read when the result is its summary. An empty result was told already (no
    // match, a corrupt entry) or chosen away; a failure text is told here. Nothing is stored
    // then: a record of placeholder titles would make the disc look known.
    const QString title = cdBase_->title();
    if (title.isEmpty() || !result.startsWith(title + QLatin1String("\r\n"))) {
        if (!result.isEmpty()) {
            session_.prompts.inform(control, result, PromptIcon::Error);
        }
        return false;
    }
    cd.discId = cdBase_->cdid();
    cd.trackCount = cdBase_->tracks();
    cd.album = cdBase_->cdTitle();
    cd.tracks.clear();
    for (int n = 1; n <= cd.trackCount; ++n) {
        const QString song = cdBase_->songName(n);
        cd.tracks.append({song.isEmpty() ? trackTitle(n) : song, cdBase_->artist()});
    }
    storeDraft();
    cd.currentTrack = 1;
    fields.path = cd.album;
    fields.title = cd.tracks.value(0).title;
    fields.artist = cdBase_->artist();
    return true;
}

int ItemEditor::lyricsForAllTracks(const QString& cddbServerText, const QString& server) {
    if (lyric_->busy() || cdBase_->busy()) {
        return 0;
    }
    if (cd.discId.isEmpty()) {
        cd.discId = cdBase_->cdid();
        cd.trackCount = cd.discId.isEmpty() ? 0 : cdBase_->tracks();
    }
    if (cd.discId.isEmpty()) {
        return 0;
    }
    CdInfo info = session_.store.ReadCdInfo(cd.discId, cd.trackCount);
    if (!info.known || info.album.isEmpty() || isNotPresent(info.album)) {
        bool farewell = false;
        const auto watch =
            connect(cdBase_, &CdBase::dataSent, this, [&farewell](const QString& text, int) {
                farewell = farewell || text.startsWith(QLatin1String("230"));
            });
        const bool found = lookup(cddbServerText);
        if (found) {
            waitWhileDispatching([&farewell] { return farewell; }, kFarewellWaitMs);
        }
        disconnect(watch);
        if (!found) {
            return 0;
        }
        info = session_.store.ReadCdInfo(cd.discId, cd.trackCount);
    }
    busy(true);
    lyric_->setServer(server.trimmed());
    int stored = 0;
    for (int n = 1; n <= info.tracks.size(); ++n) {
        auto value = [](const QString& read) { return isNotPresent(read) ? QString() : read; };
        const QString title = value(info.tracks.at(n - 1).title);
        const QString artist = value(info.tracks.at(n - 1).artist);
        emit logged(QLatin1String("\r\n") + Catalogue::text(caption::kRetrievingLyrics) +
                    QLatin1String("\r\n") + title);
        // The fetch rewrites its arguments in place; every try gets the values as stored.
        QString a = artist, album = info.album, song = title;
        QString text = lyric_->getLyrics(a, album, song);
        if (lyric_->outcome() == Lyric::Outcome::NotFound &&
            artist.startsWith(QLatin1String("The"))) {
            a = artist.mid(4);
            album = info.album;
            song = title;
            text = lyric_->getLyrics(a, album, song);
        }
        if (lyric_->outcome() == Lyric::Outcome::Found) {
            session_.store.putLyrics(cd.discId, n, text.toUtf8());
            ++stored;
        }
    }
    session_.writer.operationDone();
    busy(false);
    return stored;
}

}  // namespace marlo
