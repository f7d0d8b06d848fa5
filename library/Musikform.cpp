#include "library/Musikform.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "base/WidgetHelpers.h"
#include "base/texts/CaptionTexts.h"
#include "base/texts/CollectionEditorTexts.h"
#include "library/ItemEditorLauncher.h"
#include "library/LibrarySession.h"
#include "platform/Prompts.h"

namespace marlo {

namespace cap = texts::musikform;
namespace msg = texts::collectioneditor;
namespace tip = texts::musikformtips;

namespace {

QPushButton* button(QWidget* parent, const char* name, const TextPair& caption) {
    auto* b = named(new QPushButton(QString::fromUtf8(caption.de), parent), name);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    return named(new QLabel(text, parent), name);
}

QListView* titleList(QWidget* parent, const char* name, QAbstractItemModel& model) {
    auto* list = named(new QListView(parent), name);
    // Every row has the same height: a list of 10,000 titles lays out without measuring each.
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setModel(&model);
    return list;
}

bool pointerBusy() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

}  // namespace

Musikform::Musikform(LibrarySession& session, CollectionEditor::Player player,
                     CollectionEditor::RandomSource random, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), editor_(session, player, std::move(random)) {
    setObjectName(QStringLiteral("Musikform"));
    // Designed with the German captions; the caption switch sets the English ones.
    setWindowTitle(QString::fromUtf8(cap::kTitle.de));
    build();
    showTips();
    connectLists();
    connectButtons();
    connect(&session_.chooser, &CollectionChooser::changed, this, &Musikform::refreshChooser);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    CaptionSwitch::registerWindow(this);
    CaptionSwitch::adopt(*this);
    refresh();
}

Musikform::~Musikform() {
    CaptionSwitch::unregisterWindow(this);
}

void Musikform::build() {
    kindSwitch_ = new QPushButton(this);
    kindSwitch_->setObjectName(QStringLiteral("Befehl9"));
    kindSwitch_->setAutoDefault(false);
    chooser_ = new QComboBox(this);
    chooser_->setObjectName(QStringLiteral("Kombi1"));
    chooser_->setEditable(true);
    // Enter makes a new collection; the chooser must not add or pick an entry by itself.
    chooser_->setInsertPolicy(QComboBox::NoInsert);
    chooser_->setMinimumContentsLength(20);
    deleteCollection_ = button(this, "DelColl", cap::kDelColl);

    archiveLabel_ = label(this, "Bezeichnung1", QString::fromUtf8(cap::kBezeichnung1.de));
    archiveCount_ = label(this, "Bezeichnung3", QStringLiteral("0"));
    playbackLabel_ = label(this, "Bezeichnung2", QString::fromUtf8(cap::kBezeichnung2.de));
    playbackCount_ = label(this, "Bezeichnung4", QStringLiteral("0"));

    archiveView_ = titleList(this, "Liste1", session_.archive);
    // A click toggles one entry.
    archiveView_->setSelectionMode(QAbstractItemView::MultiSelection);
    archiveView_->setAcceptDrops(true);
    archiveView_->viewport()->setAcceptDrops(true);
    archiveView_->viewport()->installEventFilter(this);
    playbackView_ = titleList(this, "Liste2", session_.playback);
    playbackView_->setSelectionMode(QAbstractItemView::SingleSelection);

    add_ = button(this, "Befehl6", cap::kBefehl6);
    addAll_ = button(this, "Befehl7", cap::kBefehl7);
    back_ = button(this, "Command3", cap::kCommand3);
    backAll_ = button(this, "Command2", cap::kCommand2);
    random_ = button(this, "Befehl5", cap::kBefehl5);
    newItem_ = button(this, "Befehl8", cap::kBefehl8);
    edit_ = button(this, "Befehl4", cap::kBefehl4);
    deleteItem_ = button(this, "Befehl3", cap::kBefehl3);
    finish_ = button(this, "Befhel10", cap::kBefhel10);

    auto* top = new QHBoxLayout;
    top->addWidget(kindSwitch_);
    top->addWidget(chooser_, 1);
    top->addWidget(deleteCollection_);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    for (QPushButton* b : {add_, addAll_, back_, backAll_, random_}) {
        middle->addWidget(b);
    }
    middle->addStretch();

    auto* grid = new QGridLayout;
    auto* archiveHead = new QHBoxLayout;
    archiveHead->addWidget(archiveLabel_);
    archiveHead->addStretch();
    archiveHead->addWidget(archiveCount_);
    auto* playbackHead = new QHBoxLayout;
    playbackHead->addWidget(playbackLabel_);
    playbackHead->addStretch();
    playbackHead->addWidget(playbackCount_);
    grid->addLayout(archiveHead, 0, 0);
    grid->addLayout(playbackHead, 0, 2);
    grid->addWidget(archiveView_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(playbackView_, 1, 2);
    // Both lists have the same size.
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {newItem_, edit_, deleteItem_}) {
        bottom->addWidget(b);
    }
    bottom->addStretch();
    bottom->addWidget(finish_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid, 1);
    layout->addLayout(bottom);
    resize(620, 420);
}

void Musikform::connectLists() {
    for (TitleListModel* model : {static_cast<TitleListModel*>(&session_.archive),
                                  static_cast<TitleListModel*>(&session_.playback)}) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &Musikform::refreshCounts);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &Musikform::refreshCounts);
        connect(model, &QAbstractItemModel::modelReset, this, &Musikform::refreshCounts);
    }
    connect(archiveView_, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { editor_.addToPlayback({index.row()}); });
    connect(playbackView_, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { editor_.returnToArchive(index.row()); });

    // The playback list's selected entry is the player's current item: the view and the list
    // follow each other.
    connect(playbackView_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (syncingSelection_) {
            return;
        }
        const QModelIndexList rows = playbackView_->selectionModel()->selectedRows();
        syncingSelection_ = true;
        session_.playback.setSelectedIndex(rows.isEmpty() ? -1 : rows.first().row());
        syncingSelection_ = false;
    });
    connect(&session_.playback, &PlaybackList::selectedIndexChanged, this,
            &Musikform::showPlaybackSelection);
}

void Musikform::connectButtons() {
    connect(kindSwitch_, &QPushButton::clicked, this,
            [this] { switchKindTo(CollectionEditor::nextKind(editor_.kind())); });
    connect(chooser_, &QComboBox::activated, this, &Musikform::collectionChosen);
    connect(deleteCollection_, &QPushButton::clicked, this, [this] { editor_.deleteCollection(); });
    connect(add_, &QPushButton::clicked, this, &Musikform::addSelected);
    connect(addAll_, &QPushButton::clicked, this, [this] { editor_.addAllToPlayback(); });
    connect(back_, &QPushButton::clicked, this, &Musikform::returnSelected);
    connect(backAll_, &QPushButton::clicked, this, [this] { editor_.returnAllToArchive(); });
    connect(random_, &QPushButton::clicked, this, [this] { editor_.randomOrder(); });
    connect(newItem_, &QPushButton::clicked, this, &Musikform::newItem);
    connect(edit_, &QPushButton::clicked, this, &Musikform::editItem);
    connect(deleteItem_, &QPushButton::clicked, this, &Musikform::deleteItem);
    connect(finish_, &QPushButton::clicked, this, &Musikform::finish);
}

// ---- Showing the session ------------------------------------------------------------------

void Musikform::refresh() {
    refreshChooser();
    refreshCounts();
    showPlaybackSelection(session_.playback.selectedIndex());
}

void Musikform::refreshCounts() {
    archiveCount_->setText(QString::number(session_.archive.count()));
    playbackCount_->setText(QString::number(session_.playback.count()));
}

void Musikform::refreshChooser() {
    const CollectionChooser& chooser = session_.chooser;
    const QSignalBlocker blocker(chooser_);
    chooser_->clear();
    chooser_->addItems(chooser.entries());
    chooser_->setCurrentIndex(chooser.currentIndex());
    chooser_->setEditText(chooser.text());

    kindSwitch_->setText(kindCaption());
    // CD audio has no collections: nothing to choose, edit or delete.
    const bool files = editor_.kind() != MediaKind::CdAudio;
    for (QWidget* w : {static_cast<QWidget*>(chooser_), static_cast<QWidget*>(deleteItem_),
                       static_cast<QWidget*>(edit_), static_cast<QWidget*>(deleteCollection_)}) {
        w->setEnabled(files);
    }
}

void Musikform::showPlaybackSelection(int row) {
    if (syncingSelection_) {
        return;
    }
    syncingSelection_ = true;
    QItemSelectionModel* selection = playbackView_->selectionModel();
    if (row < 0) {
        selection->clearSelection();
    } else {
        const QModelIndex index = session_.playback.index(row);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        playbackView_->scrollTo(index);
    }
    syncingSelection_ = false;
}

// ---- Actions ------------------------------------------------------------------------------

void Musikform::addSelected() {
    // Straight from the ranges: the list has one column, and selectedRows() tests every row
    // against every range, which takes seconds for thousands of scattered rows.
    QList<int> rows;
    for (const QItemSelectionRange& range : archiveView_->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.append(row);
        }
    }
    editor_.addToPlayback(rows);
}

void Musikform::returnSelected() {
    editor_.returnToArchive(session_.playback.selectedIndex());
}

void Musikform::switchKindTo(MediaKind kind) {
    editor_.switchKind(kind);
    if (kind == MediaKind::CdAudio && openCd_) {
        openCd_();
    }
}

void Musikform::collectionChosen(int index) {
    editor_.chooseCollection(index);
}

void Musikform::collectionEntered() {
    // The typed text is read here and by "New item" only: until then the open collection stays
    // the one items are saved into.
    if (editor_.newCollection(chooser_->currentText())) {
        openNewItemEditor();
    }
}

void Musikform::newItem() {
    if (editor_.kind() == MediaKind::CdAudio) {
        if (!cdTrackCount_ || cdTrackCount_() == 0) {
            session_.prompts.inform(Catalogue::title(msg::kInsertCd),
                                    Catalogue::body(msg::kInsertCd), PromptIcon::Information);
            if (openCd_) {
                openCd_();
            }
        }
        if (launcher_ != nullptr) {
            launcher_->openCd(frameGeometry());
            hide();
        }
        return;
    }
    if (editor_.prepareNewItem(chooser_->currentText())) {
        openNewItemEditor();
    }
}

void Musikform::openNewItemEditor() {
    if (launcher_ != nullptr) {
        launcher_->openNew(frameGeometry());
        hide();
    }
}

void Musikform::editItem() {
    const QString title = editor_.prepareEdit();
    if (title.isEmpty()) {
        return;
    }
    if (launcher_ != nullptr) {
        launcher_->openEdit(title, frameGeometry());
        hide();
    }
}

void Musikform::deleteItem() {
    editor_.deleteSelectedItem();
}

void Musikform::finish() {
    editor_.finish();
    hide();
}

// ---- Keys and drops -----------------------------------------------------------------------

bool Musikform::functionKey(int key) {
    if (key < Qt::Key_F2 || key > Qt::Key_F10) {
        return false;
    }
    if (pointerBusy()) {
        return true;
    }
    switch (key) {
        case Qt::Key_F2:
            switchKindTo(MediaKind::Audio);
            break;
        case Qt::Key_F3:
            switchKindTo(MediaKind::CdAudio);
            break;
        case Qt::Key_F4:
            switchKindTo(MediaKind::Video);
            break;
        case Qt::Key_F5:
            switchKindTo(MediaKind::Pictures);
            break;
        default:
            editor_.stopPlayback();
            break;
    }
    return true;
}

void Musikform::keyPressEvent(QKeyEvent* event) {
    if (!functionKey(event->key())) {
        QWidget::keyPressEvent(event);
    }
}

bool Musikform::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
                break;
            }
            if (functionKey(key->key())) {
                return true;
            }
            if (watched == playbackView_ && key->key() == Qt::Key_Delete) {
                deleteItem();
                return true;
            }
            // The chooser holds the focus and hands its keys to its text field by calling it
            // directly, past this filter: Enter is taken at the chooser.
            if ((watched == chooser_ || watched == chooser_->lineEdit()) &&
                (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                collectionEntered();
                return true;
            }
            break;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove:
            if (watched == archiveView_->viewport()) {
                auto* drag = static_cast<QDropEvent*>(event);
                if (!localFilesOf(drag->mimeData()).isEmpty()) {
                    drag->acceptProposedAction();
                    return true;
                }
            }
            break;
        case QEvent::Drop:
            if (watched == archiveView_->viewport()) {
                auto* drop = static_cast<QDropEvent*>(event);
                const QStringList paths = localFilesOf(drop->mimeData());
                if (!paths.isEmpty()) {
                    drop->acceptProposedAction();
                    if (dropHandler_) {
                        dropHandler_(paths);
                    }
                    return true;
                }
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Captions -----------------------------------------------------------------------------

void Musikform::showTips() {
    const std::pair<QWidget*, const TextPair*> tips[] = {
        {kindSwitch_, &tip::kBefehl9},       {chooser_, &tip::kKombi1},
        {deleteCollection_, &tip::kDelColl}, {add_, &tip::kBefehl6},
        {addAll_, &tip::kBefehl7},           {back_, &tip::kCommand3},
        {backAll_, &tip::kCommand2},         {random_, &tip::kBefehl5},
        {newItem_, &tip::kBefehl8},          {edit_, &tip::kBefehl4},
        {deleteItem_, &tip::kBefehl3},       {finish_, &tip::kBefhel10}};
    for (const auto& [w, text] : tips) {
        w->setToolTip(caption(*text));
    }
}

QString Musikform::caption(const TextPair& pair) const {
    return QString::fromUtf8(CaptionSwitch::englishCaptions() ? pair.en : pair.de);
}

QString Musikform::kindCaption() const {
    switch (editor_.kind()) {
        case MediaKind::Audio:
            return caption(msg::kKindAudio);
        case MediaKind::CdAudio:
            return caption(msg::kKindCdAudio);
        case MediaKind::Video:
            return caption(msg::kKindVideo);
        case MediaKind::Pictures:
            break;
    }
    return caption(msg::kKindPictures);
}

void Musikform::applyEnglishCaptions() {
    setWindowTitle(QString::fromUtf8(cap::kTitle.en));
    const std::pair<QPushButton*, const TextPair*> captions[] = {
        {add_, &cap::kBefehl6},     {addAll_, &cap::kBefehl7},
        {back_, &cap::kCommand3},   {backAll_, &cap::kCommand2},
        {random_, &cap::kBefehl5},  {newItem_, &cap::kBefehl8},
        {edit_, &cap::kBefehl4},    {deleteItem_, &cap::kBefehl3},
        {finish_, &cap::kBefhel10}, {deleteCollection_, &cap::kDelColl}};
    for (const auto& [b, text] : captions) {
        b->setText(QString::fromUtf8(text->en));
    }
    archiveLabel_->setText(QString::fromUtf8(cap::kBezeichnung1.en));
    playbackLabel_->setText(QString::fromUtf8(cap::kBezeichnung2.en));
    kindSwitch_->setText(kindCaption());
    showTips();
}

}  // namespace marlo
