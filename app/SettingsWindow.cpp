#include "app/SettingsWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/Marlo.h"
#include "app/Startup.h"
#include "base/PlaceWindow.h"
#include "base/texts/CaptionTexts.h"
#include "base/texts/SettingsTexts.h"
#include "base/texts/SkinTexts.h"
#include "platform/Prompts.h"
#include "skins/SkinFiles.h"
#include "skins/SkinRegister.h"

namespace marlo {
namespace {

namespace cfg = texts::cfg;

constexpr QSize kPreviewSize(96, 48);

// "Name.design" with exactly that lower-case extension.
bool isDesignFile(const QString& path) {
    return path.endsWith(QLatin1String(".design"), Qt::CaseSensitive);
}

// The module filter the form's boxes choose (0 none .. 3 automatic), if any.
std::optional<int> filterOf(const SettingsForm& form) {
    for (int i = option::kFilterNone; i <= option::kFilterAuto; ++i) {
        if (form.checked(i)) {
            return i - option::kFilterNone;
        }
    }
    return std::nullopt;
}

QStringList droppedFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files << url.toLocalFile();
        }
    }
    return files;
}

}  // namespace

CFG::CFG(Marlo& window, Prompts& prompts)
    : QWidget(nullptr, Qt::Dialog),
      window_(window),
      prompts_(prompts),
      previewSkin_(window.folders().program),
      editor_(window.folders().program, prompts),
      openerFolder_(window.folders().assets + QStringLiteral("Bilder/")),
      skinList_(window.skinList()) {
    setObjectName(QStringLiteral("CFG"));
    captions_.append({this, texts::cfg::kTitle});

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->addTab(generalPage(), QString::fromUtf8(cfg::kFirstTab.de));
    tabs_->addTab(videoPage(), Catalogue::text(cfg::kTabVideo));
    tabs_->addTab(skinsPage(), Catalogue::text(cfg::kTabSkins));
    tabs_->addTab(modPicsPage(), Catalogue::text(cfg::kTabModPics));
    tabs_->addTab(creditsPage(), Catalogue::text(cfg::kTabCredits));

    auto* okay = addButton<QPushButton>("Command1", cfg::kCommand1, this);
    auto* abbruch = addButton<QPushButton>("Command2", cfg::kCommand2, this);
    okay->setDefault(true);
    connect(okay, &QPushButton::clicked, this, &CFG::okay);
    connect(abbruch, &QPushButton::clicked, this, &CFG::cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okay);
    buttons->addWidget(abbruch);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    for (auto& [widget, pair] : captions_) {
        if (widget == this) {
            setWindowTitle(QString::fromUtf8(pair.de));
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(QString::fromUtf8(pair.de));
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(QString::fromUtf8(pair.de));
        }
    }
    CaptionSwitch::registerWindow(this);
    CaptionSwitch::adopt(*this);

    // Loading: the form shows the settings; what it shows is what the settings now hold.
    form_ = SettingsForm::fromSettings(window_.settings(), window_.zoomFieldEnabled());
    slideshowMs_ = form_.applyTo(window_.settings());
    showForm();
    // Start-up chose the entry that matches the skin name without regard to case.
    showSkinList(window_.selectedSkin());
    selectSkinPreviews(window_.settings().skinName);
}

CFG::~CFG() {
    CaptionSwitch::unregisterWindow(this);
}

QCheckBox* CFG::addCheck(int index, const TextPair& caption, QWidget* parent) {
    auto* box = new QCheckBox(parent);
    // The array `Check(i)`: every box carries the name with its index.
    box->setObjectName(QStringLiteral("Check%1").arg(index));
    checks_.at(static_cast<size_t>(index)) = box;
    captions_.append({box, caption});
    connect(box, &QCheckBox::clicked, this, [this, index](bool on) { onCheckClicked(index, on); });
    return box;
}

QLabel* CFG::addLabel(const char* name, const TextPair& caption, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    captions_.append({label, caption});
    return label;
}

template <class Button>
Button* CFG::addButton(const char* name, const TextPair& caption, QWidget* parent) {
    auto* button = new Button(parent);
    button->setObjectName(QString::fromLatin1(name));
    captions_.append({button, caption});
    return button;
}

QLabel* CFG::addPreview(const char* name, int slot, QWidget* parent) {
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setFixedSize(kPreviewSize);
    image->setFrameShape(QFrame::Panel);
    image->setFrameShadow(QFrame::Sunken);
    image->setAlignment(Qt::AlignCenter);
    image->setAcceptDrops(true);
    image->installEventFilter(this);
    previews_.at(static_cast<size_t>(slot)) = image;
    return image;
}

QWidget* CFG::generalPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(addCheck(1, cfg::kCheck1, page));
    layout->addWidget(addCheck(5, cfg::kCheck5, page));
    layout->addWidget(addCheck(6, cfg::kCheck6, page));
    layout->addWidget(addCheck(7, cfg::kCheck7, page));
    layout->addWidget(addCheck(13, cfg::kCheck13, page));
    layout->addWidget(addCheck(14, cfg::kCheck14, page));
    layout->addWidget(addCheck(15, cfg::kCheck15, page));
    layout->addStretch();
    return page;
}

QWidget* CFG::videoPage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->addWidget(addCheck(2, cfg::kCheck2, page), 0, 0, 1, 3);
    layout->addWidget(addCheck(3, cfg::kCheck3, page), 1, 0, 1, 3);
    layout->addWidget(addCheck(4, cfg::kCheck4, page), 2, 0, 1, 3);
    label1_ = addLabel("Label1", cfg::kLabel1, page);
    text1_ = new QLineEdit(page);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setMaximumWidth(80);
    layout->addWidget(label1_, 3, 0);
    layout->addWidget(text1_, 3, 1);
    layout->addWidget(addLabel("Label2", cfg::kLabel2, page), 3, 2);
    layout->addWidget(addCheck(8, cfg::kCheck8, page), 4, 0, 1, 3);
    layout->setRowStretch(5, 1);
    layout->setColumnStretch(2, 1);
    return page;
}

QWidget* CFG::skinsPage() {
    auto* page = new QWidget;
    combo1_ = new QComboBox(page);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    combo1_->setEditText(QString::fromLatin1(SkinRegister::kDefaultSkin));
    combo1_->setAcceptDrops(true);
    combo1_->lineEdit()->setAcceptDrops(true);
    combo1_->installEventFilter(this);
    combo1_->lineEdit()->installEventFilter(this);
    connect(combo1_, &QComboBox::activated, this, &CFG::chooseSkin);
    connect(combo1_->lineEdit(), &QLineEdit::returnPressed, this, &CFG::saveSkin);
    auto* save = addButton<QPushButton>("Command9", cfg::kCommand9, page);
    auto* remove = addButton<QPushButton>("Command10", cfg::kCommand10, page);
    auto* import = addButton<QPushButton>("Command13", cfg::kCommand13, page);
    connect(save, &QPushButton::clicked, this, &CFG::saveSkin);
    connect(remove, &QPushButton::clicked, this, &CFG::deleteSkin);
    connect(import, &QPushButton::clicked, this, &CFG::chooseImport);
    auto* top = new QHBoxLayout;
    top->addWidget(combo1_, 1);
    top->addWidget(save);
    top->addWidget(remove);
    top->addWidget(import);

    // Openers and previews, slot by slot.
    struct Opener {
        const char* button;
        const char* image;
        int slot;
        TextPair label;
    };
    const Opener strips[] = {{"Command4", "Image3", 3, cfg::kPreviewPlay},
                             {"Command5", "Image4", 4, cfg::kPreviewStop},
                             {"Command6", "Image5", 5, cfg::kPreviewSeek},
                             {"Command7", "Image6", 6, cfg::kPreviewOpen},
                             {"Command8", "Image7", 7, cfg::kPreviewFunctions}};
    auto* buttonsFrame = new QGroupBox(Catalogue::text(cfg::kButtonsFrame), page);
    buttonsFrame->setObjectName(QStringLiteral("Frame3"));
    auto* grid = new QGridLayout(buttonsFrame);
    int column = 0;
    auto addOpener = [this](const Opener& o, QWidget* parent, QGridLayout* into, int row, int col) {
        into->addWidget(new QLabel(Catalogue::text(o.label), parent), row, col);
        into->addWidget(addPreview(o.image, o.slot, parent), row + 1, col);
        auto* open = addButton<QPushButton>(o.button, cfg::kOpen, parent);
        const int slot = o.slot;
        connect(open, &QPushButton::clicked, this, [this, slot] { openPicture(slot); });
        into->addWidget(open, row + 2, col);
    };
    for (const Opener& o : strips) {
        addOpener(o, buttonsFrame, grid, 0, column++);
    }

    auto* backgroundFrame = new QGroupBox(Catalogue::text(cfg::kBackgroundFrame), page);
    backgroundFrame->setObjectName(QStringLiteral("Frame4"));
    auto* back = new QGridLayout(backgroundFrame);
    addOpener({"Command3", "Image1", 1, same("")}, backgroundFrame, back, 0, 0);
    addOpener({"Command11", "Image8", 2, same("")}, backgroundFrame, back, 0, 1);
    picture1_ = new QLabel(backgroundFrame);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setFixedSize(kPreviewSize.height(), kPreviewSize.height());
    picture1_->setAutoFillBackground(true);
    picture1_->setFrameShape(QFrame::Box);
    auto* colour = addButton<QPushButton>("Command12", cfg::kCommand12, backgroundFrame);
    connect(colour, &QPushButton::clicked, this, &CFG::chooseColour);
    back->addWidget(picture1_, 1, 2);
    back->addWidget(colour, 2, 2);
    back->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(buttonsFrame);
    layout->addWidget(backgroundFrame);
    layout->addStretch();
    return page;
}

QWidget* CFG::modPicsPage() {
    auto* page = new QWidget;
    auto* filter = new QGroupBox(Catalogue::text(cfg::kFilterFrame), page);
    filter->setObjectName(QStringLiteral("Frame1"));
    auto* filterLayout = new QVBoxLayout(filter);
    filterLayout->addWidget(addCheck(9, cfg::kCheck9, filter));
    filterLayout->addWidget(addCheck(10, cfg::kCheck10, filter));
    filterLayout->addWidget(addCheck(11, cfg::kCheck11, filter));
    filterLayout->addWidget(addCheck(12, cfg::kCheck12, filter));

    auto* pictures = new QGroupBox(Catalogue::text(cfg::kPictureFrame), page);
    pictures->setObjectName(QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(pictures);
    text2_ = new QLineEdit(pictures);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setMaximumWidth(60);
    unit_ = addLabel("Label4", cfg::kPauseUnit, pictures);
    text3_ = new QLineEdit(pictures);
    text3_->setObjectName(QStringLiteral("Text3"));
    text3_->setMaximumWidth(60);
    grid->addWidget(addCheck(16, cfg::kCheck16, pictures), 0, 0);
    grid->addWidget(text2_, 0, 1);
    grid->addWidget(unit_, 0, 2);
    grid->addWidget(addCheck(17, cfg::kCheck17, pictures), 1, 0);
    grid->addWidget(addCheck(18, cfg::kCheck18, pictures), 2, 0);
    grid->addWidget(text3_, 2, 1);
    grid->addWidget(addLabel("Label5", cfg::kPictureZoomHint, pictures), 2, 2);
    grid->setColumnStretch(3, 1);

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(filter);
    layout->addWidget(pictures, 1);
    return page;
}

void CFG::applyEnglishCaptions() {
    for (auto& [widget, pair] : captions_) {
        const QString text = QString::fromUtf8(pair.en);
        if (widget == this) {
            setWindowTitle(text);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(text);
        }
    }
    tabs_->setTabText(0, QString::fromUtf8(cfg::kFirstTab.en));
}

void CFG::open() {
    adjustSize();
    placeWindowOver(*this, window_.frameGeometry());
    tabs_->setCurrentIndex(0);
    // A zoom typed when a video asked for one is the video zoom now.
    form_.zoom = QString::number(window_.settings().videoZoom);
    text1_->setText(form_.zoom);
    show();
    raise();
    activateWindow();
}

void CFG::showForm() {
    updating_ = true;
    for (int i = 1; i <= option::kCount; ++i) {
        check(i)->setChecked(form_.checked(i));
    }
    text1_->setText(form_.zoom);
    text2_->setText(form_.pause);
    text3_->setText(form_.pictureZoom);
    text1_->setEnabled(form_.zoomEnabled);
    label1_->setEnabled(form_.zoomEnabled);
    text2_->setEnabled(form_.pauseEnabled);
    unit_->setEnabled(form_.pauseEnabled);
    updating_ = false;
}

void CFG::readFields() {
    form_.zoom = text1_->text();
    form_.pause = text2_->text();
    form_.pictureZoom = text3_->text();
}

void CFG::onCheckClicked(int index, bool checked) {
    if (updating_) {
        return;
    }
    readFields();
    if (const std::optional<int> mode = form_.click(index, checked)) {
        setFilterMode(*mode);
    }
    showForm();
}

void CFG::setFilterMode(int mode) {
    window_.setModuleFilterMode(mode);
}

void CFG::okay() {
    readFields();
    Settings& settings = window_.settings();
    slideshowMs_ = form_.applyTo(settings);
    // The current skin is the first entry that is exactly the text; otherwise it stays.
    const qsizetype entry = skinList_.indexOf(combo1_->currentText());
    if (entry >= 0) {
        settings.skinName = skinList_.at(entry);
    }
    // The skin the previews show is laid on with the pictures dropped on it since it was
    // chosen, saved or not.
    const SkinDefinition& previewed = previewSkin_.definition();
    if (previewed.name.compare(settings.skinName, Qt::CaseInsensitive) == 0) {
        SkinDefinition edited = draft_.edited(previewed);
        edited.name = settings.skinName;
        window_.useEditedSkin(edited);
    } else {
        window_.useSkin(settings.skinName);
    }
    window_.showInitialImages();
    window_.stopPlayback();
    window_.refreshPreviousNext();
    // Written now too, so a crash later does not lose what was just confirmed.
    writeSettingsFile(window_.folders(), settings, prompts_);
    hide();
    if (!window_.isMinimized()) {
        window_.show();
    }
}

void CFG::cancel() {
    const std::optional<int> clickedFilter = filterOf(form_);
    form_.restore(window_.settings(), slideshowMs_);
    // A filter box acts on the module library at its click; the confirmed filter comes back.
    if (const std::optional<int> confirmed = filterOf(form_);
        confirmed && confirmed != clickedFilter) {
        setFilterMode(*confirmed);
    }
    showForm();
    selectSkinPreviews(window_.settings().skinName);
    window_.refreshPreviousNext();
    hide();
    if (!window_.isMinimized()) {
        window_.show();
    }
}

void CFG::showSkinList(int selected) {
    updating_ = true;
    const QString text = combo1_->currentText();
    combo1_->clear();
    combo1_->addItems(skinList_);
    if (selected >= 0) {
        combo1_->setCurrentIndex(selected);
    } else {
        combo1_->setEditText(text);
    }
    updating_ = false;
    window_.setSkinList(skinList_, combo1_->currentIndex());
}

void CFG::chooseSkin(int entry) {
    if (entry < 0 || entry >= skinList_.size()) {
        return;
    }
    window_.settings().skinName = skinList_.at(entry);
    selectSkinPreviews(skinList_.at(entry));
}

void CFG::selectSkinPreviews(const QString& name) {
    try {
        previewSkin_.SelectSkin(name, window_.palette().color(QPalette::Window));
    } catch (const SkinError& error) {
        prompts_.inform(QString(), error.message(), PromptIcon::Warning);
    }
    draft_ = SkinDraft::fromSelection(previewSkin_.definition(), previewSkin_.previews());
    showPreviews();
}

void CFG::showPreviews() {
    for (int slot = 1; slot <= SkinDraft::kSlots; ++slot) {
        QLabel* image = previews_.at(static_cast<size_t>(slot));
        const QImage picture = draft_.preview(slot);
        image->setPixmap(picture.isNull()
                             ? QPixmap()
                             : QPixmap::fromImage(picture.scaled(kPreviewSize, Qt::KeepAspectRatio,
                                                                 Qt::SmoothTransformation)));
    }
    QPalette pal = picture1_->palette();
    pal.setColor(QPalette::Window, draft_.taskColour);
    picture1_->setPalette(pal);
    picture1_->setVisible(draft_.swatchShown);
}

void CFG::dropPicture(const QString& path, int slot) {
    openerFolder_ = SkinEditor::folderOf(path);
    editor_.dropPicture(path, slot, draft_);
    showPreviews();
}

void CFG::openPicture(int slot) {
    const QStringList files =
        prompts_.openFiles(Catalogue::text(texts::kOpenerTitles[slot - 1]), openerFolder_,
                           QStringLiteral("Bitmaps (*.bmp *.BMP);;All (*)"), false);
    if (files.isEmpty()) {
        return;
    }
    openerFolder_ = SkinEditor::folderOf(files.first());
    editor_.openerChose(files.first(), slot, draft_);
    showPreviews();
}

void CFG::chooseColour() {
    const std::optional<QColor> colour = prompts_.colour(draft_.taskColour);
    if (!colour) {
        return;
    }
    draft_.taskColour = *colour;
    draft_.swatchShown = true;
    showPreviews();
}

void CFG::chooseImport() {
    const QStringList files =
        prompts_.openFiles(Catalogue::text(cfg::kCommand13), openerFolder_,
                           QStringLiteral("Design (*.design);;All (*)"), false);
    if (!files.isEmpty()) {
        importDesign(files.first());
    }
}

void CFG::importDesign(const QString& path) {
    if (!isDesignFile(path)) {
        return;
    }
    const SkinRegister skins(window_.folders().program, prompts_);
    const YampImport::Result result = YampImport::run(path, draft_.taskColour, skins, skinList_);
    if (!result.refusal.isEmpty()) {
        prompts_.inform(Catalogue::title(texts::kDesignNotImported), result.refusal,
                        PromptIcon::Warning);
    }
    if (result.listIndex < 0) {
        return;
    }
    showSkinList(result.listIndex);
    chooseSkin(result.listIndex);
}

void CFG::saveSkin() {
    QString name = combo1_->currentText();
    if (editor_.save(name, previewSkin_.kind(), draft_, skinList_) == SkinEditor::Outcome::Done) {
        showSkinList(static_cast<int>(skinList_.indexOf(name)));
    }
}

void CFG::deleteSkin() {
    const int selected = combo1_->currentIndex();
    const QString selectedName = selected >= 0 ? combo1_->itemText(selected) : QString();
    if (editor_.remove(combo1_->currentText(), selectedName, skinList_) ==
        SkinEditor::Outcome::Done) {
        showSkinList(skinList_.isEmpty() ? -1 : 0);
        chooseSkin(0);
    }
}

void CFG::closeEvent(QCloseEvent* event) {
    // Closed by shut-down the dialog just goes; closed by the user it leaves nothing half-made.
    if (isVisible() && !window_.shuttingDown()) {
        cancel();
    }
    event->accept();
}

bool CFG::eventFilter(QObject* watched, QEvent* event) {
    const bool onCombo = watched == combo1_ || watched == combo1_->lineEdit();
    int slot = 0;
    for (int k = 1; k <= SkinDraft::kSlots; ++k) {
        if (watched == previews_.at(static_cast<size_t>(k))) {
            slot = k;
        }
    }
    if (!onCombo && slot == 0) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (drag->mimeData()->hasUrls()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = droppedFiles(drop->mimeData());
        if (files.isEmpty()) {
            return false;
        }
        drop->acceptProposedAction();
        if (onCombo) {
            importDesign(files.first());
        } else {
            dropPicture(files.first(), slot);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace marlo
