#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>

#include "skins/SkinDefinition.h"

namespace marlo {

class Prompts;

// The seven pictures of a strip skin as the settings dialog edits them. Slots are numbered as
// the dialog numbers them: 1 background, 2 taskbar background, 3 play, 4 stop/pause,
// 5 previous/next, 6 disk operations, 7 close/minimise/options.
struct SkinDraft {
    static constexpr int kSlots = 7;
    std::array<QString, kSlots + 1> paths;    // index 0 unused
    std::array<QImage, kSlots + 1> pictures;  // as loaded; strips whole, not cut into cells
    // A design skin has no strips: slots 3 to 7 preview its buttons' first pictures instead.
    std::array<QImage, kSlots + 1> designButtons;
    QColor taskColour;        // the colour swatch `Picture1`
    bool swatchShown = true;  // false: the taskbar is a picture (slot 2)

    // The draft of the selected skin, as `SelectSkin` left it.
    static SkinDraft fromSelection(const SkinDefinition& skin, const SkinPreviews& previews);
    // The slot's standard file name, looked for beside a dropped picture.
    static QString standardName(int slot);
    // The register key the slot is saved under.
    static QString registerKey(int slot);
    // The preview of a slot: the background and taskbar whole, a strip's first cell, or for a
    // design skin its button's first picture.
    QImage preview(int slot) const;
    // `skin` as the dialog shows it, for "Okay" to lay on: every slot that holds a picture
    // brings it and its path, and the taskbar value is the swatch's colour or the taskbar
    // picture. A design skin takes its buttons from its design file, so its strips stay out.
    SkinDefinition edited(SkinDefinition skin) const;
};

// The skin page of the settings dialog: pictures dropped or chosen, saving the set under a
// name, deleting a skin. Changes reach "Skins.ini" and "SkinName.ini" whole or not at all.
class SkinEditor {
  public:
    enum class Outcome { Nothing, Refused, Declined, Done, Failed };

    SkinEditor(QString programFolder, Prompts& prompts);

    // `Drop_bmp`: the picture goes into `slot`, and every other slot whose standard file lies
    // in the same folder takes that file. Returns the slots that changed. A picture that does
    // not load is reported; its slot keeps the path but not a picture. The taskbar stays a
    // colour while its swatch shows.
    QList<int> dropPicture(const QString& path, int slot, SkinDraft& draft) const;
    // A picture chosen with a slot's opener: as dropped, and the taskbar's opener makes the
    // taskbar a picture (its colour swatch hides).
    QList<int> openerChose(const QString& path, int slot, SkinDraft& draft) const;
    // The folder part of a picture path (up to its last separator), where the openers start.
    static QString folderOf(const QString& path);

    // "Speichern". A design skin keeps its design file; only its taskbar colour is written.
    // A strip skin asks before it overwrites a listed name; a new name is appended to the list
    // file and to `skinList`.
    Outcome save(const QString& name, SkinKind kind, const SkinDraft& draft,
                 QStringList& skinList) const;
    // "Löschen": "Standard" is refused; otherwise, after asking, the name's register section
    // and its lines in the list file go. `selected` is the entry the list shows as chosen.
    Outcome remove(const QString& name, const QString& selected, QStringList& skinList) const;

    // False (and the user told) for a name the register or the list file cannot keep.
    bool acceptName(const QString& name) const;

    QString writeListPath() const;

  private:
    bool writeRegister(const QString& name, const QList<QPair<QString, QString>>& values,
                       QByteArray& previous, bool& existed) const;
    void restoreRegister(const QByteArray& previous, bool existed) const;
    void writeFailed() const;

    QString programFolder_;
    Prompts& prompts_;
};

}  // namespace marlo
