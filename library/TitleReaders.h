#pragma once

#include <QString>

namespace marlo {

// What reading one media file proposes for its item. Reading needs no window and no prompt, so
// it may run anywhere; the add operations show the folder message themselves.
struct FileReading {
    QString title;
    QString path;
    QString artist;
    bool folder = false;  // the path names a folder: refused, title and path stay empty
};

// Title and artist from the ID3 version 1 tag at the end of an MP3 file; a field that the tag
// cut at 30 characters is taken whole from the file's ID3v2 tag where that begins with it.
// Without an ID3v1 tag: the ID3v2 or APE tag, else the file-name title; a file shorter than
// 256 bytes as ReadGeneric. A tag title the store cannot hold (see isUsableTitle) gives way to
// the file-name title.
FileReading ReadMp3Tag(const QString& path);

// Title from a tracker module's header (it, mod, xm, s3m, any letter case); for other audio
// files title and artist from their tags (Vorbis comments, MP4, APE, ID3v2 ... through TagLib;
// not for ".mp3" in any case, which is read by its name here); otherwise, or when the tag holds
// no usable title, the title from the file name. Folders are refused.
FileReading ReadGeneric(const QString& path);

// The name field of a module header (the first bytes of the file): "IMPM" (IT) 28 bytes at 4,
// "Extended Module: " (XM, any case) 20 bytes at 17, otherwise (MOD, S3M) the first 20 bytes.
QString moduleNameFromHeader(const QByteArray& header);

// Title and artist from the last 256 bytes of an MP3 file; false when they hold no tag marker.
bool titleFromTagBytes(const QByteArray& tail, QString& title, QString& artist);

}  // namespace marlo
