#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "platform/media/FlacTail.h"

namespace marlo {
namespace {

QByteArray encodeFlac(const QTemporaryDir& dir, const QStringList& soxEffect,
                      const QStringList& flacOptions) {
    const QString wav = dir.filePath("in.wav");
    const QString flac = dir.filePath("out.flac");
    EXPECT_EQ(
        QProcess::execute(
            "sox", QStringList{"-D", "-n", "-r", "44100", "-c", "2", "-b", "16", wav} + soxEffect),
        0);
    EXPECT_EQ(QProcess::execute(
                  "flac", QStringList{"-s", "-f", "-o", flac} + flacOptions + QStringList{wav}),
              0);
    QFile file(flac);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The last frame of a whole file ends at its sample count, whatever the block size; a cut file's
// last frame found lies before the cut; noise, or a sync pattern alone, is no frame.
TEST(FlacTailTest, TheLastFrameIsFoundFromTheEnd) {
    QTemporaryDir dir;
    const QStringList sine{"synth", "7.0031", "sine", "440"};  // a short last frame
    for (const QStringList& options :
         {QStringList{}, QStringList{"--blocksize=1152"}, QStringList{"-8", "--blocksize=4608"}}) {
        const QByteArray whole = encodeFlac(dir, sine, options);
        QProcess metaflac;
        metaflac.start("metaflac", {"--show-total-samples", dir.filePath("out.flac")});
        ASSERT_TRUE(metaflac.waitForFinished(10000));
        const qint64 samples = metaflac.readAllStandardOutput().trimmed().toLongLong();
        ASSERT_GT(samples, 44100 * 7);
        const std::optional<FlacFrame> last = lastFlacFrame(whole.right(1 << 20));
        ASSERT_TRUE(last.has_value()) << options.join(' ').toStdString();
        EXPECT_EQ(last->start + last->samples, samples) << options.join(' ').toStdString();

        const std::optional<FlacFrame> cut = lastFlacFrame(whole.left(whole.size() * 2 / 3));
        ASSERT_TRUE(cut.has_value());
        EXPECT_GT(cut->start, 0);
        EXPECT_LT(cut->start + cut->samples, samples);
    }

    QByteArray noise(1 << 16, '\0');
    QRandomGenerator random(7);
    for (char& byte : noise) {
        byte = char(random.bounded(256));
    }
    EXPECT_FALSE(lastFlacFrame(noise).has_value());
    EXPECT_FALSE(lastFlacFrame(QByteArray("\xFF\xF8\x69\x08\x00\x00", 6)).has_value());
    EXPECT_FALSE(lastFlacFrame(QByteArray()).has_value());
}

}  // namespace
}  // namespace marlo
