#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "base/CaptionSwitch.h"
#include "base/Settings.h"
#include "library/AddFiles.h"
#include "library/ExtensionFilter.h"
#include "library/ItemEditor.h"
#include "library/NetworkChoosers.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace marlo {

class Extensions;
class LibrarySession;

// The item editor: title, path and artist of one item, and the actions that fill them from a
// file, a folder or an archive. It reads and writes the session's editor fields and saves
// through SaveItem; the collection editor opens it and shows again when it hands back.
class Editierform : public QWidget, public CaptionedWindow {
    Q_OBJECT
  public:
    enum class Mode {
        NewItem,  // action chooser "Add file", "Add Dir", "Extensions"; fields as the session has
                  // them (empty, or filled by a drop)
        Edit,     // the item `title` is read into the fields; action chooser "Add file" only
        Cd,       // the disc in the drive: "Track 1", Save is the lookup ("CDDB"), Next Track and
                  // Lyrics
    };

    Editierform(LibrarySession& session, Settings& settings, QWidget* parent = nullptr);
    ~Editierform() override;

    // Fills the window for the mode and shows it. The caller places it and hides itself.
    void open(Mode mode, const QString& title = {});

    // The folder add's patterns as the extensions window narrowed them; the collection editor
    // resets it at a kind switch.
    ExtensionFilter& extensionFilter() { return filter_; }
    AddFiles& adder() { return adder_; }
    ItemEditor& itemEditor() { return item_; }
    // The server boxes `Combo1` ("host port") and `Combo3` as start-up filled them; the first
    // entry of each is chosen.
    void setServerLists(const QStringList& cddb, const QStringList& lyrics);
    // Cancel in CD mode opens the CD again through the player, so the list shows its titles.
    void setReopenCd(std::function<void()> reopen) { reopenCd_ = std::move(reopen); }
    // Told the lyrics server entry the user picks or edits in `Combo3`, or fetches from.
    void setLyricsServerChosen(std::function<void(const QString&)> chosen) {
        lyricsServerChosen_ = std::move(chosen);
    }
    bool cdMode() const { return mode_ == Mode::Cd; }
    // `Text2`; enabled again after a drop on the archive list added all its files.
    void setPathFieldEnabled(bool enabled);
    // A long add runs; the window does not close meanwhile.
    bool busy() const { return AddFiles::anyRunning(); }

    // The "All supported file types|..." filter of the file dialog for a kind, in Qt's form.
    static QString dialogFilter(MediaKind kind);

    void applyEnglishCaptions() override;

    // Copy between the widgets and the session's editor fields.
    void loadFields();
    void storeFields();

  signals:
    // The editor hid; the collection editor shows again and refreshes its chooser and counts.
    // `collectionRemoved`: Cancel removed a collection that had stayed empty.
    void handedBack(bool collectionRemoved);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void runAction(int index);
    void addFile();
    void addFolder();
    void showExtensions();
    void save();
    void cancel();
    void cdLookup();
    void nextTrack();
    void lyricsForAllTracks();
    void leaveCdMode();
    void appendLog(const QString& text);
    void handBack(bool collectionRemoved);
    void afterAdd(const AddFiles::Report& report);
    void showProgress(int done, int total);
    QString& rememberedFolder();

    LibrarySession& session_;
    Settings& settings_;
    ItemEditor item_;
    NetworkChoosers choosers_{this};
    ExtensionFilter filter_;
    AddFiles adder_;
    Mode mode_ = Mode::NewItem;
    std::unique_ptr<Extensions> extensions_;
    std::function<void()> reopenCd_;
    std::function<void(const QString&)> lyricsServerChosen_;

    QLabel* titleLabel_;
    QLineEdit* text1_;
    QLabel* albumLabel_;
    QLineEdit* text2_;
    QLabel* artistLabel_;
    QLineEdit* text3_;
    QComboBox* actions_;
    QPushButton* save_;
    QPushButton* cancel_;
    QPushButton* nextTrack_;
    QPushButton* lyrics_;
    QLabel* cddbLabel_;
    QComboBox* cddbServers_;
    QLabel* lyricsLabel_;
    QLabel* timerLabel_;
    QComboBox* lyricsServers_;
    QPlainTextEdit* serverLog_;
    QLabel* progress_;
};

}  // namespace marlo
