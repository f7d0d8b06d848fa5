#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QSignalSpy>

#include "desktop/CommandLineFiles.h"
#include "desktop/SingleInstance.h"
#include "tests/support/SessionBus.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

TEST(CommandLineFiles, PathsMadeAbsoluteFoldersOpenedOptionsLeftOut) {
    test::TempProgramFolder tmp;
    const QString root = tmp.program();
    test::writeFile(root + "music/b.MP3", "x");
    test::writeFile(root + "music/a.wav", "x");
    test::writeFile(root + "music/sub/c.xm", "x");
    test::writeFile(root + "music/notes.txt", "x");
    const QStringList files =
        commandLineFiles({"marlo", "--cd-device", "/dev/sr1", "x.zip", "music/",
                          "file://" + root + "y%20z.mid", "./gone.wav"},
                         root);
    EXPECT_EQ(files, (QStringList{root + "x.zip", root + "music/a.wav", root + "music/b.MP3",
                                  root + "music/sub/c.xm", root + "y z.mid", root + "gone.wav"}));
}

class SingleInstanceTest : public ::testing::Test {
  protected:
    QDBusConnection connect(const QString& name) {
        return QDBusConnection::connectToBus(bus.address(), name);
    }
    test::SessionBus bus;
};

TEST_F(SingleInstanceTest, TheSecondStartHandsItsFilesToTheFirst) {
    ASSERT_TRUE(bus.ok());
    SingleInstance first(connect("first"));
    ASSERT_EQ(first.claimOrHandOff({}), SingleInstance::Role::First);
    QSignalSpy arrived(&first, &SingleInstance::filesArrived);

    SingleInstance second(connect("second"));
    EXPECT_EQ(second.claimOrHandOff({"/m/a.wav", "/m/b.xm"}), SingleInstance::Role::HandedOff);
    ASSERT_EQ(arrived.size(), 1);
    EXPECT_EQ(arrived[0][0].toStringList(), (QStringList{"/m/a.wav", "/m/b.xm"}));

    // Callers other than Marlo: wrong types, relative or overlong paths get an error and
    // change nothing.
    QDBusConnection other = connect("other");
    const auto call = [&](const QVariant& argument) {
        QDBusMessage m = QDBusMessage::createMethodCall(
            SingleInstance::kService, SingleInstance::kPath, SingleInstance::kService, "Open");
        m << argument;
        return other.call(m, QDBus::BlockWithGui, 2000).type();
    };
    EXPECT_EQ(call(42), QDBusMessage::ErrorMessage);
    EXPECT_EQ(call(QStringList{"relative.wav"}), QDBusMessage::ErrorMessage);
    EXPECT_EQ(call(QStringList{"/" + QString(100000, 'x')}), QDBusMessage::ErrorMessage);
    EXPECT_EQ(arrived.size(), 1);
}

TEST(SingleInstance, WithoutASessionBusEveryStartIsAlone) {
    SingleInstance lone(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                      QStringLiteral("none")));
    EXPECT_EQ(lone.claimOrHandOff({"/m/a.wav"}), SingleInstance::Role::Alone);
}

}  // namespace
}  // namespace marlo
