#include "app/WindowSkin.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QWidget>

#include "app/SkinButtons.h"
#include "base/texts/SkinTexts.h"
#include "platform/Files.h"
#include "platform/Prompts.h"
#include "player/DisplayModel.h"
#include "skins/SkinFiles.h"
#include "skins/TransCtl.h"

namespace marlo {
namespace {

// Why a file cannot be read, in the current language where the reason is a common one.
QString unreadableReason(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        return Catalogue::text(texts::kFileNotAFile);
    }
    if (!info.isReadable()) {
        return Catalogue::text(texts::kFileNotReadable);
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.errorString();
}

}  // namespace

WindowSkin::WindowSkin(Parts parts, SkinLoader& loader, Prompts& prompts)
    : parts_(parts), loader_(loader), prompts_(prompts) {}

bool WindowSkin::use(QString& name, const QString& fallback,
                     const SkinLoader::ApplyOptions& options) {
    QString error;
    if (selectAndApply(name, options, error)) {
        return true;
    }
    qWarning("Skin \"%s\" failed: %s", qUtf8Printable(name), qUtf8Printable(error));
    QString fallbackError;
    const bool other = name.compare(fallback, Qt::CaseInsensitive) != 0;
    if (other && selectAndApply(fallback, options, fallbackError)) {
        prompts_.inform(Catalogue::title(texts::kSkinNotLoaded),
                        Catalogue::body(texts::kSkinNotLoaded).arg(name, error, fallback),
                        PromptIcon::Warning);
        name = fallback;
        return true;
    }
    // No skin loads whole. One that loads but for some button pictures is laid on with them
    // left out: only their buttons lose their pictures, not all nine.
    for (const QString& candidate : other ? QStringList{name, fallback} : QStringList{name}) {
        QString sparedError;
        if (selectAndApply(candidate, options, sparedError, SkinLoader::Pictures::Spared)) {
            tellOnce(Catalogue::title(texts::kSkinPicturesSpared),
                     Catalogue::body(texts::kSkinPicturesSpared)
                         .arg(loader_.sparedPictures().join(QLatin1Char('\n'))));
            name = candidate;
            return true;
        }
    }
    // Without even the default skin's pictures (a damaged installation) the plain surface stays
    // usable; a message box on every start would not make it better.
    if (!fallbackError.isEmpty()) {
        qWarning("Skin \"%s\" failed: %s", qUtf8Printable(fallback), qUtf8Printable(fallbackError));
    }
    return false;
}

bool WindowSkin::useEdited(const SkinDefinition& skin, const SkinLoader::ApplyOptions& options) {
    const SkinDefinition before = loader_.definition();
    try {
        loader_.selectEdited(skin);
        layOn(loader_.ApplySkin(options));
        return true;
    } catch (const SkinError& e) {
        qWarning("Edited skin \"%s\" failed: %s", qUtf8Printable(skin.name),
                 qUtf8Printable(e.message()));
        loader_.selectEdited(before);
        return false;
    }
}

void WindowSkin::tellMissingPictures(const QStringList& skins) {
    // A register that is there but cannot be read; without one (a program folder set up by
    // hand) the plain look is what was asked for.
    const QString registerPath = loader_.registerFile();
    if (QByteArray bytes; QFileInfo::exists(registerPath) && !readWholeFile(registerPath, bytes)) {
        tellOnce(Catalogue::title(texts::kSkinRegisterUnreadable),
                 Catalogue::body(texts::kSkinRegisterUnreadable)
                     .arg(registerPath, unreadableReason(registerPath)));
        return;
    }
    QStringList missing;
    for (const QString& skin : skins) {
        for (const QString& picture : loader_.missingPictures(skin)) {
            if (!missing.contains(picture)) {
                missing << picture;
            }
        }
    }
    if (missing.isEmpty()) {
        return;  // the skins failed on a damaged value, not a picture; the log names it
    }
    tellOnce(Catalogue::title(texts::kSkinPicturesMissing),
             Catalogue::body(texts::kSkinPicturesMissing).arg(missing.join(QLatin1Char('\n'))));
}

void WindowSkin::tellOnce(const QString& title, const QString& text) {
    if (told_) {
        return;
    }
    told_ = true;
    prompts_.inform(title, text, PromptIcon::Warning);
}

bool WindowSkin::selectAndApply(const QString& name, const SkinLoader::ApplyOptions& options,
                                QString& error, SkinLoader::Pictures pictures) {
    try {
        loader_.SelectSkin(name, parts_.window.palette().color(QPalette::Window), pictures);
        layOn(loader_.ApplySkin(options));
        return true;
    } catch (const SkinError& e) {
        error = e.message();
        return false;
    }
}

void WindowSkin::layOn(const SkinLook& look) {
    QWidget& window = parts_.window;
    parts_.maske.setPicture(look.background);
    parts_.maske.move(0, 0);
    parts_.maske.lower();
    window.setFixedSize(look.windowSize);
    if (look.outline) {
        // Clicks outside the outline go to whatever lies behind the window.
        window.setMask(QRegion(*look.outline, Qt::OddEvenFill));
    } else {
        window.clearMask();
    }

    parts_.buttons.setSkin(look.pictures, look.kind);
    for (int i = 0; i < kSkinButtonCount; ++i) {
        const auto which = static_cast<SkinButton>(i);
        const Place& place = at(look.buttons, which);
        TransCtl* button = parts_.buttons.button(which);
        button->setVisible(place.visible);
        if (place.visible) {
            button->move(place.geometry.topLeft());
        }
    }
    layOnTitle(look.titel);

    if (auto* axp = window.findChild<QWidget*>(QStringLiteral("AXP"))) {
        axp->setGeometry(look.axp.geometry);
        axp->setVisible(look.axp.visible);
    }
    if (look.placeVscroll) {
        window.findChild<QWidget*>(QStringLiteral("VScroll1"))->setGeometry(look.vscroll.geometry);
    }
    if (look.placeHscroll) {
        window.findChild<QWidget*>(QStringLiteral("HScroll1"))->setGeometry(look.hscroll.geometry);
    }
    // The volume bars show for modules only; with a strip skin the player shows the vertical
    // one itself.
    if (look.kind == SkinKind::Design) {
        parts_.display.setVscrollVisible(look.vscroll.visible);
    }
    parts_.display.setHscrollVisible(look.hscroll.visible && look.kind == SkinKind::Design);
    for (const char* name : {"Dauer", "Interpret", "Posit", "Label1"}) {
        if (auto* label = window.findChild<QWidget*>(QString::fromLatin1(name))) {
            label->setVisible(look.infoLabelsVisible);
        }
    }
}

void WindowSkin::layOnTitle(const TitleLook& look) {
    QLabel& titel = parts_.titel;
    titel.setGeometry(look.geometry);
    QPalette pal = titel.palette();
    pal.setColor(QPalette::WindowText, look.colour);
    titel.setPalette(pal);
    QFont font = titel.font();
    if (!look.fontName.isEmpty()) {
        font.setFamily(look.fontName);
    }
    if (look.pointSize && *look.pointSize > 0) {
        font.setPointSizeF(*look.pointSize);
    }
    if (look.bold) {
        font.setBold(*look.bold);
    }
    if (look.italic) {
        font.setItalic(*look.italic);
    }
    titel.setFont(font);
}

}  // namespace marlo
