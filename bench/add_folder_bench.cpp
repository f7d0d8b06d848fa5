// Times one folder add through the item editor: "Add Dir" on a folder of media files into a
// fresh library. Usage: add_folder_bench <media folder> <data folder>. Prints the seconds and
// the number of items the collection then lists.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>

#include "base/Catalogue.h"
#include "library/CollectionFile.h"
#include "library/Editierform.h"
#include "library/KindListFile.h"
#include "library/LibrarySession.h"
#include "platform/Prompts.h"

namespace {

// The folder browser answers with the media folder; every message takes its default.
class BenchPrompts : public marlo::UnattendedPrompts {
  public:
    explicit BenchPrompts(QString folder) : UnattendedPrompts(true), folder_(std::move(folder)) {}
    QString folder(const QString&, const QString&) override { return folder_; }

  private:
    QString folder_;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc != 3) {
        std::fprintf(stderr, "usage: add_folder_bench <media folder> <data folder>\n");
        return 2;
    }
    const QString media = QString::fromLocal8Bit(argv[1]);
    const QString data = QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + '/';
    QDir().mkpath(data);
    marlo::KindListFile(data + "Audio.dat").append("Bench");

    BenchPrompts prompts(media);
    marlo::LibrarySession session(data, prompts);
    session.chooser.setKind(marlo::MediaKind::Audio);
    session.chooser.setText("Bench");
    marlo::Settings settings;
    marlo::Editierform form(session, settings);
    form.open(marlo::Editierform::Mode::NewItem);
    auto* actions = form.findChild<QComboBox*>("Combo2");

    QElapsedTimer timer;
    timer.start();
    emit actions->activated(1);  // "Add Dir"
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    QStringList titles;
    marlo::CollectionFile(session.currentCollectionPath()).read(titles);
    std::printf("seconds=%.3f items=%lld\n", seconds, static_cast<long long>(titles.size()));
    return titles.isEmpty() ? 1 : 0;
}
