#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <exception>

#include "platform/IniFile.h"

namespace marlo {

// A skin that cannot be laid on: a required value that is no number or colour, a picture that
// does not load. The message says which, in the current language.
class SkinError : public std::exception {
  public:
    explicit SkinError(QString message) : message_(std::move(message)) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return "skin error"; }

  private:
    QString message_;
};

// Skin files are often made on Windows: names use "\" and another letter case than the files
// on disk. True for "C:\..." and for "/...".
bool isAbsoluteSkinPath(const QString& path);
// The existing file a skin path means, found without regard to letter case; the path with "/"
// when nothing matches.
QString resolveSkinPath(const QString& path);
// Loads a picture; throws SkinError when it does not load.
QImage loadSkinPicture(const QString& path);

// The folder every bitmap of a design file is relative to: the first folder on the design
// file's path, from the outermost (the current folder) inwards, that holds "Yamp.exe"; else the
// design file's own folder. Ends with the separator, or is empty for the current folder.
QString designBaseFolder(const QString& designPath);

// The value of a decimal number as a reader of loose numbers takes it: the leading number, 0
// when there is none.
double leadingNumber(const QString& text);

// One INI file read once, for the many look-ups of a skin.
class SkinIni {
  public:
    // An unreadable file reads as empty.
    explicit SkinIni(QString path);
    const QString& path() const { return path_; }
    QString value(const QString& section, const QString& key,
                  const QString& fallback = QString()) const;
    bool exists() const { return exists_; }

    // A required number: throws SkinError when empty or not a number.
    double number(const QString& section, const QString& key) const;
    // A colour written as BBGGRR in the last six characters; throws SkinError when it is not.
    QColor colour(const QString& section, const QString& key) const;

  private:
    QString path_;
    IniDocument document_;
    bool exists_ = false;
};

// A colour number as the register writes it: 0x00BBGGRR.
QColor colourFromNumber(qint64 number);
// A skin value as a whole number, cut towards zero, of at most `limit` either way: damaged
// values far beyond any real one are clamped first, so the conversion is always defined. Not a
// number gives 0.
qint64 wholeWithin(double value, qint64 limit);
// The colour a skin writes as a decimal colour number (the "Task" and "Color" values); a value
// beyond 32 bits is clamped to them.
QColor colourFromValue(const QString& text);

}  // namespace marlo
