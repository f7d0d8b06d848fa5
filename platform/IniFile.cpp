#include "platform/IniFile.h"

#include <QFile>
#include <QFileInfo>

#include "platform/Files.h"
#include "platform/TextCodec.h"

namespace marlo {
namespace {

bool isHeader(const QString& line) {
    return line.trimmed().startsWith(QLatin1Char('['));
}

QString headerName(const QString& line) {
    const QString t = line.trimmed();
    qsizetype close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

// Comment and blank lines are not keys.
bool isKeyLine(const QString& line) {
    const QString t = line.trimmed();
    return !t.isEmpty() && !t.startsWith(QLatin1Char(';')) && !t.startsWith(QLatin1Char('['));
}

QString keyName(const QString& line) {
    qsizetype eq = line.indexOf(QLatin1Char('='));
    return (eq < 0 ? line : line.left(eq)).trimmed();
}

QString keyValue(const QString& line) {
    qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) {
        return {};
    }
    QString v = line.mid(eq + 1).trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front()) {
        v = v.mid(1, v.size() - 2);
    }
    return v;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

IniDocument IniDocument::parse(const QByteArray& bytes) {
    IniDocument doc;
    for (const QByteArray& line : splitLines(bytes)) {
        doc.lines_.append(decodeText(line));
    }
    return doc;
}

QByteArray IniDocument::serialize() const {
    return joinLines(lines_);
}

int IniDocument::findSection(const QString& section) const {
    const QString wanted = section.trimmed();
    for (int i = 0; i < lines_.size(); ++i) {
        if (isHeader(lines_[i]) && sameName(headerName(lines_[i]), wanted)) {
            return i;
        }
    }
    return -1;
}

int IniDocument::sectionEnd(int headerLine) const {
    int i = headerLine + 1;
    while (i < lines_.size() && !isHeader(lines_[i])) {
        ++i;
    }
    return i;
}

int IniDocument::findKey(int headerLine, const QString& key) const {
    const QString wanted = key.trimmed();
    const int end = sectionEnd(headerLine);
    for (int i = headerLine + 1; i < end; ++i) {
        if (isKeyLine(lines_[i]) && sameName(keyName(lines_[i]), wanted)) {
            return i;
        }
    }
    return -1;
}

QString IniDocument::value(const QString& section, const QString& key, const QString& fallback,
                           int bufferSize) const {
    const int limit = std::max(bufferSize - 1, 0);
    const int header = findSection(section);
    const int line = header < 0 ? -1 : findKey(header, key);
    const QString v = line < 0 ? fallback : keyValue(lines_[line]);
    return v.left(limit);
}

QString IniDocument::keyList(const QString& section, int bufferSize) const {
    const int header = findSection(section);
    if (header < 0) {
        return {};
    }
    QString list;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (isKeyLine(lines_[i])) {
            list += keyName(lines_[i]);
            list += QChar(0);
        }
    }
    // The list and its closing NUL must fit; otherwise the reader keeps size - 2 characters.
    if (list.size() + 1 > bufferSize) {
        list.truncate(std::max(bufferSize - 2, 0));
    }
    return list;
}

bool IniDocument::hasSection(const QString& section) const {
    return findSection(section) >= 0;
}

QStringList IniDocument::sectionNames() const {
    QStringList names;
    for (const QString& line : lines_) {
        if (isHeader(line)) {
            names << headerName(line);
        }
    }
    return names;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const int header = findSection(section);
    if (header < 0) {
        lines_.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines_.append(key + QLatin1Char('=') + value);
        return;
    }
    const int line = findKey(header, key);
    if (line >= 0) {
        // Keep the key as the file spells it.
        lines_[line] = keyName(lines_[line]) + QLatin1Char('=') + value;
        return;
    }
    // New keys go after the section's last non-blank line, so blank separators stay between
    // sections.
    int insertAt = sectionEnd(header);
    while (insertAt > header + 1 && lines_[insertAt - 1].trimmed().isEmpty()) {
        --insertAt;
    }
    lines_.insert(insertAt, key + QLatin1Char('=') + value);
}

void IniDocument::removeKey(const QString& section, const QString& key) {
    const int header = findSection(section);
    const int line = header < 0 ? -1 : findKey(header, key);
    if (line >= 0) {
        lines_.removeAt(line);
    }
}

void IniDocument::removeSection(const QString& section) {
    const int header = findSection(section);
    if (header < 0) {
        return;
    }
    lines_.remove(header, sectionEnd(header) - header);
}

bool IniFile::load(IniDocument& document) const {
    document = {};
    const QFileInfo info(path_);
    if (!info.exists()) {
        return true;
    }
    // A folder, pipe or device is no settings file: reading a pipe would wait for a writer, and
    // a write would put a file in its place.
    if (!info.isFile()) {
        return false;
    }
    QByteArray bytes;
    if (!readWholeFile(path_, bytes)) {
        return false;
    }
    document = IniDocument::parse(bytes);
    return true;
}

bool IniFile::save(const IniDocument& document) const {
    return writeFileAtomically(path_, document.serialize());
}

QString IniFile::read(const QString& section, const QString& key, const QString& fallback,
                      int bufferSize) const {
    IniDocument doc;
    load(doc);
    return doc.value(section, key, fallback, bufferSize);
}

QString IniFile::keyList(const QString& section, int bufferSize) const {
    IniDocument doc;
    load(doc);
    return doc.keyList(section, bufferSize);
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) {
    IniDocument doc;
    if (!load(doc)) {
        return false;
    }
    doc.setValue(section, key, value);
    return save(doc);
}

bool IniFile::removeKey(const QString& section, const QString& key) {
    // A file that does not exist has nothing to remove, and is not created for it.
    if (!fileExists(path_)) {
        return true;
    }
    IniDocument doc;
    if (!load(doc)) {
        return false;
    }
    doc.removeKey(section, key);
    return save(doc);
}

bool IniFile::removeSection(const QString& section) {
    if (!fileExists(path_)) {
        return true;
    }
    IniDocument doc;
    if (!load(doc)) {
        return false;
    }
    doc.removeSection(section);
    return save(doc);
}

}  // namespace marlo
