// The least a Qt window can do while a module plays in Marlo: one label whose text changes every
// 150 ms, over a plain window, and nothing else. bench/playback_cpu.sh measures it beside Marlo
// and openmpt123, so the window's share of Marlo's CPU can be told from the player's.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char** argv) {
    // As Marlo runs.
    qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QWidget window;
    window.resize(360, 100);
    QLabel label(&window);
    label.setGeometry(207, 45, 113, 15);
    QFont font = label.font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    label.setFont(font);
    window.show();
    int row = 0;
    QTimer timer;
    timer.setInterval(150);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++row;
        label.setText(QStringLiteral("Patt. %1 - Row %2").arg(row / 64 + 1).arg(row % 64));
    });
    timer.start();
    return QApplication::exec();
}
