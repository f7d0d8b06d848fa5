#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

#include "base/CaptionSwitch.h"
#include "library/CollectionEditor.h"

class QComboBox;
class QLabel;
class QListView;
class QPushButton;

namespace marlo {

class ItemEditorLauncher;
class LibrarySession;

// The collection editor window: the kind switch, the collection chooser, the archive list on the
// left and the playback list on the right over the session's list models, and the buttons that
// move titles, edit and delete items and collections, and hand the list to the player. What the
// buttons do lies in CollectionEditor; the item editor, the drop flow and the CD drive are
// reached through the seams below.
class Musikform : public QWidget, public CaptionedWindow {
    Q_OBJECT
  public:
    Musikform(LibrarySession& session, CollectionEditor::Player player,
              CollectionEditor::RandomSource random = {}, QWidget* parent = nullptr);
    ~Musikform() override;

    CollectionEditor& editor() { return editor_; }

    // Seams to windows and flows built elsewhere; each may stay unset.
    void setItemEditorLauncher(ItemEditorLauncher* launcher) { launcher_ = launcher; }
    // Files dropped on the archive list (local paths, in drop order).
    void setDropHandler(std::function<void(const QStringList& paths)> handler) {
        dropHandler_ = std::move(handler);
    }
    // CD audio: the number of tracks of the disc in the drive (0: none), and opening the CD
    // through the player, which lists its tracks in the playback list.
    void setCdAccess(std::function<int()> trackCount, std::function<void()> openCd) {
        cdTrackCount_ = std::move(trackCount);
        openCd_ = std::move(openCd);
    }

    void applyEnglishCaptions() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void build();
    // Shows the chooser, the kind, the counts and the selection as the session holds them; later
    // changes arrive through the session's signals.
    void refresh();
    // Each button's and the chooser's tooltip, in the language of the captions.
    void showTips();
    void connectLists();
    void connectButtons();
    void refreshCounts();
    void refreshChooser();
    void showPlaybackSelection(int row);

    void addSelected();
    void returnSelected();
    void switchKindTo(MediaKind kind);
    void collectionChosen(int index);
    void collectionEntered();
    void newItem();
    void openNewItemEditor();
    void editItem();
    void deleteItem();
    void finish();
    // F2 to F10; true when the key was one of them.
    bool functionKey(int key);

    QString caption(const TextPair& pair) const;
    QString kindCaption() const;

    LibrarySession& session_;
    CollectionEditor editor_;
    ItemEditorLauncher* launcher_ = nullptr;
    std::function<void(const QStringList&)> dropHandler_;
    std::function<int()> cdTrackCount_;
    std::function<void()> openCd_;
    bool syncingSelection_ = false;

    QPushButton* kindSwitch_ = nullptr;  // Befehl9
    QComboBox* chooser_ = nullptr;       // Kombi1
    QPushButton* deleteCollection_ = nullptr;
    QLabel* archiveLabel_ = nullptr;  // Bezeichnung1
    QLabel* archiveCount_ = nullptr;  // Bezeichnung3
    QLabel* playbackLabel_ = nullptr;
    QLabel* playbackCount_ = nullptr;
    QListView* archiveView_ = nullptr;   // Liste1
    QListView* playbackView_ = nullptr;  // Liste2
    QPushButton* add_ = nullptr;
    QPushButton* addAll_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* backAll_ = nullptr;
    QPushButton* random_ = nullptr;
    QPushButton* newItem_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* deleteItem_ = nullptr;
    QPushButton* finish_ = nullptr;
};

}  // namespace marlo
