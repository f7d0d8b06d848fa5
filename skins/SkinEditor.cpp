#include "skins/SkinEditor.h"

#include <QDir>
#include <QFile>
#include <cstdio>

#include "base/Catalogue.h"
#include "base/WriteErrorText.h"
#include "base/texts/SettingsTexts.h"
#include "base/texts/SkinTexts.h"
#include "base/texts/StartupTexts.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Prompts.h"
#include "platform/TextCodec.h"
#include "skins/SkinFiles.h"
#include "skins/SkinLoader.h"
#include "skins/SkinRegister.h"

namespace marlo {
namespace {

constexpr const char* kStandardNames[] = {"background.bmp", "Taskbar.bmp", "Play.bmp",
                                          "Stop.bmp",       "Seek.bmp",    "Open.bmp",
                                          "Function.bmp"};
constexpr const char* kRegisterKeys[] = {"Background", "Task", "Play",     "Stop",
                                         "Seek",       "Open", "Functions"};

bool isStrip(int slot) {
    return slot >= 3 && slot <= SkinDraft::kSlots;
}

}  // namespace

SkinDraft SkinDraft::fromSelection(const SkinDefinition& skin, const SkinPreviews& previews) {
    SkinDraft draft;
    draft.paths = {
        QString(),     skin.backgroundPath, previews.swatchVisible ? QString() : skin.task,
        skin.playPath, skin.stopPath,       skin.nextPath,
        skin.diskPath, skin.optionsPath};
    draft.pictures[1] = skin.background.toImage();
    draft.pictures[2] = previews.taskbar.toImage();
    if (skin.kind == SkinKind::Design) {
        // The strips still hold the strip skin selected before; they are not this skin's.
        const QPixmap* buttons[kStripCount] = {&previews.play, &previews.stop, &previews.next,
                                               &previews.disk, &previews.options};
        for (int i = 0; i < kStripCount; ++i) {
            draft.designButtons[static_cast<size_t>(i + 3)] = buttons[i]->toImage();
        }
    } else {
        for (int i = 0; i < kStripCount; ++i) {
            draft.pictures[static_cast<size_t>(i + 3)] = skin.strips[static_cast<size_t>(i)];
        }
    }
    draft.taskColour = previews.swatch;
    draft.swatchShown = previews.swatchVisible;
    return draft;
}

QString SkinDraft::standardName(int slot) {
    return QString::fromLatin1(kStandardNames[slot - 1]);
}

QString SkinDraft::registerKey(int slot) {
    return QString::fromLatin1(kRegisterKeys[slot - 1]);
}

QImage SkinDraft::preview(int slot) const {
    const QImage& picture = pictures.at(static_cast<size_t>(slot));
    if (!isStrip(slot)) {
        return picture;
    }
    if (picture.isNull()) {
        return designButtons.at(static_cast<size_t>(slot));
    }
    const StripLayout& layout = stripLayouts()[static_cast<size_t>(slot - 3)];
    return stripCell(picture, layout.rows, layout.columns, 0);
}

SkinDefinition SkinDraft::edited(SkinDefinition skin) const {
    if (!pictures[1].isNull()) {
        skin.background = QPixmap::fromImage(pictures[1]);
        skin.backgroundPath = paths[1];
    }
    skin.task = swatchShown ? QString::number(colourNumber(taskColour)) : paths[2];
    if (skin.kind != SkinKind::Strip) {
        return skin;
    }
    QString* stripPaths[kStripCount] = {&skin.playPath, &skin.stopPath, &skin.nextPath,
                                        &skin.diskPath, &skin.optionsPath};
    for (int i = 0; i < kStripCount; ++i) {
        const auto slot = static_cast<size_t>(i + 3);
        if (!pictures[slot].isNull()) {
            skin.strips[static_cast<size_t>(i)] = pictures[slot];
            *stripPaths[i] = paths[slot];
        }
    }
    return skin;
}

SkinEditor::SkinEditor(QString programFolder, Prompts& prompts)
    : programFolder_(std::move(programFolder)), prompts_(prompts) {}

QString SkinEditor::folderOf(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.left(cut + 1);
}

QString SkinEditor::writeListPath() const {
    return programFolder_ + QStringLiteral("Write.ini");
}

QList<int> SkinEditor::dropPicture(const QString& path, int slot, SkinDraft& draft) const {
    const QString folder = folderOf(path);
    QList<int> taken;
    QStringList failed;
    for (int k = 1; k <= SkinDraft::kSlots; ++k) {
        QString file;
        if (k == slot) {
            file = path;
        } else {
            // Skins come from Windows: the standard name may differ in letter case on disk.
            const QString beside = resolveSkinPath(folder + SkinDraft::standardName(k));
            if (!fileExists(beside)) {
                continue;
            }
            file = beside;
        }
        draft.paths[static_cast<size_t>(k)] = file;
        QImage picture;
        try {
            picture = loadSkinPicture(file);
        } catch (const SkinError& error) {
            failed << error.message();
        }
        draft.pictures[static_cast<size_t>(k)] = picture;
        taken << k;
    }
    if (!failed.isEmpty()) {
        prompts_.inform(QString(), failed.join(QLatin1Char('\n')), PromptIcon::Warning);
    }
    return taken;
}

QList<int> SkinEditor::openerChose(const QString& path, int slot, SkinDraft& draft) const {
    if (slot == 2) {
        draft.swatchShown = false;
    }
    return dropPicture(path, slot, draft);
}

bool SkinEditor::acceptName(const QString& name) const {
    const bool bad = name.contains(QLatin1Char(']')) || name.contains(QLatin1Char('\n')) ||
                     name.contains(QLatin1Char('\r')) || name.trimmed() != name;
    if (bad) {
        prompts_.inform(Catalogue::title(texts::kBadSkinName),
                        Catalogue::body(texts::kBadSkinName).arg(name), PromptIcon::Warning);
    }
    return !bad;
}

void SkinEditor::writeFailed() const {
    prompts_.inform(QString(), writeErrorText(), PromptIcon::None);
}

bool SkinEditor::writeRegister(const QString& name, const QList<QPair<QString, QString>>& values,
                               QByteArray& previous, bool& existed) const {
    const QString path = SkinLoader::registerPath(programFolder_);
    existed = QFile::exists(path);
    if (existed && !readWholeFile(path, previous)) {
        prompts_.inform(QString(), tr(texts::kSkinFileBroken).arg(path), PromptIcon::Warning);
        return false;
    }
    IniDocument document = IniDocument::parse(previous);
    if (values.isEmpty()) {
        document.removeSection(name);
    }
    for (const auto& [key, value] : values) {
        document.setValue(name, key, value);
    }
    // One write for all keys: a failure leaves the register as it was.
    if (!writeFileAtomically(path, document.serialize())) {
        writeFailed();
        return false;
    }
    return true;
}

void SkinEditor::restoreRegister(const QByteArray& previous, bool existed) const {
    const QString path = SkinLoader::registerPath(programFolder_);
    if (existed) {
        writeFileAtomically(path, previous);
    } else {
        QFile::remove(path);
    }
}

SkinEditor::Outcome SkinEditor::save(const QString& name, SkinKind kind, const SkinDraft& draft,
                                     QStringList& skinList) const {
    if (name.isEmpty()) {
        return Outcome::Nothing;
    }
    if (!acceptName(name)) {
        return Outcome::Refused;
    }
    QByteArray previous;
    bool existed = false;
    const QString colour = QString::number(colourNumber(draft.taskColour));
    if (kind == SkinKind::Design) {
        return writeRegister(name, {{QStringLiteral("Task"), colour}}, previous, existed)
                   ? Outcome::Done
                   : Outcome::Failed;
    }
    const bool listed = skinList.contains(name);
    if (listed &&
        prompts_.message(Catalogue::title(texts::kOverwriteSkin),
                         Catalogue::body(texts::kOverwriteSkin).arg(name), PromptIcon::Question,
                         PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes) {
        return Outcome::Declined;
    }
    QList<QPair<QString, QString>> values;
    for (int slot = 1; slot <= SkinDraft::kSlots; ++slot) {
        const QString value =
            slot == 2 && draft.swatchShown ? colour : draft.paths[static_cast<size_t>(slot)];
        values.append({SkinDraft::registerKey(slot), value});
    }
    if (!writeRegister(name, values, previous, existed)) {
        return Outcome::Failed;
    }
    if (!listed) {
        const SkinRegister skins(programFolder_, prompts_);
        bool readable = true;
        QStringList names = skins.readSkinList(&readable);
        if (!readable && QFile::exists(SkinLoader::skinListPath(programFolder_))) {
            restoreRegister(previous, existed);
            writeFailed();
            return Outcome::Failed;
        }
        names << name;
        if (!skins.writeSkinList(names)) {
            restoreRegister(previous, existed);
            return Outcome::Failed;
        }
        skinList << name;
    }
    return Outcome::Done;
}

SkinEditor::Outcome SkinEditor::remove(const QString& name, const QString& selected,
                                       QStringList& skinList) const {
    if (name.isEmpty()) {
        return Outcome::Nothing;
    }
    const QString standard = QString::fromLatin1(SkinRegister::kDefaultSkin);
    if (name == standard || selected == standard) {
        prompts_.inform(Catalogue::title(texts::kStandardNotDeletable),
                        Catalogue::body(texts::kStandardNotDeletable), PromptIcon::Warning);
        return Outcome::Refused;
    }
    const qsizetype entry = skinList.indexOf(name);
    if (entry < 0) {
        return Outcome::Nothing;
    }
    if (prompts_.message(Catalogue::title(texts::kDeleteSkin),
                         Catalogue::body(texts::kDeleteSkin).arg(name), PromptIcon::Question,
                         PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes) {
        return Outcome::Declined;
    }

    // The list without the name goes to "Write.ini" first; only when that stands is the
    // register changed, and "Write.ini" then replaces the list file in one rename.
    const QString listPath = SkinLoader::skinListPath(programFolder_);
    QByteArray listBytes;
    if (QFile::exists(listPath) && !readWholeFile(listPath, listBytes)) {
        prompts_.inform(QString(), tr(texts::kSkinFileBroken).arg(listPath), PromptIcon::Warning);
        return Outcome::Failed;
    }
    QStringList kept;
    for (const QByteArray& line : splitLines(listBytes)) {
        const QString text = decodeText(line);
        if (text != name) {
            kept << text;
        }
    }
    const QString writePath = writeListPath();
    QFile::remove(writePath);
    {
        QFile out(writePath);
        const QByteArray bytes = joinLines(kept);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
            out.close();
            QFile::remove(writePath);
            writeFailed();
            return Outcome::Failed;
        }
    }
    QByteArray previous;
    bool existed = false;
    if (!writeRegister(name, {}, previous, existed)) {
        QFile::remove(writePath);
        return Outcome::Failed;
    }
    if (std::rename(QFile::encodeName(writePath).constData(),
                    QFile::encodeName(listPath).constData()) != 0) {
        restoreRegister(previous, existed);
        QFile::remove(writePath);
        writeFailed();
        return Outcome::Failed;
    }
    skinList.removeAt(entry);
    return Outcome::Done;
}

}  // namespace marlo
