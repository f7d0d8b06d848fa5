#include "tests/support/CdImage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QtMath>
#include <algorithm>

#include "tests/support/AudioAnalysis.h"

namespace marlo::test {

QString writeToneImage(const QString& folder, int seconds) {
    QByteArray pcm;
    for (const double hz : {440.0, 880.0}) {
        for (int i = 0; i < 44100 * seconds; ++i) {
            const auto sample = static_cast<qint16>(8000 * std::sin(2 * M_PI * hz * i / 44100));
            for (int channel = 0; channel < 2; ++channel) {
                pcm.append(static_cast<char>(sample & 0xFF));
                pcm.append(static_cast<char>((sample >> 8) & 0xFF));
            }
        }
    }
    QFile bin(folder + QStringLiteral("/tones.bin"));
    if (!bin.open(QIODevice::WriteOnly) || bin.write(pcm) != pcm.size()) {
        return {};
    }
    QFile cue(folder + QStringLiteral("/tones.cue"));
    if (!cue.open(QIODevice::WriteOnly)) {
        return {};
    }
    cue.write(QStringLiteral("FILE \"tones.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                             "  TRACK 02 AUDIO\n    INDEX 01 00:%1:00\n")
                  .arg(seconds, 2, 10, QLatin1Char('0'))
                  .toLatin1());
    return cue.fileName();
}

SinkRecording::SinkRecording(const QString& wavPath) {
    if (!sound_.ok()) {
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    sound_.addTo(env);
    for (const char* name : {"XDG_RUNTIME_DIR", "PULSE_SERVER"}) {
        qputenv(name, env.value(QString::fromLatin1(name)).toLocal8Bit());
    }
    recorder_.setProcessEnvironment(env);
    recorder_.start(QStringLiteral("parecord"), {QStringLiteral("--device=test_sink.monitor"),
                                                 QStringLiteral("--file-format=wav"), wavPath});
    ok_ = recorder_.waitForStarted(5000);
    // The recorder needs a moment before it hears the sink.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

SinkRecording::~SinkRecording() {
    finish();
}

void SinkRecording::finish() {
    if (recorder_.state() != QProcess::NotRunning) {
        recorder_.terminate();
        recorder_.waitForFinished(5000);
    }
}

bool tonesHeardInOrder(const QString& wavPath, double first, double second, double seconds) {
    QList<double> heard;  // pitch of each loud tenth of a second, in order
    for (const AudioSlice& slice : analyseWav(wavPath, 0.1)) {
        if (slice.rms > 0.05) {
            heard << slice.frequency;
        }
    }
    const auto near = [](double hz, double target) { return std::abs(hz - target) < 40; };
    const auto count = [&](double target) {
        return std::count_if(heard.begin(), heard.end(),
                             [&](double hz) { return near(hz, target); });
    };
    const qsizetype firstSecond =
        std::find_if(heard.begin(), heard.end(), [&](double hz) { return near(hz, second); }) -
        heard.begin();
    const qsizetype lastFirst =
        heard.crend() -
        std::find_if(heard.crbegin(), heard.crend(), [&](double hz) { return near(hz, first); }) -
        1;
    const auto slices = static_cast<qsizetype>(seconds * 10);
    return count(first) >= slices && count(second) >= slices && lastFirst < firstSecond;
}

}  // namespace marlo::test
