// A slideshow of large photos through the engine and the real picture viewer: 20 generated JPEGs
// of 4000 x 3000, full screen, one second apart. Prints the longest time the user-interface
// thread was blocked while the pictures changed (a 5 ms probe timer that should never wait long;
// a gap counts for a change when it begins within 300 ms of a slideshow tick), the same for the
// first picture (the window is made and mapped then) and between changes, each with the thread's
// CPU time in that gap (a long gap with little CPU was the scheduler, not Marlo), and the peak
// resident memory of the show (the picture generation before it is not counted).
//
//   slideshow_bench [pictures] [pause-seconds] [zoom]   (default 20 1; zoom 0 = full screen)
//
// Run it under a real X server (bench/slideshow.sh starts Xvfb) to count the window system's
// part; without DISPLAY it runs offscreen.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <ctime>

#include "app/PictureShow.h"
#include "base/Settings.h"
#include "library/LibrarySession.h"
#include "platform/ProgramFolders.h"
#include "platform/Prompts.h"
#include "platform/media/MediaDevice.h"
#include "platform/media/ModuleLibrary.h"
#include "platform/media/StreamingControl.h"
#include "player/DisplayModel.h"
#include "player/PlaybackEngine.h"
#include "viewers/DisplayPic.h"

using namespace marlo;

namespace {

constexpr int kProbeMs = 5;
// From a slideshow tick: the engine's step, the new picture's layout and paint, the next decode's
// start.
constexpr int kChangeWindowMs = 300;

// A photo-like picture: gradients, shapes and noise, so the JPEG is as large as a camera's.
void writePhoto(const QString& path, int seed) {
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 4000, 3000);
    sky.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 180, 230));
    sky.setColorAt(1, QColor::fromHsv((seed * 37 + 120) % 360, 200, 90));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(static_cast<quint32>(seed));
    for (int i = 0; i < 400; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 160, 200, 120));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(random.bounded(4000), random.bounded(3000), random.bounded(600),
                            random.bounded(600));
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = static_cast<int>(random.bounded(24)) - 12;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + n, 0, 255), std::clamp(qGreen(p) + n, 0, 255),
                           std::clamp(qBlue(p) + n, 0, 255));
        }
    }
    image.save(path, "JPEG", 90);
}

// CPU time of the calling thread: a long gap with little of it was the scheduler, not our work.
qint64 threadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

long statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(static_cast<int>(qstrlen(field)))
                .trimmed()
                .split(' ')
                .value(0)
                .toLong();
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int pictures = argc > 1 ? std::max(2, atoi(argv[1])) : 20;
    const int pause = argc > 2 ? std::max(1, atoi(argv[2])) : 1;
    const int zoom = argc > 3 ? std::max(0, atoi(argv[3])) : 0;

    QTemporaryDir dir;
    const ProgramFolders folders = ProgramFolders::at(dir.path());
    QDir().mkpath(folders.data);
    QDir().mkpath(dir.path() + "/photos");
    UnattendedPrompts prompts;
    LibrarySession session(folders.data, prompts);
    session.chooser.setKind(MediaKind::Pictures);
    QElapsedTimer making;
    making.start();
    for (int i = 0; i < pictures; ++i) {
        const QString title = QStringLiteral("Photo %1").arg(i + 1, 2, 10, QLatin1Char('0'));
        const QString path = dir.path() + "/photos/" + title + ".jpg";
        writePhoto(path, i);
        session.store.putItemRecord({MediaKind::Pictures, title, path, {}, {}});
        session.playback.append(title);
    }
    session.store.commit();
    std::fprintf(stderr, "made %d photos of 4000x3000 in %.1f s (%lld bytes the first)\n", pictures,
                 making.elapsed() / 1000.0,
                 static_cast<long long>(QFileInfo(dir.path() + "/photos/Photo 01.jpg").size()));

    Settings settings;
    settings.setOption(option::kSlideshowPause, 1);
    settings.slideshowPause = static_cast<int16_t>(pause);
    settings.setOption(option::kRepeatAll, 1);
    if (zoom > 0) {
        settings.setOption(option::kPictureZoom, 1);
        settings.pictureZoom = static_cast<int16_t>(zoom);
    } else {
        settings.setOption(option::kPicturesFullscreen, 1);
    }
    DisplayModel display;
    auto audio = createFileMediaDevice();
    auto streaming = createStreamingControl();
    auto modules = createModuleLibrary();
    PlaybackEngine engine(EngineLibrary::of(session), settings, {*audio, *streaming, *modules},
                          display, folders.program + "Extracted");
    PictureShow show(
        engine, session, settings, [] {}, [](int) {});
    engine.setRoutes(nullptr, nullptr, &show);

    // The making of the photos is not part of the show.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) {
        clear.write("5");
        clear.close();
    }
    const long rssBeforeKb = statusKb("VmRSS:");

    int shown = 0;
    int failed = 0;
    double maxBlockMs = 0;
    double firstShowMs = 0;
    QElapsedTimer clock;
    qint64 lastProbeNs = 0;
    // Up to the first tick the window is made and shown for the first time; from then on
    // pictures change.
    bool changing = false;
    double startBlockMs = 0;
    double otherBlockMs = 0;
    double otherBlockCpuMs = 0;
    qint64 lastTickNs = 0;
    double maxBlockCpuMs = 0;
    double startBlockCpuMs = 0;
    qint64 lastProbeCpuNs = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(kProbeMs);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const qint64 cpu = threadCpuNs();
        {
            const double block = (now - lastProbeNs) / 1e6 - kProbeMs;
            const double blockCpu = (cpu - lastProbeCpuNs) / 1e6;
            // A gap that began within kChangeWindowMs of a tick belongs to a picture change.
            const bool inChange = changing && lastProbeNs - lastTickNs < kChangeWindowMs * 1000000;
            double& worst = !changing ? startBlockMs : inChange ? maxBlockMs : otherBlockMs;
            worst = std::max(worst, block);
            double& worstCpu = !changing  ? startBlockCpuMs
                               : inChange ? maxBlockCpuMs
                                          : otherBlockCpuMs;
            worstCpu = std::max(worstCpu, blockCpu);
            if (block > 20 && qEnvironmentVariableIsSet("SLIDESHOW_TRACE")) {
                std::fprintf(stderr, "block %.1f ms (%.1f ms CPU) at %.3f s\n", block,
                             (cpu - lastProbeCpuNs) / 1e6, now / 1e9);
            }
        }
        lastProbeNs = now;
        lastProbeCpuNs = cpu;
    });

    clock.start();
    probe.start();
    lastProbeNs = clock.nsecsElapsed();
    lastProbeCpuNs = threadCpuNs();
    engine.beginPlayback();
    DisplayPic* viewer = show.viewer();
    QObject::connect(viewer, &DisplayPic::pictureShown, [&] {
        if (qEnvironmentVariableIsSet("SLIDESHOW_TRACE")) {
            std::fprintf(stderr, "shown at %.3f s\n", clock.nsecsElapsed() / 1e9);
        }
        if (shown == 0) {
            firstShowMs = clock.nsecsElapsed() / 1e6;
        }
        if (++shown > pictures) {
            app.quit();
        }
    });
    QObject::connect(viewer, &DisplayPic::pictureFailed, [&] { ++failed; });
    QObject::connect(viewer, &DisplayPic::slideshowTick, [&] {
        changing = true;
        lastTickNs = clock.nsecsElapsed();
    });
    QTimer::singleShot((pictures + 5) * pause * 1000 + 10000, &app, [&] { app.quit(); });
    app.exec();
    probe.stop();
    const long peakKb = statusKb("VmHWM:");

    std::printf("slideshow_pictures_shown=%d\n", shown);
    std::printf("slideshow_pictures_failed=%d\n", failed);
    std::printf("slideshow_first_show_ms=%.1f\n", firstShowMs);
    std::printf("slideshow_first_show_block_ms=%.1f\n", startBlockMs);
    std::printf("slideshow_first_show_block_cpu_ms=%.1f\n", startBlockCpuMs);
    std::printf("slideshow_max_block_ms=%.1f\n", maxBlockMs);
    std::printf("slideshow_max_block_cpu_ms=%.1f\n", maxBlockCpuMs);
    std::printf("slideshow_between_changes_block_ms=%.1f\n", otherBlockMs);
    std::printf("slideshow_between_changes_block_cpu_ms=%.1f\n", otherBlockCpuMs);
    std::printf("slideshow_rss_before_mb=%.1f\n", rssBeforeKb / 1024.0);
    std::printf("slideshow_peak_rss_mb=%.1f\n", peakKb / 1024.0);
    return shown > pictures && failed == 0 ? 0 : 1;
}
