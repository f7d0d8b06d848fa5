#pragma once

#include <QEvent>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "app/MoveProtocol.h"
#include "app/PlayerParts.h"
#include "app/StartupHost.h"
#include "base/Settings.h"
#include "platform/ProgramFolders.h"
#include "player/DisplayModel.h"
#include "skins/SkinLoader.h"

class QLabel;
class QMouseEvent;

namespace marlo {

class Prompts;
class LibrarySession;
class LyricsDisplay;
class RemoteLink;
class Musikform;
class PlaybackEngine;
class PlayerPanel;
class SkinButtons;
class TransCtl;
class WindowSkin;
class CFG;
class frmPopup;
struct TaskBackground;

// The main window: frameless, drawn by the skin, moved by dragging any of its labels. Its load
// brings the program up and closing it takes the program down.
class Marlo : public QWidget, public StartupHost, public ShutdownHost {
    Q_OBJECT
  public:
    Marlo(ProgramFolders folders, Prompts& prompts, QWidget* parent = nullptr);
    ~Marlo() override;

    // Start-up; runs once per program run, before the window is shown.
    void load();
    // Shows the window as start-up left it (normal or minimised).
    void present();

    Settings& settings() { return settings_; }
    const ProgramFolders& folders() const { return folders_; }
    const QStringList& skinList() const { return skinList_; }
    const QStringList& cdDatabaseServers() const { return cdServers_; }
    const QStringList& lyricsServers() const { return lyricsServers_; }
    // The parts built around the window (library, player, editors); without them the window
    // stands alone, as in tests of the skin.
    void setParts(PlayerParts* parts) { parts_ = parts; }
    // The library the collection editor and the player work on; made when start-up loads it.
    LibrarySession* library() { return parts_ != nullptr ? parts_->library() : nullptr; }
    PlaybackEngine* engine() { return parts_ != nullptr ? parts_->engine() : nullptr; }
    LyricsDisplay* lyricsDisplay() const {
        return parts_ != nullptr ? parts_->lyricsDisplay() : nullptr;
    }
    // The engine writes what the window shows; the window follows its notices.
    DisplayModel& displayModel() { return display_; }
    void connectEngine(PlaybackEngine& engine);
    // The collection editor, created on first use once the library is loaded (else null).
    Musikform* collectionEditor();
    // "Open": the collection editor placed over this window and shown.
    void openCollectionEditor();
    // The popup's "Open": as "Open", and this window hides until the editor hands a playback
    // list over or is closed.
    void openCollectionEditorInstead();
    const DisplayModel& display() const { return display_; }

    // Files dropped on the window: each goes into the "Auto collection" of its kind, which then
    // becomes the playback list.
    void dropFiles(const QStringList& paths);

    // Keys forwarded by other windows: 32 Play/Pause, 33 Previous, 34 Next; others are ignored.
    void RemoteMarlo(int keyCode);

    // The skin on the window and its nine buttons.
    const SkinLoader& skins() const { return skins_; }
    SkinButtons& skinButtons();
    // Selects the named skin and lays it on (`SelectSkin`, `ApplySkin`); a skin that fails is
    // reported and "Standard" is used instead; the settings' skin name becomes the skin laid on.
    // Returns false when no skin could be laid on: the window then keeps what it showed.
    bool useSkin(const QString& name);
    // "Okay" of the settings dialog: lays on the skin the dialog selected, with the pictures
    // dropped on it but not saved; when that fails, the skin `skin.name` as registered.
    bool useEditedSkin(const SkinDefinition& skin);
    // The Previous and Next buttons show whether they lead anywhere from the current entry
    // under the repeat option now set; every transport button shows its look again.
    void refreshPreviousNext();
    // The shaped skin set aside while the window is minimised ("Standard" stands in for it);
    // empty otherwise.
    const QString& skinSavedAtMinimise() const { return savedSkin_; }

    // The settings dialog `CFG`, made on first use: placed over this window, first tab
    // selected, shown. Null until then.
    virtual void showSettingsDialog();
    CFG* settingsDialog() const { return cfg_.get(); }
    // The dialog, made (hidden) when it is not yet.
    CFG& settingsWindow();
    // The remote-control window's background at minimise: the skin's taskbar picture, else the
    // colour of the settings dialog's swatch.
    TaskBackground remoteBackground();
    bool zoomFieldEnabled() const { return zoomFieldEnabled_; }
    // The skin list's entry start-up selected, -1 for none.
    int selectedSkin() const { return selectedSkin_; }
    void setModuleFilterMode(int mode);
    // The popup menu at a right-button release on the background or a label; "Exit" closes
    // the window as its close button does.
    void openPopup(const QPoint& at);
    // Unloads `frmPopup`, closing its menu when it is up: on a left press on the window or a
    // button, a double-click on `Titel`, activation, a seek by the bar, a change of `VScroll1`
    // and the focus reaching `HScroll1`.
    void closePopup();
    // Null when the popup is not loaded.
    frmPopup* popup() const { return popup_.get(); }
    // The lyrics-window flag the popup's "Display Lyrics" check shows; the lyrics display
    // holds it.
    bool lyricsWindowShown() const;
    // The remote-control window stands in while the window is minimised: shown with the title and
    // the skin's taskbar picture or colour (skins().definition().task) after minimising, hidden
    // when the window is back in its normal state.
    virtual void showRemoteControl();
    virtual void hideRemoteControl();

    // StartupHost
    UiLanguage chooseLanguage(UiLanguage current) override;
    void fillServerLists(const QStringList& cdDatabase, const QStringList& lyrics) override;
    void sizeToBackground() override;
    QSize windowSize() const override;
    QRect screenGeometry() const override;
    void moveWindowTwips(float left, float top) override;
    void setSkinList(const QStringList& names, int selected) override;
    void setZoomFieldEnabled(bool enabled) override;
    void applySkin() override;
    void showInitialImages() override;
    void hideModuleVolumeBars() override;
    void setTitleText(const QString& text) override;
    void applyEnglishCaptions() override;
    void minimise() override;
    void openReadme(const QString& path) override;
    void loadCollectionEditor(bool restore) override;

    // ShutdownHost
    void stopPlayback() override;
    void deleteExtractedMember() override;
    void unloadOtherWindows() override;
    void releaseWindowShape() override;

    // Shut-down has begun: the other windows are being closed, not dismissed by the user.
    bool shuttingDown() const { return shutDown_; }

    // The other windows in the order shut-down closes them.
    static QList<QWidget*> closingOrder(QList<QWidget*> windows);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QLabel* addLabel(const char* name, const QString& text, QRect twips);
    void centreOnScreen();
    void onSkinButton(SkinButton which);
    void minimiseWindow();
    void restoreSkin();
    // Back from hiding for the collection editor, unless shut-down has begun.
    void showAfterEditor();
    SkinLoader::ApplyOptions applyOptions() const;
    void skinLaidOn();
    void dragStep(QWidget* widget, QMouseEvent* mouse, QEvent::Type type);

    ProgramFolders folders_;
    Prompts& prompts_;
    Settings settings_;
    MoveProtocol move_;
    QStringList skinList_;
    int selectedSkin_ = -1;
    bool zoomFieldEnabled_ = false;
    QStringList cdServers_;
    QStringList lyricsServers_;
    bool startMinimised_ = false;
    bool shutDown_ = false;
    bool closeAfterAdd_ = false;  // a close came during an add of many files
    bool engineBusy_ = false;     // the engine's busy pointer is set
    bool altF4Pressed_ = false;
    QLabel* titel_ = nullptr;
    TransCtl* maske_ = nullptr;
    SkinLoader skins_;
    std::unique_ptr<WindowSkin> windowSkin_;
    QString savedSkin_;
    bool restoring_ = false;
    PlayerParts* parts_ = nullptr;
    bool missingPicturesTold_ = false;
    DisplayModel display_;
    PlayerPanel* panel_ = nullptr;
    // Declared after the library and the engine they bind to, so they go first.
    std::unique_ptr<RemoteLink> remote_;
    std::unique_ptr<CFG> cfg_;
    std::unique_ptr<frmPopup> popup_;
    bool popupUp_ = false;
    bool popupUnloadAsked_ = false;
    bool hiddenForEditor_ = false;
    bool watchingEditor_ = false;
};

}  // namespace marlo
