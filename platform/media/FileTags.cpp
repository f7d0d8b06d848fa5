#include "platform/media/FileTags.h"

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <QFile>

namespace marlo {
namespace {

QString text(const TagLib::String& value) {
    return QString::fromStdString(value.to8Bit(true)).trimmed();
}

FileTags tagsOf(const TagLib::Tag* tag) {
    if (tag == nullptr) {
        return {};
    }
    return FileTags{text(tag->title()), text(tag->artist())};
}

}  // namespace

FileTags readFileTags(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const TagLib::FileRef file(name.constData(), false);
    return file.isNull() ? FileTags{} : tagsOf(file.tag());
}

FileTags readId3v2Tags(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    TagLib::MPEG::File file(name.constData(), false);
    return file.isValid() && file.hasID3v2Tag() ? tagsOf(file.ID3v2Tag()) : FileTags{};
}

}  // namespace marlo
