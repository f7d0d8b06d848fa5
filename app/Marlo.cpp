#include "app/Marlo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>

#include "app/OutlineCutout.h"
#include "app/PlayerPanel.h"
#include "app/Popup.h"
#include "app/RemoteLink.h"
#include "app/SettingsWindow.h"
#include "app/SkinButtons.h"
#include "app/Startup.h"
#include "app/WindowSkin.h"
#include "base/CaptionSwitch.h"
#include "base/PlaceWindow.h"
#include "base/RemoteKeys.h"
#include "base/WidgetHelpers.h"
#include "base/texts/StartupTexts.h"
#include "library/AddDroppedFiles.h"
#include "library/LibrarySession.h"
#include "library/Musikform.h"
#include "lyrics/LyricsDisplay.h"
#include "platform/Prompts.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "player/PlaybackEngine.h"
#include "player/PositionBar.h"
#include "skins/LanguageChooser.h"
#include "skins/TransCtl.h"

namespace marlo {
namespace {

// The plain surface shown until a skin lays its background over it.
constexpr int kPlainWidthTwips = 5400;
constexpr int kPlainHeightTwips = 1650;

QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

QPoint toTwips(QPoint pixels) {
    return {static_cast<int>(pixelsToTwips(pixels.x())),
            static_cast<int>(pixelsToTwips(pixels.y()))};
}

}  // namespace

Marlo::Marlo(ProgramFolders folders, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      folders_(std::move(folders)),
      prompts_(prompts),
      skins_(folders_.program) {
    setObjectName(QStringLiteral("Marlo"));
    setWindowTitle(Catalogue::text(texts::kProgramName));
    // The buttons are pictures whose tooltips say what they do; they show while the user works
    // in another window, since a click to make this one active would act on a button.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAutoFillBackground(true);
    // Without the X shape extension the outline of a design skin is the window's alpha.
    if (compositorPlacesWindows()) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_NoSystemBackground, false);  // which would leave out the fill
        new OutlineCutout(*this);
    }
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(40, 44, 52));
    pal.setColor(QPalette::WindowText, QColor(255, 255, 0));
    setPalette(pal);

    // The background picture lies under everything else and moves the window like the labels.
    maske_ = new TransCtl(this);
    maske_->setObjectName(QStringLiteral("Maske"));
    maske_->installEventFilter(this);

    // The skins' button column starts at the top left; the caption goes to the right end of the
    // artist line, inside the dark display where the yellow text reads on both default skins.
    QLabel* caption =
        addLabel("Label1", Catalogue::text(texts::kProgramName), twipsRect(4195, 480, 600, 200));
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    titel_ = addLabel("Titel", QString(), twipsRect(1300, 240, 3495, 240));
    QLabel* interpret = addLabel("Interpret", QString(), twipsRect(1300, 480, 2850, 200));
    QLabel* dauer = addLabel("Dauer", QString(), twipsRect(1300, 680, 1700, 220));
    QLabel* posit = addLabel("Posit", QString(), twipsRect(3100, 680, 1700, 220));
    panel_ = new PlayerPanel(this, display_, {titel_, interpret, dauer, posit});
    connect(&panel_->buttons(), &SkinButtons::released, this, &Marlo::onSkinButton);
    // What ends the popup besides presses on the window: a button pressed, a seek by the bar, the
    // volume bar moved, the focus on the horizontal volume bar.
    for (int i = 0; i < kSkinButtonCount; ++i) {
        connect(panel_->buttons().button(static_cast<SkinButton>(i)), &TransCtl::MouseDown, this,
                &Marlo::closePopup);
    }
    connect(findChild<PositionBar*>(QStringLiteral("AXP")), &PositionBar::seekRequested, this,
            &Marlo::closePopup);
    connect(findChild<QScrollBar*>(QStringLiteral("VScroll1")), &QScrollBar::valueChanged, this,
            &Marlo::closePopup);
    findChild<QScrollBar*>(QStringLiteral("HScroll1"))->installEventFilter(this);
    windowSkin_ = std::make_unique<WindowSkin>(
        WindowSkin::Parts{*this, *maske_, *titel_, panel_->buttons(), display_}, skins_, prompts_);
    installEventFilter(this);
    // The window has no focusable child; it takes the keys itself.
    setFocusPolicy(Qt::StrongFocus);
    // Labels take no drops, so files dropped on them arrive here as on the background.
    setAcceptDrops(true);
}

Marlo::~Marlo() = default;

QLabel* Marlo::addLabel(const char* name, const QString& text, QRect geometry) {
    auto* label = named(new QLabel(text, this), name);
    label->setGeometry(geometry);
    // Titles are shown as they are, never read as markup. The position text changes every tick:
    // Latin text is drawn without the shaping pass, a large part of each repaint.
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    label->setFont(font);
    // Labels take part in dragging the window and its double-click.
    label->installEventFilter(this);
    return label;
}

void Marlo::load() {
    Startup(folders_, settings_, prompts_, *this).run();
}

void Marlo::present() {
    if (startMinimised_) {
        // Starting minimised is minimising: a shaped skin makes way for "Standard" until restore.
        minimiseWindow();
    } else {
        show();
    }
}

UiLanguage Marlo::chooseLanguage(UiLanguage current) {
    return LanguageChooser::ask(current, nullptr);
}

void Marlo::fillServerLists(const QStringList& cdDatabase, const QStringList& lyrics) {
    // Kept for the item editor's CD database and lyrics widgets, which take them when created.
    cdServers_ = cdDatabase;
    lyricsServers_ = lyrics;
}

void Marlo::sizeToBackground() {
    // Until a skin brings its background picture, the window has the size of the plain surface.
    setFixedSize(twipsToPixels(kPlainWidthTwips), twipsToPixels(kPlainHeightTwips));
}

QSize Marlo::windowSize() const {
    return size();
}

QRect Marlo::screenGeometry() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

void Marlo::moveWindowTwips(float left, float top) {
    move(twipsToPixels(left), twipsToPixels(top));
}

void Marlo::setSkinList(const QStringList& names, int selected) {
    skinList_ = names;
    selectedSkin_ = selected;
}

void Marlo::setZoomFieldEnabled(bool enabled) {
    zoomFieldEnabled_ = enabled;
}

void Marlo::applySkin() {
    // Without the pictures of any skin the plain buttons stand in: said once, at the start.
    if (!useSkin(settings_.skinName) && !missingPicturesTold_) {
        missingPicturesTold_ = true;
        windowSkin_->tellMissingPictures(
            {settings_.skinName, QString::fromLatin1(Startup::kDefaultSkin)});
    }
}

void Marlo::showInitialImages() {
    panel_->buttons().showInitialImages();
}

void Marlo::hideModuleVolumeBars() {
    display_.setVscrollVisible(false);
    display_.setHscrollVisible(false);
}

SkinButtons& Marlo::skinButtons() {
    return panel_->buttons();
}

SkinLoader::ApplyOptions Marlo::applyOptions() const {
    SkinLoader::ApplyOptions options;
    options.positionBar = settings_.isSet(option::kPositionBar);
    options.currentIsModule = display_.moduleItem();
    return options;
}

void Marlo::skinLaidOn() {
    if (PlaybackEngine* player = engine()) {
        player->setShapedSkin(skinButtons().kind() == SkinKind::Design);
    }
}

bool Marlo::useSkin(const QString& name) {
    QString laidOn = name;
    const bool used =
        windowSkin_->use(laidOn, QString::fromLatin1(Startup::kDefaultSkin), applyOptions());
    if (used) {
        settings_.skinName = laidOn;
    }
    skinLaidOn();
    return used;
}

bool Marlo::useEditedSkin(const SkinDefinition& skin) {
    if (!windowSkin_->useEdited(skin, applyOptions())) {
        return useSkin(skin.name);
    }
    settings_.skinName = skin.name;
    skinLaidOn();
    return true;
}

void Marlo::refreshPreviousNext() {
    if (PlaybackEngine* player = engine()) {
        player->refreshPreviousNext();
    }
    // A skin laid on since shows every button at rest; the model may not have changed.
    panel_->render();
}

void Marlo::onSkinButton(SkinButton which) {
    switch (which) {
        case SkinButton::Close:
            close();
            break;
        case SkinButton::Mini:
            minimiseWindow();
            break;
        case SkinButton::Setup:
            showSettingsDialog();
            break;
        case SkinButton::Song:
            openCollectionEditor();
            break;
        default:
            break;  // the transport buttons belong to the player panel
    }
}

void Marlo::minimiseWindow() {
    // A shaped skin makes way for "Standard" while the window is minimised; the remote-control
    // window copies the buttons' pictures from it.
    if (skinButtons().kind() == SkinKind::Design) {
        hide();
        savedSkin_ = settings_.skinName;
        settings_.skinName = QString::fromLatin1(Startup::kDefaultSkin);
        stopPlayback();
        useSkin(settings_.skinName);
        showInitialImages();
        if (PlaybackEngine* player = engine()) {
            player->loadCurrentItem();
        }
        show();
    }
    showMinimized();
    showRemoteControl();
}

void Marlo::restoreSkin() {
    if (savedSkin_.isEmpty() || restoring_ || isMinimized()) {
        return;
    }
    restoring_ = true;
    stopPlayback();
    settings_.skinName = savedSkin_;
    savedSkin_.clear();
    useSkin(settings_.skinName);
    showInitialImages();
    if (PlaybackEngine* player = engine()) {
        player->loadCurrentItem();
    }
    show();
    restoring_ = false;
}

void Marlo::showRemoteControl() {
    if (!remote_) {
        remote_ = std::make_unique<RemoteLink>(*this);
    }
    remote_->show();
}

void Marlo::hideRemoteControl() {
    if (remote_) {
        remote_->hide();
    }
}

void Marlo::changeEvent(QEvent* event) {
    // An activation arriving while the menu is up comes from the click that opened it (the
    // window manager activates on the press); the menu's own grab ends it otherwise.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !popupUp_) {
        closePopup();
    }
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        hideRemoteControl();
        if (!savedSkin_.isEmpty()) {
            // Leave the state change first; the skin is laid on once the window is back.
            QTimer::singleShot(0, this, &Marlo::restoreSkin);
        }
    }
    QWidget::changeEvent(event);
}

void Marlo::setTitleText(const QString& text) {
    display_.setTitel(text);
    display_.setTitelTip(text);
}

void Marlo::applyEnglishCaptions() {
    CaptionSwitch::apply(QStringLiteral("English"));
}

void Marlo::minimise() {
    startMinimised_ = true;
}

void Marlo::openReadme(const QString& path) {
    // Without an opener on the desktop the user would never learn that there is a read-me.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        prompts_.inform(
            Catalogue::title(texts::kReadmeNotOpened),
            Catalogue::body(texts::kReadmeNotOpened).arg(QDir::toNativeSeparators(path)),
            PromptIcon::Information);
    }
}

void Marlo::loadCollectionEditor(bool restore) {
    if (parts_ != nullptr) {
        parts_->loadLibrary(restore);
    }
}

void Marlo::connectEngine(PlaybackEngine& engine) {
    panel_->connectEngine(engine);
    engine.setShapedSkin(skinButtons().kind() == SkinKind::Design);
    connect(&engine, &PlaybackEngine::showMainWindow, this, [this] {
        if (isMinimized()) {
            showNormal();
        }
        showAfterEditor();
    });
    // One busy pointer for the engine's scope, restored only if set: the engine reports the end
    // of every start, and restoring more would take away the pointer of an add or a lookup.
    connect(&engine, &PlaybackEngine::busyChanged, this, [this](bool busy) {
        if (busy == engineBusy_) {
            return;
        }
        engineBusy_ = busy;
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    });
}

Musikform* Marlo::collectionEditor() {
    return parts_ != nullptr ? parts_->collectionEditor() : nullptr;
}

void Marlo::openCollectionEditor() {
    if (parts_ != nullptr) {
        parts_->showCollectionEditor(frameGeometry());
    }
}

void Marlo::RemoteMarlo(int keyCode) {
    if (PlaybackEngine* player = engine()) {
        player->remoteKey(keyCode);
    }
}

void Marlo::dropFiles(const QStringList& paths) {
    if (parts_ != nullptr) {
        parts_->dropFiles(paths);
    }
}

void Marlo::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !AddFiles::anyRunning()) {
        event->acceptProposedAction();
    }
}

void Marlo::dropEvent(QDropEvent* event) {
    // Only a drop that carries file names is taken.
    const QStringList paths = localFilesOf(event->mimeData());
    if (paths.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    dropFiles(paths);
}

void Marlo::stopPlayback() {
    if (PlaybackEngine* player = engine()) {
        player->stopCurrentItem();
    }
}

// Stopping the item has already removed a member extracted for it.
void Marlo::deleteExtractedMember() {}

QList<QWidget*> Marlo::closingOrder(QList<QWidget*> windows) {
    // The editors go first, the popup menu and the settings dialog last; windows not named
    // here follow in the order given.
    static const char* const kOrder[] = {"Musikform",   "Editierform", "Controller",
                                         "VideoPlayer", "DisplayPic",  "DisplayLyrics",
                                         "frmMatches",  "frmPopup",    "CFG"};
    const auto rank = [](const QWidget* w) {
        const auto* found = std::find_if(std::begin(kOrder), std::end(kOrder), [w](const char* n) {
            return w->objectName() == QLatin1String(n);
        });
        return found - std::begin(kOrder);
    };
    std::stable_sort(windows.begin(), windows.end(),
                     [&rank](const QWidget* a, const QWidget* b) { return rank(a) < rank(b); });
    return windows;
}

void Marlo::unloadOtherWindows() {
    // Other windows are created on first use as children of nothing; close every one still open
    // so the program ends with the main window. Closing one may delete another.
    QList<QWidget*> open;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible()) {
            open << w;
        }
    }
    QList<QPointer<QWidget>> ordered;
    for (QWidget* w : closingOrder(open)) {
        ordered << w;
    }
    for (const QPointer<QWidget>& w : ordered) {
        if (w) {
            w->close();
        }
    }
}

void Marlo::releaseWindowShape() {
    if (!mask().isEmpty()) {
        hide();
        clearMask();
    }
}

void Marlo::centreOnScreen() {
    move(marlo::centreOnScreen(size(), screenGeometry()));
}

bool Marlo::eventFilter(QObject* watched, QEvent* event) {
    // The collection editor closed by its close box brings back the window it stood in for.
    if (event->type() == QEvent::Close && watchingEditor_ && watched == collectionEditor()) {
        showAfterEditor();
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || (widget != this && widget->parentWidget() != this)) {
        return QWidget::eventFilter(watched, event);
    }
    if (qobject_cast<QScrollBar*>(widget) != nullptr) {
        if (event->type() == QEvent::FocusIn) {
            closePopup();
        }
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const bool left =
                mouse->button() == Qt::LeftButton ||
                (event->type() == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton));
            if (!left) {
                if (event->type() == QEvent::MouseButtonRelease &&
                    mouse->button() == Qt::RightButton) {
                    openPopup(mouse->globalPosition().toPoint());
                    return true;
                }
                break;
            }
            if (event->type() == QEvent::MouseButtonPress) {
                closePopup();
            }
            const auto phase = event->type() == QEvent::MouseButtonPress
                                   ? MoveProtocol::Phase::Press
                               : event->type() == QEvent::MouseMove ? MoveProtocol::Phase::Move
                                                                    : MoveProtocol::Phase::Release;
            // Wayland lets no client place its own window: the compositor moves it.
            if (phase == MoveProtocol::Phase::Press && windowHandle() != nullptr &&
                compositorPlacesWindows() && windowHandle()->startSystemMove()) {
                return true;
            }
            const QPoint inWidget = mouse->position().toPoint();
            auto to = move_.step(phase, toTwips(inWidget), toTwips(pos()));
            if (to && phase == MoveProtocol::Phase::Move) {
                move(twipsToPixels(to->x()), twipsToPixels(to->y()));
            } else if (phase == MoveProtocol::Phase::Release && !compositorPlacesWindows()) {
                // Saved where the window knows its place: Wayland tells no client.
                settings_.windowLeft = static_cast<float>(pixelsToTwips(x()));
                settings_.windowTop = static_cast<float>(pixelsToTwips(y()));
            }
            return true;
        }
        case QEvent::MouseButtonDblClick:
            if (widget == titel_) {
                closePopup();
            }
            centreOnScreen();
            return true;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void Marlo::keyPressEvent(QKeyEvent* event) {
    // Alt may be let go before F4; what counts is that it was held when F4 went down.
    if (event->key() == Qt::Key_F4) {
        altF4Pressed_ = (event->modifiers() & Qt::AltModifier) != 0;
    }
    QWidget::keyPressEvent(event);
}

void Marlo::keyReleaseEvent(QKeyEvent* event) {
    if (const int code = remotekey::fromQtKey(event->key()); code != 0 && !event->isAutoRepeat()) {
        RemoteMarlo(code);
        return;
    }
    if (event->key() == Qt::Key_F4 && !event->isAutoRepeat() &&
        (altF4Pressed_ || (event->modifiers() & Qt::AltModifier))) {
        altF4Pressed_ = false;
        close();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void Marlo::closeEvent(QCloseEvent* event) {
    // An add of many files keeps the library in use; the window closes after it.
    if (AddFiles::anyRunning()) {
        event->ignore();
        if (!closeAfterAdd_) {
            closeAfterAdd_ = true;
            AddFiles::whenNoneRunning(this, [this] {
                closeAfterAdd_ = false;
                close();
            });
        }
        return;
    }
    if (!shutDown_) {
        shutDown_ = true;
        runShutdown(folders_, settings_, prompts_, *this);
    }
    event->accept();
}

bool Marlo::lyricsWindowShown() const {
    const LyricsDisplay* display = lyricsDisplay();
    return display != nullptr && display->windowWanted();
}

}  // namespace marlo
