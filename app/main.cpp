#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QTimer>
#include <clocale>

#include "app/CompositionRoot.h"
#include "app/DesktopLink.h"
#include "app/Marlo.h"
#include "desktop/CommandLineFiles.h"
#include "desktop/SingleInstance.h"
#include "platform/ProgramFolders.h"
#include "platform/Prompts.h"

int main(int argc, char** argv) {
    // The player repaints a small label several times a second. Through shared memory each
    // repaint first waits on a round trip to the X server; sending the few changed pixels over
    // the socket instead took about a tenth less CPU over a playing module. The user's own
    // choice stands.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    // Skins are bitmaps: whole-number scale factors keep every pixel a clean block.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marlo"));
    // The media player core refuses to start under a locale with a decimal comma.
    std::setlocale(LC_NUMERIC, "C");

    // Files on the command line go to the Marlo already running, if there is one; this start
    // then ends. Without a session bus every start is a player of its own.
    const QStringList arguments = QCoreApplication::arguments();
    const QStringList files = marlo::commandLineFiles(arguments, QDir::currentPath());
    // MARLO_NO_DESKTOP_BUS leaves the session bus alone: what the desktop parts cost at start
    // is measured against it (bench/startup.sh).
    const bool desktopBus = !qEnvironmentVariableIsSet("MARLO_NO_DESKTOP_BUS");
    marlo::SingleInstance instance(desktopBus ? QDBusConnection::sessionBus()
                                              : QDBusConnection(QString()));
    if (instance.claimOrHandOff(files) == marlo::SingleInstance::Role::HandedOff) {
        return 0;
    }

    const auto folders = marlo::ProgramFolders::discover(QCoreApplication::applicationDirPath());
    marlo::QtPrompts prompts;
    marlo::CompositionRoot root(folders, prompts);
    // "--cd-device PATH": the CD drive or CUE sheet CD lists play from.
    const qsizetype cdOption = arguments.indexOf(QStringLiteral("--cd-device"));
    if (cdOption > 0 && cdOption + 1 < arguments.size()) {
        root.setCdSource(arguments.at(cdOption + 1));
    }
    marlo::Marlo& window = root.window();
    prompts.setParent(&window);
    marlo::DesktopLink link(root);
    // Files arriving while start-up still asks its questions wait until the library is there.
    QStringList waiting = files;
    bool started = false;
    QObject::connect(&instance, &marlo::SingleInstance::filesArrived, &window,
                     [&](const QStringList& paths) {
                         link.raise();
                         if (started) {
                             link.open(paths);
                         } else {
                             waiting << paths;
                         }
                     });
    window.load();
    window.present();
    started = true;
    marlo::Mpris mpris(link);
    if (desktopBus) {
        mpris.publish(QDBusConnection::sessionBus());
    }
    if (!waiting.isEmpty()) {
        QTimer::singleShot(0, &window, [&] { root.dropFiles(std::exchange(waiting, {})); });
    }
    return QApplication::exec();
}
