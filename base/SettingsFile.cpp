#include "base/SettingsFile.h"

#include <QStringList>
#include <cmath>
#include <limits>
#include <optional>

#include "platform/Files.h"
#include "platform/TextCodec.h"

namespace marlo {
namespace {

// The leading numeric part of a line: blanks before it are skipped, then an optional sign,
// digits with an optional decimal point, and an optional exponent. No number reads as 0.
double leadingNumber(const QString& line) {
    const QString t = line.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto digit = [&](qsizetype k) {
        return k < n && t[k] >= QLatin1Char('0') && t[k] <= QLatin1Char('9');
    };
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        ++i;
    }
    const qsizetype mantissaStart = i;
    while (digit(i)) {
        ++i;
    }
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        while (digit(i)) {
            ++i;
        }
    }
    if (i == mantissaStart || (i == mantissaStart + 1 && t[mantissaStart] == QLatin1Char('.'))) {
        return 0;
    }
    qsizetype end = i;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (t[j] == QLatin1Char('+') || t[j] == QLatin1Char('-'))) {
            ++j;
        }
        if (digit(j)) {
            while (digit(j)) {
                ++j;
            }
            end = j;
        }
    }
    bool ok = false;
    const double v = t.left(end).toDouble(&ok);
    return ok ? v : 0;
}

// A small integer takes the value rounded half to even; anything outside -32768..32767 does not
// fit and makes the file damaged.
std::optional<int16_t> smallInteger(const QString& line) {
    const double v = std::nearbyint(leadingNumber(line));
    if (!std::isfinite(v) || v < -32768.0 || v > 32767.0) {
        return std::nullopt;
    }
    return static_cast<int16_t>(v);
}

std::optional<float> singleNumber(const QString& line) {
    const double v = leadingNumber(line);
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(v);
}

std::optional<bool> boolean(const QString& line) {
    const QString t = line.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return v != 0;
}

bool isOptionNumber(int v) {
    return v >= 1 && v <= option::kCount;
}

QString numberText(float v) {
    if (std::floor(v) == v && std::fabs(v) < 1e7F) {
        return QString::number(static_cast<qint64>(v));
    }
    return QString::number(static_cast<double>(v), 'g', 7);
}

// A line break inside a text value would shift every following line.
QString oneLine(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t;
}

class LineReader {
  public:
    explicit LineReader(const QByteArray& bytes) {
        for (const QByteArray& line : splitLines(bytes)) {
            lines_ << decodeText(line);
        }
    }
    // The next line; nullopt past the end of the file.
    std::optional<QString> next() {
        if (index_ >= lines_.size()) {
            ++index_;
            return std::nullopt;
        }
        return lines_[index_++];
    }
    int lineNumber() const { return static_cast<int>(index_); }

  private:
    QStringList lines_;
    qsizetype index_ = 0;
};

}  // namespace

SettingsFile::ReadResult SettingsFile::parse(const QByteArray& bytes, Settings& s) {
    ReadResult result;
    LineReader reader(bytes);
    auto damaged = [&]() {
        result.damaged = true;
        result.damagedLine = reader.lineNumber();
        return result;
    };

    // Lines holding an option's 0 or 1; 2 is taken over unchanged.
    auto readSwitch = [&](int optionNumber) {
        auto line = reader.next();
        auto v = line ? smallInteger(*line) : std::nullopt;
        if (!v || *v < 0 || *v > 2) {
            return false;
        }
        s.setOption(optionNumber, *v);
        return true;
    };
    // Lines naming an option that is to be set, or -1 for none.
    auto readChoice = [&](bool allowNone) {
        auto line = reader.next();
        auto v = line ? smallInteger(*line) : std::nullopt;
        if (!v || !(isOptionNumber(*v) || (allowNone && *v == -1))) {
            return std::optional<int16_t>{};
        }
        if (*v != -1) {
            s.setOption(*v, 1);
        }
        return v;
    };
    auto readSmall = [&](int16_t& field) {
        auto line = reader.next();
        auto v = line ? smallInteger(*line) : std::nullopt;
        if (!v) {
            return false;
        }
        field = *v;
        return true;
    };
    auto readSingle = [&](float& field) {
        auto line = reader.next();
        auto v = line ? singleNumber(*line) : std::nullopt;
        if (!v) {
            return false;
        }
        field = *v;
        return true;
    };
    auto readText = [&](QString& field) {
        auto line = reader.next();
        if (!line) {
            return false;
        }
        field = *line;
        return true;
    };

    if (!readSwitch(option::kModulesThroughDevice) || !readSwitch(option::kStreamingOnly)) {
        return damaged();
    }
    auto videoSize = readChoice(true);
    if (!videoSize) {
        return damaged();
    }
    result.zoomFieldEnabled = *videoSize == option::kVideoUserZoom;
    if (!readChoice(true) || !readSwitch(option::kAspectRatio) || !readSmall(s.videoZoom) ||
        !readSingle(s.windowLeft) || !readSingle(s.windowTop)) {
        return damaged();
    }

    auto kindLine = reader.next();
    if (!kindLine) {
        return damaged();
    }
    const qsizetype bar = kindLine->indexOf(QLatin1Char('|'));
    if (bar < 0) {
        return damaged();
    }
    auto kind = smallInteger(kindLine->left(bar));
    auto number = smallInteger(kindLine->mid(bar + 1));
    // A kind outside the four would index past every per-kind table later on.
    if (!kind || !number || *kind < 0 || *kind > 3) {
        return damaged();
    }
    s.listKind = *kind;
    s.collectionNumber = *number;

    if (!readChoice(false)) {
        return damaged();
    }
    for (int opt = option::kAutoplay; opt <= option::kPictureZoom; ++opt) {
        if (!readSwitch(opt)) {
            return damaged();
        }
    }
    if (!readText(s.lastFolderAudio) || !readText(s.lastFolderPictures) ||
        !readText(s.lastFolderVideo) || !readSmall(s.slideshowPause) || !readSmall(s.pictureZoom) ||
        !readText(s.skinName) || !readText(s.email)) {
        return damaged();
    }
    auto languageLine = reader.next();
    auto english = languageLine ? boolean(*languageLine) : std::nullopt;
    if (!english) {
        return damaged();
    }
    s.language = *english ? UiLanguage::English : UiLanguage::German;
    result.languageRead = true;
    return result;
}

QByteArray SettingsFile::serialize(const Settings& s) {
    auto num = [](int v) { return QString::number(v); };
    QStringList lines;
    lines << num(s.option(option::kModulesThroughDevice)) << num(s.option(option::kStreamingOnly));

    int videoSize = -1;
    for (int opt : {option::kVideoFullscreen, option::kVideoDoubleSize, option::kVideoUserZoom}) {
        if (s.isSet(opt)) {
            videoSize = opt;
            break;
        }
    }
    lines << num(videoSize);
    lines << num(s.isSet(option::kRepeatAll)   ? option::kRepeatAll
                 : s.isSet(option::kRepeatOne) ? option::kRepeatOne
                                               : -1);
    lines << num(s.option(option::kAspectRatio)) << num(s.videoZoom) << numberText(s.windowLeft)
          << numberText(s.windowTop);
    // A CD list has no collections of its own.
    const bool cd = s.listKind == static_cast<int16_t>(MediaKind::CdAudio);
    lines << QStringLiteral("%1|%2").arg(s.listKind).arg(cd ? 0 : s.collectionNumber);

    int filter = option::kAutoplay;
    for (int opt = option::kFilterNone; opt <= option::kFilterAuto; ++opt) {
        if (s.isSet(opt)) {
            filter = opt;
            break;
        }
    }
    lines << num(filter);
    for (int opt = option::kAutoplay; opt <= option::kPictureZoom; ++opt) {
        lines << num(s.option(opt));
    }
    lines << oneLine(s.lastFolderAudio) << oneLine(s.lastFolderPictures)
          << oneLine(s.lastFolderVideo) << num(s.slideshowPause) << num(s.pictureZoom)
          << oneLine(s.skinName) << oneLine(s.email)
          << QString::fromLatin1(s.language == UiLanguage::English ? "True" : "False");
    return joinLines(lines);
}

bool SettingsFile::write(const QString& path, const Settings& settings) {
    return writeFileAtomically(path, serialize(settings));
}

}  // namespace marlo
