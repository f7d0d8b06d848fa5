#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <cmath>

#include "desktop/Mpris.h"
#include "library/CollectionEditor.h"
#include "platform/media/OutputVolume.h"
#include "tests/desktop/MprisTestHost.h"
#include "tests/player/EngineFixture.h"
#include "tests/support/SessionBus.h"

namespace marlo::test {
namespace {

constexpr const char* kPlayer = "org.mpris.MediaPlayer2.Player";

// A disc of two tracks that plays as soon as asked.
class FakeCd : public CdRoute {
  public:
    bool start(const QString&, bool) override { return true; }
    qint64 length() const override { return 3000; }
    void pause() override {}
    void resume() override {}
    void stop(bool) override {}
    void release() override {}
    void seek(double) override {}
    bool discPresent() override { return true; }
    int trackCount() const override { return 2; }
    QString discId() const override { return QStringLiteral("1302f603"); }
    void selectTrack(int) override {}
    void trackChanged(int) override {}
};

// What the bus sends of the player's property changes.
class ChangeLog : public QObject {
    Q_OBJECT
  public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;
  public slots:
    void seeked(qlonglong positionUs) { seeks << positionUs; }
    void changed(const QString&, const QVariantMap& properties, const QStringList&) {
        changes << properties;
    }
};

class MprisTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        ASSERT_TRUE(bus.ok());
        ASSERT_TRUE(mpris.publish(QDBusConnection::connectToBus(bus.address(), "marlo")));
        ASSERT_TRUE(caller.connect(Mpris::kService, Mpris::kPath, "org.freedesktop.DBus.Properties",
                                   "PropertiesChanged", &log,
                                   SLOT(changed(QString, QVariantMap, QStringList))));
        ASSERT_TRUE(caller.connect(Mpris::kService, Mpris::kPath, kPlayer, "Seeked", &log,
                                   SLOT(seeked(qlonglong))));
    }
    void TearDown() override {
        OutputVolume::instance().setLevel(1.0);
        EngineFixture::TearDown();
    }

    QDBusMessage call(const QString& method, const QVariantList& args) {
        QDBusMessage m = QDBusMessage::createMethodCall(Mpris::kService, Mpris::kPath,
                                                        "org.freedesktop.DBus.Properties", method);
        m.setArguments(args);
        return caller.call(m, QDBus::BlockWithGui, 3000);
    }
    QDBusMessage setVolume(const QVariant& value) {
        return call("Set", {kPlayer, "Volume", QVariant::fromValue(QDBusVariant(value))});
    }
    QVariant get(const QString& property) {
        const QDBusMessage reply = call("Get", {kPlayer, property});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    // The last value the bus announced for a property.
    QVariant announced(const QString& property) {
        get("Volume");  // the player's signals come before its answer
        settle();
        for (qsizetype i = log.changes.size() - 1; i >= 0; --i) {
            if (log.changes[i].contains(property)) {
                return log.changes[i].value(property);
            }
        }
        return {};
    }

    SessionBus bus;
    MprisTestHost host{engine, display, *session};
    Mpris mpris{host};
    QDBusConnection caller = QDBusConnection::connectToBus(bus.address(), "caller");
    ChangeLog log;
};

TEST_F(MprisTest, VolumeIsKeptInRangeIgnoresWhatIsNoNumberAndIsAnnounced) {
    EXPECT_EQ(get("Volume").toDouble(), 1.0);
    EXPECT_EQ(setVolume(0.25).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(OutputVolume::level(), 0.25);
    EXPECT_EQ(get("Volume").toDouble(), 0.25);
    EXPECT_EQ(announced("Volume").toDouble(), 0.25);

    setVolume(7.0);
    EXPECT_EQ(OutputVolume::level(), 1.0);
    setVolume(-3.0);
    EXPECT_EQ(OutputVolume::level(), 0.0);
    EXPECT_EQ(announced("Volume").toDouble(), 0.0);

    setVolume(std::nan(""));
    EXPECT_EQ(setVolume(QStringLiteral("loud")).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(OutputVolume::level(), 0.0);
}

TEST_F(MprisTest, ACdTrackNamesTheAlbumOfItsDisc) {
    FakeCd cd;
    engine.setRoutes(&cd, nullptr, nullptr);
    session->chooser.setKind(MediaKind::CdAudio);
    session->store.putCdInfoRecord(cd.discId(), "Tones", {{"Low", "Osc"}, {"High", "Osc"}});
    ASSERT_TRUE(session->store.commit());
    CollectionEditor(*session, {}).listCdTracks(2, session->store.ReadCdInfo(cd.discId(), 2));
    select(1);
    engine.play();
    ASSERT_TRUE(engine.state().playing);

    const auto metadata = qdbus_cast<QVariantMap>(announced("Metadata").value<QDBusArgument>());

    EXPECT_EQ(metadata.value("xesam:album").toString(), "Tones");
    EXPECT_EQ(metadata.value("xesam:title").toString(), "High");
    EXPECT_EQ(metadata.value("xesam:artist").toStringList(), QStringList{"Osc"});
}

TEST_F(MprisTest, SeeksAreAnnouncedAndTheTransportPropertiesFollowThePlayer) {
    audio.fileLength = 60'000;
    addItem("A", "a.wav");
    addItem("B", "b.wav");
    EXPECT_FALSE(get("CanSeek").toBool());
    select(0);
    engine.play();
    EXPECT_EQ(announced("PlaybackStatus").toString(), "Playing");
    EXPECT_TRUE(announced("CanSeek").toBool());
    EXPECT_TRUE(get("CanGoNext").toBool());

    const auto setPosition = [&](const QString& track, qlonglong us) {
        QDBusMessage m =
            QDBusMessage::createMethodCall(Mpris::kService, Mpris::kPath, kPlayer, "SetPosition");
        m << QVariant::fromValue(QDBusObjectPath(track)) << us;
        return caller.call(m, QDBus::BlockWithGui, 3000).type();
    };
    const QString track = mpris.trackId().path();
    EXPECT_EQ(setPosition(track, 15'000'000), QDBusMessage::ReplyMessage);
    EXPECT_EQ(audio.log.mid(audio.log.size() - 2), QStringList({"from=15000", "play"}));
    EXPECT_EQ(setPosition(track, -1), QDBusMessage::ErrorMessage);
    EXPECT_EQ(setPosition("/org/marlo/Marlo/Track/0", 1'000'000), QDBusMessage::ErrorMessage);
    announced("Volume");  // the signals sent so far have arrived
    EXPECT_EQ(log.seeks, QList<qlonglong>{15'000'000});
    engine.seek(0.5);  // the window's position bar
    announced("Volume");
    EXPECT_EQ(log.seeks, (QList<qlonglong>{15'000'000, 30'000'000}));

    // Position is where the device is now, not the last poll's place; the display's when the
    // host cannot tell, and never beyond the item.
    host.heard = 15'250;
    EXPECT_EQ(get("Position").toLongLong(), 15'250'000);
    host.heard = 90'000;
    EXPECT_EQ(get("Position").toLongLong(), 60'000'000);
    host.heard.reset();
    engine.showElapsed(45'000);  // as the device reports it
    EXPECT_EQ(get("Position").toLongLong(), 45'000'000);

    engine.next();  // the last entry
    EXPECT_EQ(announced("CanGoNext"), false);
    engine.stop();
    EXPECT_EQ(announced("PlaybackStatus").toString(), "Stopped");
    EXPECT_FALSE(announced("CanSeek").toBool());
}

}  // namespace
}  // namespace marlo::test

#include "MprisTest.moc"
