#pragma once

#include <QList>
#include <QPair>
#include <QWidget>
#include <array>

#include "base/CaptionSwitch.h"
#include "base/Catalogue.h"
#include "skins/SettingsForm.h"
#include "skins/SkinEditor.h"
#include "skins/SkinLoader.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace marlo {

class Marlo;
class Prompts;

// The settings window `CFG`: the eighteen options and three numbers of the settings, and the
// skin editor. It is made once and hidden, never destroyed, while the program runs. Its rules
// live in SettingsForm and SkinEditor; this is their face.
class CFG : public QWidget, public CaptionedWindow {
    Q_OBJECT
  public:
    static constexpr int kPages = 5;

    CFG(Marlo& window, Prompts& prompts);
    ~CFG() override;

    // Placed over the main window, first page selected, shown.
    void open();
    // "Okay" and "Abbruch".
    void okay();
    void cancel();

    // The picture viewer's slideshow interval the dialog last set, in ms.
    int slideshowInterval() const { return slideshowMs_; }
    const SettingsForm& form() const { return form_; }
    const SkinDraft& draft() const { return draft_; }
    // The taskbar colour of the swatch `Picture1`.
    QColor taskColour() const { return draft_.taskColour; }
    QCheckBox* check(int index) const { return checks_.at(static_cast<size_t>(index)); }

    // Choosing an entry of `Combo1`: the current skin name, previews of it.
    void chooseSkin(int entry);
    // `Drop_bmp`, `YampImport`, "Speichern", "Löschen".
    void dropPicture(const QString& path, int slot);
    void importDesign(const QString& path);
    void saveSkin();
    void deleteSkin();

    void applyEnglishCaptions() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The close box dismisses like "Abbruch".
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* generalPage();
    QWidget* videoPage();
    QWidget* skinsPage();
    QWidget* modPicsPage();
    QWidget* creditsPage();
    QCheckBox* addCheck(int index, const TextPair& caption, QWidget* parent);
    QLabel* addLabel(const char* name, const TextPair& caption, QWidget* parent);
    template <class Button>
    Button* addButton(const char* name, const TextPair& caption, QWidget* parent);
    QLabel* addPreview(const char* name, int slot, QWidget* parent);

    void onCheckClicked(int index, bool checked);
    void showForm();
    void readFields();
    void selectSkinPreviews(const QString& name);
    void showPreviews();
    void showSkinList(int selected);
    void openPicture(int slot);
    void chooseColour();
    void chooseImport();
    void setFilterMode(int mode);

    Marlo& window_;
    Prompts& prompts_;
    SkinLoader previewSkin_;
    SkinEditor editor_;
    SettingsForm form_;
    SkinDraft draft_;
    int slideshowMs_ = SettingsForm::kDefaultPauseSeconds * 1000;
    QString openerFolder_;
    QStringList skinList_;
    bool updating_ = false;

    QTabWidget* tabs_ = nullptr;
    std::array<QCheckBox*, option::kCount + 1> checks_{};
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* unit_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QLabel* picture1_ = nullptr;
    std::array<QLabel*, SkinDraft::kSlots + 1> previews_{};
    // Every switched caption with its pair, for the caption switch.
    QList<QPair<QWidget*, TextPair>> captions_;
};

}  // namespace marlo
