#include "skins/SkinLoader.h"

#include <QFont>
#include <algorithm>
#include <cmath>

#include "base/texts/SkinTexts.h"
#include "platform/Twips.h"
#include "skins/SkinFiles.h"

namespace marlo {
namespace {

const QString kAllControls = QStringLiteral("All Controls");
// Outlines of real designs have a few dozen points; a damaged count must not run for minutes.
constexpr int kMaxOutlinePoints = 4096;
// Window sizes beyond this are damaged values, not skins.
constexpr int kMaxWindowSide = 16384;

QString s(const char* text) {
    return QString::fromLatin1(text);
}

// Damaged values far beyond any screen are kept in a range where rounding is defined.
int whole(double value) {
    constexpr qint64 kLimit = 1000000;
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(wholeWithin(std::round(value), kLimit));
}

// Title fonts beyond this are damaged values; the font engine would overflow on them.
constexpr double kMaxPointSize = 1000;

double pointSizeOf(const QString& text) {
    return std::min(leadingNumber(text), kMaxPointSize);
}

// The "All Controls" value of a widget, split at commas, each rounded to whole twips.
QList<int> placementNumbers(const SkinIni& skins, const QString& widget) {
    const QString text = skins.value(kAllControls, widget);
    QList<int> numbers;
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const double value = part.trimmed().toDouble(&ok);
        if (!ok) {
            throw SkinError(Catalogue::text(texts::kSkinNotANumber)
                                .arg(skins.path(), kAllControls, widget, text));
        }
        numbers << whole(value);
    }
    return numbers;
}

int placement(const SkinIni& skins, const QString& widget, bool second, QSize* size) {
    const QList<int> numbers = placementNumbers(skins, widget);
    const int wanted = second ? 2 : 1;
    const bool sized = second && size != nullptr;
    if (numbers.size() < wanted || (sized && numbers.size() < 4)) {
        throw SkinError(
            Catalogue::text(texts::kSkinNotANumber)
                .arg(skins.path(), kAllControls, widget, skins.value(kAllControls, widget)));
    }
    if (sized) {
        *size = QSize(numbers[2], numbers[3]);
    }
    return numbers[wanted - 1];
}

bool designFlag(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    return leadingNumber(t) != 0;
}

QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace

SkinLoader::SkinLoader(QString programFolder) : programFolder_(std::move(programFolder)) {}

QString SkinLoader::registerPath(const QString& programFolder) {
    return programFolder + QStringLiteral("Skins.ini");
}

QString SkinLoader::skinListPath(const QString& programFolder) {
    return programFolder + QStringLiteral("SkinName.ini");
}

int SkinLoader::ReadPlacement(const QString& widget, bool second, QSize* size) const {
    return placement(SkinIni(registerPath(programFolder_)), widget, second, size);
}

QImage SkinLoader::buttonPicture(const QString& path) {
    if (!spare_) {
        return loadSkinPicture(path);
    }
    try {
        return loadSkinPicture(path);
    } catch (const SkinError&) {
        if (const QString file = resolveSkinPath(path); !spared_.contains(file)) {
            spared_ << file;
        }
        return {};
    }
}

void SkinLoader::selectEdited(SkinDefinition skin) {
    skin_ = std::move(skin);
    spare_ = false;
    spared_.clear();
    sparedStrips_ = {};
}

void SkinLoader::SelectSkin(const QString& name, const QColor& remoteColour, Pictures pictures) {
    const SkinIni skins(registerPath(programFolder_));
    // Work on copies: a skin that fails half-way must not leave half of itself behind.
    SkinDefinition skin = skin_;
    SkinPreviews previews;
    skin.name = name;
    spare_ = pictures == Pictures::Spared;
    spared_.clear();
    sparedStrips_ = {};

    skin.task = skins.value(name, s("Task"));
    if (!skin.task.isEmpty()) {
        if (isAbsoluteSkinPath(skin.task)) {
            previews.taskbar = QPixmap::fromImage(buttonPicture(skin.task));
            previews.swatchVisible = false;
        } else {
            previews.swatch = colourFromValue(skin.task);
        }
    } else {
        previews.swatch = remoteColour;
    }

    skin.designPath = skins.value(name, s("DesignPath"));
    if (!skin.designPath.isEmpty()) {
        selectDesign(skin, previews);
    } else {
        if (skins.value(name, s("Background")).isEmpty() &&
            skins.value(name, s("Play")).isEmpty()) {
            throw SkinError(Catalogue::text(texts::kSkinNotRegistered).arg(name));
        }
        selectStrips(skins, skin, previews);
        skin.kind = SkinKind::Strip;
    }
    skin_ = std::move(skin);
    previews_ = std::move(previews);
}

QStringList SkinLoader::missingPictures(const QString& name) const {
    const SkinIni skins(registerPath(programFolder_));
    QStringList named;
    const QString designPath = skins.value(name, s("DesignPath"));
    if (designPath.isEmpty()) {
        named << skins.value(name, s("Background"));
        // A taskbar colour is a number, not a picture.
        if (const QString task = skins.value(name, s("Task")); isAbsoluteSkinPath(task)) {
            named << task;
        }
        for (const StripLayout& layout : stripLayouts()) {
            named << skins.value(name, s(layout.key));
        }
    } else {
        const SkinIni design(designPath);
        if (!design.exists()) {
            return {designPath};
        }
        const QString base = designBaseFolder(designPath);
        const QString background = design.value(s("General"), s("Bitmap"));
        if (!background.isEmpty()) {
            named << (isAbsoluteSkinPath(background) ? background : base + background);
        }
        for (const char* section :
             {"Button Play", "Button Stop", "Button Pause", "Button Previous Song",
              "Button Next Song", "Button Disk Operations", "Button Options", "Button Close",
              "Button Minimize"}) {
            for (const char* key : {"Bitmap1", "Bitmap2", "Bitmap3"}) {
                if (const QString file = design.value(s(section), s(key)); !file.isEmpty()) {
                    named << base + file;
                }
            }
        }
    }
    QStringList missing;
    for (const QString& path : named) {
        // Shown as the file system names it, "/" for the "\" of skins made on Windows.
        const QString file = resolveSkinPath(path);
        if (path.isEmpty() || missing.contains(file)) {
            continue;
        }
        try {
            loadSkinPicture(path);
        } catch (const SkinError&) {
            missing << file;
        }
    }
    return missing;
}

void SkinLoader::selectDesign(SkinDefinition& skin, SkinPreviews& previews) {
    const SkinIni design(skin.designPath);
    if (!design.exists()) {
        throw SkinError(Catalogue::text(texts::kSkinDesignMissing).arg(skin.designPath));
    }
    skin.backgroundPath = design.value(s("General"), s("Bitmap"));
    if (!isAbsoluteSkinPath(skin.backgroundPath)) {
        skin.baseFolder = designBaseFolder(skin.designPath);
        skin.backgroundPath = skin.baseFolder + skin.backgroundPath;
    }
    skin.background = QPixmap::fromImage(loadSkinPicture(skin.backgroundPath));
    previews.background = skin.background;

    const QString& base = skin.baseFolder;
    skin.playPath = base + design.value(s("Button Play"), s("Bitmap1"));
    previews.play = QPixmap::fromImage(buttonPicture(skin.playPath));
    skin.stopPath = base + design.value(s("Button Stop"), s("Bitmap1"));
    previews.stop = QPixmap::fromImage(buttonPicture(skin.stopPath));

    // A button whose Bitmap1 is missing leaves the bare base folder as its path: it is absent.
    const auto optional = [&](const char* section, QString& path, QPixmap& preview) {
        path = base + design.value(s(section), s("Bitmap1"));
        preview = path != base ? QPixmap::fromImage(buttonPicture(path)) : QPixmap();
    };
    optional("Button Next Song", skin.nextPath, previews.next);
    optional("Button Disk Operations", skin.diskPath, previews.disk);
    optional("Button Options", skin.optionsPath, previews.options);
    skin.kind = SkinKind::Design;
}

void SkinLoader::selectStrips(const SkinIni& skins, SkinDefinition& skin, SkinPreviews& previews) {
    skin.backgroundPath = skins.value(skin.name, s("Background"));
    skin.background = QPixmap::fromImage(loadSkinPicture(skin.backgroundPath));
    previews.background = skin.background;
    QPixmap* stripPreviews[kStripCount] = {&previews.play, &previews.stop, &previews.next,
                                           &previews.disk, &previews.options};
    // The paths are what "Speichern" writes back for a slot the user left alone.
    QString* stripPaths[kStripCount] = {&skin.playPath, &skin.stopPath, &skin.nextPath,
                                        &skin.diskPath, &skin.optionsPath};
    for (size_t i = 0; i < kStripCount; ++i) {
        const StripLayout& layout = stripLayouts()[i];
        const QString path = skins.value(skin.name, s(layout.key));
        if (path.isEmpty()) {
            // The strip and the pictures of its buttons stay as they were.
            *stripPreviews[i] = QPixmap();
            continue;
        }
        *stripPaths[i] = path;
        skin.strips[i] = buttonPicture(path);
        sparedStrips_[i] = skin.strips[i].isNull();
        *stripPreviews[i] =
            QPixmap::fromImage(stripCell(skin.strips[i], layout.rows, layout.columns, 0));
    }
}

SkinLook SkinLoader::ApplySkin(const ApplyOptions& options) {
    SkinLook look;
    look.kind = skin_.kind;
    look.background = skin_.background;
    SlotPictures pictures = pictures_;
    if (skin_.kind == SkinKind::Design) {
        applyDesign(look, pictures, options);
        // A design skin empties the strips: a strip skin selected later without some strip
        // shows nothing of it rather than the pictures of an older skin.
        skin_.strips = {};
    } else {
        applyStrip(look, pictures, options);
    }
    pictures_ = pictures;
    look.pictures = pictures;
    return look;
}

void SkinLoader::applyStrip(SkinLook& look, SlotPictures& pictures, const ApplyOptions& options) {
    const SkinIni skins(registerPath(programFolder_));
    const QSize background = skin_.background.deviceIndependentSize().toSize();
    look.windowSize = background;

    static constexpr SkinButton kOrder[] = {
        SkinButton::Mini,  SkinButton::Next, SkinButton::Pause,
        SkinButton::Play,  SkinButton::Stop, SkinButton::Previous,
        SkinButton::Close, SkinButton::Song, SkinButton::Setup};
    for (SkinButton button : kOrder) {
        const QString name = s(objectName(button));
        const int left = placement(skins, name, false, nullptr);
        const int top = placement(skins, name, true, nullptr);
        at(look.buttons, button).geometry = QRect(twipsToPixels(left), twipsToPixels(top), 0, 0);
    }
    QSize size;
    int left = placement(skins, s("Vscroll1"), false, nullptr);
    int top = placement(skins, s("Vscroll1"), true, &size);
    look.placeVscroll = true;
    look.vscroll.geometry = twipsRect(left, top, size.width(), size.height());
    look.placeHscroll = false;
    look.hscroll.visible = false;

    left = placement(skins, s("Titel"), false, nullptr);
    top = placement(skins, s("Titel"), true, &size);
    look.titel.geometry = twipsRect(left, top, size.width(), size.height());
    look.titel.fontName = skins.value(kAllControls, s("Font"));
    const QString pointSize = skins.value(kAllControls, s("Size"));
    if (!pointSize.isEmpty()) {
        look.titel.pointSize = pointSizeOf(pointSize);
    }
    look.titel.colour = colourFromValue(skins.value(kAllControls, s("Color")));
    look.titel.bold = false;
    look.infoLabelsVisible = true;

    // The position bar sits below the background; with the option on the window grows to show
    // it. The window stays a plain rectangle, so the bar is never cut off by an outline.
    const int barHeight = twipsToPixels(40);
    look.axp.geometry = QRect(0, background.height(), background.width(), barHeight);
    if (options.positionBar) {
        look.windowSize.rheight() += barHeight;
    }

    for (size_t i = 0; i < kStripCount; ++i) {
        fillSlotsFromStrip(stripLayouts()[i], skin_.strips[i], pictures);
        if (sparedStrips_[i]) {
            // Its buttons show no picture rather than those of an older skin.
            for (const StripCell& cell : stripLayouts()[i].cells) {
                at(pictures, cell.slot) = QPixmap();
            }
        }
    }
}

QPixmap SkinLoader::LoadDesignPicture(const SkinIni& design, const QString& section,
                                      const QString& key, const SlotPictures& pictures) {
    const QString name = design.value(section, key);
    if (name.isEmpty()) {
        return at(pictures, Slot::Play1);
    }
    return QPixmap::fromImage(buttonPicture(skin_.baseFolder + name));
}

void SkinLoader::applyDesign(SkinLook& look, SlotPictures& pictures, const ApplyOptions& options) {
    const SkinIni design(skin_.designPath);
    const QString general = s("General");
    const auto side = [&](const char* key) {
        return std::clamp(whole(design.number(general, s(key))), 1, kMaxWindowSide);
    };
    look.windowSize = QSize(side("WindowWidth"), side("WindowHeight"));

    const auto load = [&](Slot slot, const char* section, const char* key) {
        at(pictures, slot) = LoadDesignPicture(design, s(section), s(key), pictures);
    };
    const auto place = [&](SkinButton button, const char* section) {
        const QPoint topLeft(whole(design.number(s(section), s("Left"))),
                             whole(design.number(s(section), s("Top"))));
        at(look.buttons, button).geometry = QRect(topLeft, QSize());
    };

    load(Slot::Play1, "Button Play", "Bitmap2");
    load(Slot::Play2, "Button Play", "Bitmap1");
    at(pictures, Slot::Play3) = at(pictures, Slot::Play1);
    load(Slot::Play4, "Button Play", "Bitmap3");
    place(SkinButton::Play, "Button Play");

    load(Slot::Stop1, "Button Stop", "Bitmap1");
    at(pictures, Slot::Stop2) = at(pictures, Slot::Stop1);
    load(Slot::Stop3, "Button Stop", "Bitmap2");
    place(SkinButton::Stop, "Button Stop");

    load(Slot::Pause1, "Button Pause", "Bitmap1");
    at(pictures, Slot::Pause2) = at(pictures, Slot::Pause1);
    load(Slot::Pause3, "Button Pause", "Bitmap2");
    load(Slot::Pause4, "Button Pause", "Bitmap3");
    place(SkinButton::Pause, "Button Pause");

    const QString& base = skin_.baseFolder;
    if (skin_.diskPath != base) {
        load(Slot::Song1, "Button Disk Operations", "Bitmap1");
        load(Slot::Song2, "Button Disk Operations", "Bitmap2");
        place(SkinButton::Song, "Button Disk Operations");
    } else {
        at(look.buttons, SkinButton::Song).visible = false;
    }
    if (skin_.optionsPath != base) {
        load(Slot::Setup1, "Button Options", "Bitmap1");
        load(Slot::Setup2, "Button Options", "Bitmap2");
        place(SkinButton::Setup, "Button Options");
    } else {
        at(look.buttons, SkinButton::Setup).visible = false;
    }
    // Previous exists only with Next: the pair goes together, whatever Previous holds.
    if (skin_.nextPath != base) {
        load(Slot::Prev1, "Button Previous Song", "Bitmap3");
        load(Slot::Prev2, "Button Previous Song", "Bitmap1");
        load(Slot::Prev3, "Button Previous Song", "Bitmap2");
        place(SkinButton::Previous, "Button Previous Song");
        load(Slot::Next1, "Button Next Song", "Bitmap3");
        load(Slot::Next2, "Button Next Song", "Bitmap1");
        load(Slot::Next3, "Button Next Song", "Bitmap2");
        place(SkinButton::Next, "Button Next Song");
    } else {
        at(look.buttons, SkinButton::Previous).visible = false;
        at(look.buttons, SkinButton::Next).visible = false;
    }
    load(Slot::Close1, "Button Close", "Bitmap1");
    load(Slot::Close2, "Button Close", "Bitmap2");
    place(SkinButton::Close, "Button Close");
    load(Slot::Min1, "Button Minimize", "Bitmap1");
    load(Slot::Min2, "Button Minimize", "Bitmap2");
    place(SkinButton::Mini, "Button Minimize");

    const QString gauge = s("Gauge PlaylistPos");
    if (!design.value(gauge, s("Left")).isEmpty()) {
        look.axp.geometry = QRect(
            whole(design.number(gauge, s("Left"))), whole(design.number(gauge, s("Top"))),
            whole(design.number(gauge, s("Width"))), whole(design.number(gauge, s("Height"))));
    } else {
        look.axp.visible = false;
    }

    const QString label = s("Label songName");
    look.titel.geometry =
        QRect(whole(design.number(label, s("Left"))), whole(design.number(label, s("Top"))),
              whole(design.number(label, s("Width"))), whole(design.number(label, s("Height"))));
    look.titel.colour = design.colour(
        label, design.value(label, s("FontColor")).isEmpty() ? s("Active Color") : s("FontColor"));
    look.titel.fontName = design.value(label, s("FontName"));
    if (const QString size = design.value(label, s("FontSize")); !size.isEmpty()) {
        look.titel.pointSize = pointSizeOf(size);
    }
    if (const QString bold = design.value(label, s("FontBold")); !bold.isEmpty()) {
        look.titel.bold = designFlag(bold);
    }
    if (const QString italic = design.value(label, s("FontItalic")); !italic.isEmpty()) {
        look.titel.italic = designFlag(italic);
    }

    const QString songPos = s("Gauge SongPos");
    const auto gaugeSide = [&](const char* key) {
        const double value = std::floor(leadingNumber(design.value(songPos, s(key), s("0"))));
        return static_cast<int>(std::clamp(value, 0.0, double(kMaxWindowSide)));
    };
    const int h = gaugeSide("Height");
    const int w = gaugeSide("Width");
    const QString left = design.value(songPos, s("Left"));
    const QPoint topLeft(whole(leadingNumber(left)),
                         whole(leadingNumber(design.value(songPos, s("Top")))));
    if (w < h) {
        look.hscroll.visible = false;
        look.vscroll.visible = options.currentIsModule;
        look.placeVscroll = true;
        look.vscroll.geometry = QRect(topLeft, QSize(w, h));
    } else {
        look.vscroll.visible = false;
        look.hscroll.visible = options.currentIsModule;
        look.placeHscroll = !left.isEmpty();
        look.hscroll.geometry = QRect(topLeft, QSize(w, h));
    }
    look.infoLabelsVisible = false;

    const auto points = static_cast<int>(
        wholeWithin(leadingNumber(design.value(general, s("NumberOfWindowShapePoints"), s("0"))),
                    kMaxOutlinePoints));
    QPolygon outline;
    if (points > 0) {
        for (int i = 1; i <= std::min(points, kMaxOutlinePoints); ++i) {
            const QString p = s("P") + QString::number(i);
            outline << QPoint(whole(leadingNumber(design.value(general, p + s("x"), s("0")))),
                              whole(leadingNumber(design.value(general, p + s("y"), s("0")))));
        }
    } else {
        const QSize bg = skin_.background.deviceIndependentSize().toSize();
        outline << QPoint(0, 0) << QPoint(bg.width(), 0) << QPoint(bg.width(), bg.height())
                << QPoint(0, bg.height());
    }
    look.outline = outline;
}

}  // namespace marlo
