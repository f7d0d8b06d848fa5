#pragma once

#include <QString>
#include <QStringList>

#include "skins/SkinDefinition.h"

namespace marlo {

class SkinIni;

// Turns the current skin into a look: `SelectSkin` reads its register entry and pictures,
// `ApplySkin` works out everything the main window shows of it. Both throw SkinError for a
// broken skin and then leave the selected skin, the button slots and the previews as they were.
class SkinLoader {
  public:
    struct ApplyOptions {
        bool positionBar = false;      // the settings' "Position Bar" option
        bool currentIsModule = false;  // the current item's type is "mod"
    };

    // Whether a button picture that does not load fails the skin, or only leaves that picture
    // out (its slots empty, its button plain): the last resort when no skin loads whole. The
    // background loads in either case.
    enum class Pictures { Required, Spared };

    explicit SkinLoader(QString programFolder);

    static QString registerPath(const QString& programFolder);
    static QString skinListPath(const QString& programFolder);
    // The skin register this loader reads.
    QString registerFile() const { return registerPath(programFolder_); }

    // Reads the skin named `name`. `remoteColour` paints the taskbar swatch when the skin has
    // no "Task" value. The kind becomes Design for a registered design file, else Strip.
    void SelectSkin(const QString& name, const QColor& remoteColour,
                    Pictures pictures = Pictures::Required);
    // Takes a skin the settings dialog selected and edited as the selected skin, as `SelectSkin`
    // would have left it; the previews stay as they were.
    void selectEdited(SkinDefinition skin);
    // The look of the selected skin; fills the button slots. With pictures spared at the
    // selection, a picture that does not load leaves its slots empty.
    SkinLook ApplySkin(const ApplyOptions& options);
    // The pictures left out since the last selection (paths as the file system names them).
    const QStringList& sparedPictures() const { return spared_; }

    // An "All Controls" number in twips: the first of the value, or with `second` the one after
    // the first comma; for "Vscroll1" and "Titel" then also width and height into `size`.
    int ReadPlacement(const QString& widget, bool second, QSize* size = nullptr) const;

    // The pictures of the named skin that do not load: a strip skin's register entries; a
    // design skin's design file when it cannot be read, else the background and button
    // pictures it names. Paths with "/" only, for telling the user what is missing.
    QStringList missingPictures(const QString& name) const;

    const SkinDefinition& definition() const { return skin_; }
    const SkinPreviews& previews() const { return previews_; }
    const SlotPictures& pictures() const { return pictures_; }
    SkinKind kind() const { return skin_.kind; }

  private:
    void selectDesign(SkinDefinition& skin, SkinPreviews& previews);
    void selectStrips(const SkinIni& skins, SkinDefinition& skin, SkinPreviews& previews);
    void applyStrip(SkinLook& look, SlotPictures& pictures, const ApplyOptions& options);
    void applyDesign(SkinLook& look, SlotPictures& pictures, const ApplyOptions& options);
    QPixmap LoadDesignPicture(const SkinIni& design, const QString& section, const QString& key,
                              const SlotPictures& pictures);
    // Loads a button picture; a spared one that does not load is noted and comes back null.
    QImage buttonPicture(const QString& path);

    QString programFolder_;
    SkinDefinition skin_;
    SkinPreviews previews_;
    SlotPictures pictures_;
    bool spare_ = false;
    QStringList spared_;
    // Strips of the selected skin that did not load and were spared.
    std::array<bool, kStripCount> sparedStrips_{};
};

}  // namespace marlo
