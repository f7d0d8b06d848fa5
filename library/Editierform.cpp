#include "library/Editierform.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QUrl>

#include "base/WidgetHelpers.h"
#include "base/texts/AddingTexts.h"
#include "base/texts/CaptionTexts.h"
#include "cd/CdBase.h"
#include "library/Extensions.h"
#include "library/ItemFormats.h"
#include "library/KindListFile.h"
#include "library/LibrarySession.h"
#include "library/OpenKind.h"
#include "library/SaveItem.h"
#include "lyrics/Lyric.h"
#include "platform/Prompts.h"

namespace marlo {
namespace {

namespace caption = texts::editierform;

QString german(const TextPair& pair) {
    return QString::fromUtf8(pair.de);
}

// "Name (*.a;*.b)|*.a;*.b|..." as the old dialogs took it, in Qt's "Name (*.a *.b);;..." form.
QString qtFilter(const QString& windowsFilter) {
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        // The name repeats its patterns in brackets; Qt reads them from there, separated by
        // blanks, so they are written once more in that form.
        const qsizetype bracket = name.lastIndexOf(QLatin1String(" ("));
        if (name.endsWith(QLatin1Char(')')) && bracket > 0) {
            name.truncate(bracket);
        }
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(name + QLatin1String(" (") + patterns.simplified() + QLatin1Char(')'));
    }
    return filters.join(QLatin1String(";;"));
}

}  // namespace

Editierform::Editierform(LibrarySession& session, Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window),
      session_(session),
      settings_(settings),
      item_(session),
      adder_(item_) {
    setObjectName(QStringLiteral("Editierform"));
    // Designed with the German captions; the caption switch sets the English ones.
    setWindowTitle(german(caption::kTitle));

    titleLabel_ = named(new QLabel(german(caption::kTitleLabel), this), "Bezeichnung1");
    text1_ = named(new QLineEdit(this), "Text1");
    albumLabel_ = named(new QLabel(german(caption::kAlbumLabel), this), "Label1");
    albumLabel_->hide();  // the path field is the album only for a CD
    text2_ = named(new QLineEdit(this), "Text2");
    artistLabel_ = named(new QLabel(german(caption::kArtistLabel), this), "Bezeichnung3");
    text3_ = named(new QLineEdit(this), "Text3");
    actions_ = named(new QComboBox(this), "Combo2");
    save_ = named(new QPushButton(german(caption::kBefehl1), this), "Befehl1");
    cancel_ = named(new QPushButton(german(caption::kBefehl2), this), "Befehl2");
    nextTrack_ = named(new QPushButton(german(caption::kBefehl4), this), "Befehl4");
    nextTrack_->setEnabled(false);
    lyrics_ = named(new QPushButton(german(caption::kLyrics), this), "Command1");
    lyrics_->hide();
    cddbLabel_ = named(new QLabel(german(caption::kCddbServerLabel), this), "Label2");
    cddbServers_ = named(new QComboBox(this), "Combo1");
    cddbServers_->setEditable(true);
    lyricsLabel_ = named(new QLabel(german(caption::kLyricsServerLabel), this), "Label3");
    lyricsServers_ = named(new QComboBox(this), "Combo3");
    lyricsServers_->setEditable(true);
    timerLabel_ = named(new QLabel(german(caption::kTimerLabel), this), "Label4");
    serverLog_ = named(new QPlainTextEdit(this), "Serverlog");
    serverLog_->setReadOnly(true);
    progress_ = named(new QLabel(this), "Progress");
    progress_->hide();
    titleLabel_->setBuddy(text1_);
    artistLabel_->setBuddy(text3_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(titleLabel_, 0, 0);
    grid->addWidget(text1_, 0, 1, 1, 3);
    grid->addWidget(albumLabel_, 1, 0);
    grid->addWidget(text2_, 1, 1, 1, 3);
    grid->addWidget(artistLabel_, 2, 0);
    grid->addWidget(text3_, 2, 1, 1, 3);
    grid->addWidget(actions_, 3, 0);
    grid->addWidget(save_, 3, 1);
    grid->addWidget(cancel_, 3, 2);
    grid->addWidget(nextTrack_, 3, 3);
    grid->addWidget(progress_, 4, 0, 1, 3);
    grid->addWidget(lyrics_, 4, 3);
    grid->addWidget(cddbLabel_, 5, 0);
    grid->addWidget(cddbServers_, 5, 1, 1, 3);
    grid->addWidget(lyricsLabel_, 6, 0);
    grid->addWidget(lyricsServers_, 6, 1, 1, 3);
    // Heads the server log, whose exchanges run against the network reply timers.
    grid->addWidget(timerLabel_, 7, 0, 1, 4);
    grid->addWidget(serverLog_, 8, 0, 1, 4);
    resize(480, 360);

    connect(actions_, &QComboBox::activated, this, &Editierform::runAction);
    connect(nextTrack_, &QPushButton::clicked, this, &Editierform::nextTrack);
    connect(lyrics_, &QPushButton::clicked, this, &Editierform::lyricsForAllTracks);
    const auto lyricsServerChosen = [this] {
        if (lyricsServerChosen_ && !lyricsServers_->currentText().trimmed().isEmpty()) {
            lyricsServerChosen_(lyricsServers_->currentText().trimmed());
        }
    };
    connect(lyricsServers_, &QComboBox::activated, this, lyricsServerChosen);
    connect(lyricsServers_->lineEdit(), &QLineEdit::editingFinished, this, lyricsServerChosen);
    connect(&item_, &ItemEditor::logged, this, &Editierform::appendLog);
    item_.setSettings(&settings_);
    item_.cdBase().setChooser(&choosers_);
    item_.lyric().setChooser(&choosers_);
    item_.setBusyPointer([](bool busy) {
        if (busy) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QGuiApplication::restoreOverrideCursor();
        }
    });
    connect(save_, &QPushButton::clicked, this, &Editierform::save);
    connect(cancel_, &QPushButton::clicked, this, &Editierform::cancel);
    // Enter stores the item; in CD mode (Next Track enabled) it moves to the next track.
    for (QLineEdit* field : {text1_, text3_}) {
        connect(field, &QLineEdit::returnPressed, this, [this] {
            if (nextTrack_->isEnabled()) {
                nextTrack_->click();
            } else {
                save();
            }
        });
    }
    text2_->setAcceptDrops(true);
    text2_->installEventFilter(this);
    adder_.setChooserParent(this);
    adder_.setProgress([this](int done, int total) { showProgress(done, total); });
    // Created on first use: a window made after the caption switch takes it now.
    CaptionSwitch::adopt(*this);
}

Editierform::~Editierform() = default;

void Editierform::applyEnglishCaptions() {
    auto english = [](const TextPair& pair) { return QString::fromUtf8(pair.en); };
    setWindowTitle(english(caption::kTitle));
    titleLabel_->setText(english(caption::kTitleLabel));
    artistLabel_->setText(english(caption::kArtistLabel));
    albumLabel_->setText(english(caption::kAlbumLabel));
    save_->setText(english(caption::kBefehl1));
    cancel_->setText(english(caption::kBefehl2));
    nextTrack_->setText(english(caption::kBefehl4));
    timerLabel_->setText(english(caption::kTimerLabel));
}

void Editierform::open(Mode mode, const QString& title) {
    mode_ = mode;
    if (mode == Mode::Cd) {
        item_.beginCd();
        save_->setText(Catalogue::text(caption::kCddbCaption));
        nextTrack_->setEnabled(true);
        actions_->hide();
        lyrics_->show();
        albumLabel_->show();
        loadFields();
        show();
        raise();
        activateWindow();
        text1_->setFocus();
        text1_->selectAll();
        return;
    }
    albumLabel_->hide();
    actions_->clear();
    actions_->addItem(Catalogue::text(caption::kAddFile));
    if (mode == Mode::Edit) {
        item_.loadItem(title);
        actions_->setCurrentIndex(0);
    } else {
        actions_->addItem(Catalogue::text(caption::kAddDir));
        actions_->addItem(Catalogue::text(caption::kExtensions));
        actions_->setCurrentIndex(-1);
    }
    loadFields();
    show();
    raise();
    activateWindow();
    text1_->setFocus();
}

void Editierform::setPathFieldEnabled(bool enabled) {
    text2_->setEnabled(enabled);
}

void Editierform::loadFields() {
    text1_->setText(item_.fields.title);
    text2_->setText(item_.fields.path);
    text3_->setText(item_.fields.artist);
}

void Editierform::storeFields() {
    item_.fields.title = text1_->text();
    item_.fields.path = text2_->text();
    item_.fields.artist = text3_->text();
}

QString Editierform::dialogFilter(MediaKind kind) {
    QString filter;
    switch (kind) {
        case MediaKind::Video:
            filter = Catalogue::text(caption::kFilterAllVideo);
            break;
        case MediaKind::Pictures:
            filter = Catalogue::text(caption::kFilterAllPictures);
            break;
        case MediaKind::Audio:
            filter = Catalogue::text(caption::kFilterAllAudio) +
                     Catalogue::text(caption::kFilterMusic).arg(moreAudioPatterns().join(u';'));
            break;
        case MediaKind::CdAudio:
            return {};
    }
    return qtFilter(filter + Catalogue::text(caption::kFilterArchives));
}

QString& Editierform::rememberedFolder() {
    switch (session_.kind()) {
        case MediaKind::Video:
            return settings_.lastFolderVideo;
        case MediaKind::Pictures:
            return settings_.lastFolderPictures;
        case MediaKind::Audio:
        case MediaKind::CdAudio:
            break;
    }
    return settings_.lastFolderAudio;
}

void Editierform::runAction(int index) {
    if (busy()) {
        return;
    }
    const QString action = actions_->itemText(index);
    if (action == Catalogue::text(caption::kAddFile)) {
        addFile();
    } else if (action == Catalogue::text(caption::kAddDir)) {
        addFolder();
    } else if (action == Catalogue::text(caption::kExtensions)) {
        showExtensions();
    }
}

void Editierform::addFile() {
    // Before the first choice the dialog starts in the home folder (the old start was a drive).
    const QString start = rememberedFolder().isEmpty() ? QDir::homePath() : rememberedFolder();
    const QStringList chosen = session_.prompts.openFiles(
        Catalogue::text(caption::kChooseFile), start, dialogFilter(session_.kind()), false);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = chosen.front();
    const qsizetype separator =
        qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    rememberedFolder() = path.left(separator + 1);
    storeFields();
    afterAdd(adder_.AddFile(path, EndingCase::Sensitive));
}

void Editierform::addFolder() {
    QStringList patterns = filter_.pattern().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (patterns.isEmpty()) {
        patterns = ExtensionFilter::patternsFor(session_.kind());
    }
    afterAdd(adder_.AddFolderFromBrowser(patterns));
}

void Editierform::showExtensions() {
    if (!extensions_) {
        extensions_ = std::make_unique<Extensions>(filter_, this);
    }
    extensions_->setKind(session_.kind());
    extensions_->exec();
}

void Editierform::afterAdd(const AddFiles::Report& report) {
    loadFields();
    if (report.handBack) {
        handBack(false);
    }
}

void Editierform::showProgress(int done, int total) {
    progress_->setText(Catalogue::text(caption::kProgress).arg(done));
    progress_->setVisible(done < total);
}

void Editierform::save() {
    if (busy()) {
        return;
    }
    if (mode_ == Mode::Cd) {
        cdLookup();
        return;
    }
    storeFields();
    const SaveItem::Outcome outcome = SaveItem(item_).run();
    loadFields();
    if (outcome.handBack) {
        handBack(false);
    }
}

void Editierform::cancel() {
    // During a CD database wait, Cancel ends the wait; the editor stays for another try.
    if (item_.cdBase().busy()) {
        item_.cdBase().cancel();
        return;
    }
    if (busy() || item_.lyric().busy()) {
        return;
    }
    item_.fields.editedTitle.clear();
    item_.fields.clear();
    loadFields();
    bool removed = false;
    const bool cd = mode_ == Mode::Cd || session_.kind() == MediaKind::CdAudio;
    CollectionChooser& chooser = session_.chooser;
    // A collection just created that received no item is taken back.
    if (session_.kind() != MediaKind::CdAudio && session_.archive.count() == 0 &&
        session_.playback.count() == 0 && !chooser.text().isEmpty()) {
        KindListFile(session_.paths.kindList(session_.kind()))
            .remove(chooser.text(), session_.paths.writeScratch());
        chooser.setText({});
        chooser.reloadEntries = true;
        OpenKind(session_).run(session_.kind(), CollectionSelection::AfterDelete);
        removed = true;
    }
    leaveCdMode();
    handBack(removed);
    if (cd && reopenCd_) {
        reopenCd_();
    }
}

void Editierform::leaveCdMode() {
    mode_ = Mode::NewItem;
    save_->setText(Catalogue::text(caption::kBefehl1));
    save_->setEnabled(true);
    lyrics_->hide();
    actions_->show();
    text2_->setEnabled(true);
    nextTrack_->setEnabled(false);
}

void Editierform::setServerLists(const QStringList& cddb, const QStringList& lyrics) {
    cddbServers_->clear();
    cddbServers_->addItems(cddb);
    lyricsServers_->clear();
    lyricsServers_->addItems(lyrics);
}

void Editierform::appendLog(const QString& text) {
    serverLog_->moveCursor(QTextCursor::End);
    serverLog_->insertPlainText(QString(text).remove(QLatin1Char('\r')));
    serverLog_->moveCursor(QTextCursor::End);
}

void Editierform::cdLookup() {
    if (item_.cdBase().busy()) {
        return;
    }
    storeFields();
    item_.cd.album = item_.fields.path;
    item_.lookup(cddbServers_->currentText());
    loadFields();
}

void Editierform::nextTrack() {
    if (mode_ != Mode::Cd || item_.cdBase().busy()) {
        return;
    }
    storeFields();
    const bool stored = item_.nextTrack();
    loadFields();
    if (stored) {
        // The record is stored; the fields unlock for an ordinary save again.
        leaveCdMode();
    }
    text1_->setFocus();
    text1_->selectAll();
}

void Editierform::lyricsForAllTracks() {
    if (mode_ != Mode::Cd) {
        return;
    }
    if (lyricsServerChosen_) {
        lyricsServerChosen_(lyricsServers_->currentText().trimmed());
    }
    item_.lyricsForAllTracks(cddbServers_->currentText(), lyricsServers_->currentText());
}

void Editierform::handBack(bool collectionRemoved) {
    hide();
    emit handedBack(collectionRemoved);
}

bool Editierform::eventFilter(QObject* watched, QEvent* event) {
    if (watched != text2_) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!localFilesOf(drag->mimeData()).isEmpty() && !busy()) {
                drag->acceptProposedAction();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = localFilesOf(drop->mimeData());
            if (files.isEmpty() || busy()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            storeFields();
            afterAdd(adder_.AddFile(files.front(), EndingCase::Sensitive));
            return true;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void Editierform::closeEvent(QCloseEvent* event) {
    // Closing the window is Cancel; during an add it waits for the add to end.
    event->ignore();
    if (!busy()) {
        cancel();
    }
}

}  // namespace marlo
