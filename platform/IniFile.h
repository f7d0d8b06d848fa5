#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace marlo {

// INI text with the semantics of the Windows profile functions: section and key names compare
// without regard to case, the first of duplicate sections or keys wins, values lose surrounding
// blanks and one pair of matching quotes. Every other line — comments, blank lines, odd spacing —
// is kept as it is and in its place when the text is changed.
class IniDocument {
  public:
    static constexpr int kValueBuffer = 1024;    // one value: at most 1023 characters come back
    static constexpr int kKeyListBuffer = 4096;  // all key names of a section

    static IniDocument parse(const QByteArray& bytes);
    QByteArray serialize() const;  // CR LF after every line

    // The value, or `fallback` when section or key is missing; cut as the reader cuts it to a
    // buffer of `bufferSize` characters (the terminating zero takes one).
    QString value(const QString& section, const QString& key, const QString& fallback,
                  int bufferSize = kValueBuffer) const;

    // All key names of the section, each followed by a NUL character, cut to the buffer as the
    // Windows reader cuts it (the reported length leaves out the list's final NUL).
    QString keyList(const QString& section, int bufferSize = kKeyListBuffer) const;

    bool hasSection(const QString& section) const;
    QStringList sectionNames() const;

    void setValue(const QString& section, const QString& key, const QString& value);
    void removeKey(const QString& section, const QString& key);
    void removeSection(const QString& section);

  private:
    QStringList lines_;

    int findSection(const QString& section) const;  // index of the header line or -1
    int sectionEnd(int headerLine) const;           // index after its last line
    int findKey(int headerLine, const QString& key) const;
};

// An INI file on disk; every call reads the file afresh and every change rewrites it atomically
// (the file is created on the first write).
class IniFile {
  public:
    explicit IniFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    QString read(const QString& section, const QString& key, const QString& fallback,
                 int bufferSize = IniDocument::kValueBuffer) const;
    QString keyList(const QString& section, int bufferSize = IniDocument::kKeyListBuffer) const;

    // Each returns false when the file could not be written.
    bool write(const QString& section, const QString& key, const QString& value);
    bool removeKey(const QString& section, const QString& key);
    bool removeSection(const QString& section);

  private:
    // False when the file exists but cannot be read: a write must not replace it then.
    bool load(IniDocument& document) const;
    bool save(const IniDocument& document) const;
    QString path_;
};

}  // namespace marlo
