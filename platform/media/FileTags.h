#pragma once

#include <QString>

namespace marlo {

// Title and artist of an audio file's tag, read through TagLib.
struct FileTags {
    QString title;
    QString artist;
    bool isEmpty() const { return title.isEmpty() && artist.isEmpty(); }
};

// The tags TagLib finds by the file's type: ID3v2 (then APE, then ID3v1) for MPEG audio, Vorbis
// comments for FLAC, Ogg Vorbis and Opus, MP4 atoms, APE tags, RIFF INFO ... Empty for a file
// without a tag, of a type TagLib does not know, or that it cannot read.
FileTags readFileTags(const QString& path);

// The ID3v2 tag of an MPEG audio file alone; empty without one.
FileTags readId3v2Tags(const QString& path);

}  // namespace marlo
