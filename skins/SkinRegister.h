#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

namespace marlo {

class Prompts;

// The skin register "Skins.ini" and the skin list "SkinName.ini" of the program folder, as the
// default skins and the import fill them.
class SkinRegister {
  public:
    SkinRegister(QString programFolder, Prompts& prompts);

    // The skin every installation has and falls back to.
    static constexpr const char* kDefaultSkin = "Standard";
    // The skins of a fresh installation, in list order.
    static QStringList defaultSkinNames() {
        return {QStringLiteral("Vantel's Design"), QString::fromLatin1(kDefaultSkin)};
    }

    // The register content every installation has: the shared "All Controls" placements and the
    // two strip skins "Vantel's Design" and "Standard", pictures below the program folder or, for
    // an installed copy, below its shared assets folder.
    void writeDefaults() const { writeDefaults(programFolder_); }
    void writeDefaults(const QString& assetsFolder) const;

    QStringList readSkinList(bool* readable = nullptr) const;
    // Replaces the list file; false when it could not be written.
    bool writeSkinList(const QStringList& names) const;
    bool appendToSkinList(const QString& name) const;

    // Registers a design skin: its file as chosen and the taskbar colour of the moment.
    bool registerDesign(const QString& name, const QString& designPath, const QColor& task) const;

  private:
    QString programFolder_;
    Prompts& prompts_;
};

// Import of a design file of the other player. The skin kind becomes Design.
class YampImport {
  public:
    struct Result {
        QString name;             // the skin's name: the file name up to its first "."
        bool registered = false;  // false: the name was listed already (or is empty)
        int listIndex = -1;       // its entry in the list, to select and preview
        QString refusal;          // why a file that is no design file was not registered
    };

    // `skinList` is the settings dialog's list; a new name is appended to it and to the file.
    // A file that cannot be read, or has no background in its [General] section, registers
    // nothing and says why.
    static Result run(const QString& designPath, const QColor& taskColour,
                      const SkinRegister& skins, QStringList& skinList);

    // "C:\Players\Skins\Ocean.design" is "Ocean".
    static QString skinName(const QString& designPath);
};

// The colour number of a colour as the register keeps it: 0x00BBGGRR.
qint64 colourNumber(const QColor& colour);

}  // namespace marlo
