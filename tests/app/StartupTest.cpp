#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/Startup.h"
#include "app/StartupHost.h"
#include "base/SettingsFile.h"
#include "platform/Twips.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// Records what start-up asks of the windows, in order.
class RecordingHost : public StartupHost, public ShutdownHost {
  public:
    QStringList calls;
    UiLanguage chosen = UiLanguage::German;
    bool chooserCloses = false;  // closed without a choice
    QStringList skins;
    int selectedSkin = -2;
    QString title;
    QString readme;
    QStringList cdServers;

    UiLanguage chooseLanguage(UiLanguage current) override {
        calls << QStringLiteral("chooser");
        return chooserCloses ? current : chosen;
    }
    void fillServerLists(const QStringList& cd, const QStringList& lyrics) override {
        cdServers = cd;
        calls << QStringLiteral("servers:%1+%2").arg(cd.size()).arg(lyrics.size());
    }
    void sizeToBackground() override { calls << QStringLiteral("size"); }
    QSize windowSize() const override { return {360, 110}; }
    QRect screenGeometry() const override { return {0, 0, 1024, 768}; }
    void moveWindowTwips(float left, float top) override {
        calls << QStringLiteral("move:%1,%2").arg(left).arg(top);
    }
    void setSkinList(const QStringList& names, int selected) override {
        skins = names;
        selectedSkin = selected;
        calls << QStringLiteral("skins");
    }
    void setZoomFieldEnabled(bool enabled) override {
        calls << QStringLiteral("zoomfield:%1").arg(enabled);
    }
    void applySkin() override { calls << QStringLiteral("applySkin"); }
    void showInitialImages() override { calls << QStringLiteral("images"); }
    void hideModuleVolumeBars() override { calls << QStringLiteral("hideVolume"); }
    void setTitleText(const QString& text) override {
        title = text;
        calls << QStringLiteral("title");
    }
    void applyEnglishCaptions() override { calls << QStringLiteral("english"); }
    void minimise() override { calls << QStringLiteral("minimise"); }
    void openReadme(const QString& path) override {
        readme = path;
        calls << QStringLiteral("readme");
    }
    void loadCollectionEditor(bool restore) override {
        calls << QStringLiteral("editor:%1").arg(restore);
    }
    void stopPlayback() override { calls << QStringLiteral("stop"); }
    void deleteExtractedMember() override { calls << QStringLiteral("deleteMember"); }
    void unloadOtherWindows() override { calls << QStringLiteral("unload"); }
    void releaseWindowShape() override { calls << QStringLiteral("release"); }
};

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { Catalogue::setLanguage(UiLanguage::German); }
    void TearDown() override { Catalogue::setLanguage(UiLanguage::German); }

    Startup::Outcome run() { return Startup(tmp.folders(), settings, prompts, host).run(); }

    test::TempProgramFolder tmp;
    Settings settings;
    test::ScriptedPrompts prompts;
    RecordingHost host;
};

QString centredMove() {
    // (1024 - 360) / 2 = 332, (768 - 110) / 2 = 329 pixels.
    return QStringLiteral("move:%1,%2").arg(332 * 15).arg(329 * 15);
}

TEST_F(StartupTest, FirstRunWithoutDataFolderInBothLanguages) {
    struct Case {
        UiLanguage chosen;
        const char* title;
        const char* text;
        const char* titleLabel;
    };
    const Case cases[] = {
        {UiLanguage::English, "New databank", "A new database will be created!", "No file to play"},
        {UiLanguage::German, "Neue Datenbank", "Neue Datenbank wird erstellt!",
         "Kein Titel in der Abspielliste"},
    };
    for (const Case& c : cases) {
        test::TempProgramFolder fresh;
        Settings s;
        test::ScriptedPrompts p;
        RecordingHost h;
        h.chosen = c.chosen;
        Catalogue::setLanguage(UiLanguage::German);
        EXPECT_EQ(Startup(fresh.folders(), s, p, h).run(), Startup::Outcome::FirstRun);

        ASSERT_EQ(p.shown.size(), 1);
        EXPECT_EQ(p.shown[0].title, QString::fromUtf8(c.title));
        EXPECT_EQ(p.shown[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(p.shown[0].icon, PromptIcon::Information);
        EXPECT_TRUE(QDir(fresh.data()).exists());
        EXPECT_EQ(h.title, QString::fromUtf8(c.titleLabel));
        EXPECT_EQ(s.language, c.chosen);
        EXPECT_EQ(h.readme, fresh.program() + "readme.txt");

        QStringList expected{QStringLiteral("size"),    QStringLiteral("servers:17+1"),
                             QStringLiteral("chooser"), centredMove(),
                             QStringLiteral("skins"),   QStringLiteral("applySkin"),
                             QStringLiteral("images"),  QStringLiteral("hideVolume"),
                             QStringLiteral("title")};
        if (c.chosen == UiLanguage::English) {
            expected << QStringLiteral("english");
        }
        expected << QStringLiteral("readme") << QStringLiteral("editor:0");
        EXPECT_EQ(h.calls, expected);

        // Options 12 and 15 only; the window position is the centred one.
        for (int opt = 1; opt <= option::kCount; ++opt) {
            EXPECT_EQ(s.option(opt), opt == 12 || opt == 15 ? 1 : 0) << opt;
        }
        EXPECT_EQ(s.windowLeft, 332 * 15);
        EXPECT_EQ(s.skinName, QStringLiteral("Standard"));
        EXPECT_EQ(h.skins, Startup::defaultSkinNames());
        EXPECT_EQ(h.selectedSkin, 1);
    }
}

TEST_F(StartupTest, FirstRunWithDataFolderButNoStore) {
    tmp.makeData();
    test::writeFile(tmp.data() + "aRock.dat", "Song\r\n");
    run();
    ASSERT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Neue Datenbank wird erstellt!")});
    EXPECT_EQ(test::readFile(tmp.data() + "aRock.dat"), "Song\r\n");
}

TEST_F(StartupTest, FirstRunWithStoreShowsNoMessage) {
    test::writeFile(tmp.data() + "Marlo.zip", "PK\x05\x06" + QByteArray(18, '\0'));
    run();
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(host.calls.count(QStringLiteral("chooser")), 1);
}

TEST_F(StartupTest, ChooserClosedWithoutChoiceKeepsGerman) {
    host.chooserCloses = true;
    run();
    EXPECT_EQ(settings.language, UiLanguage::German);
    EXPECT_EQ(prompts.messageTitles(), QStringList{QStringLiteral("Neue Datenbank")});
}

TEST_F(StartupTest, WritesTheDefaultSkinFiles) {
    run();
    const QString p = tmp.program();
    const QByteArray skins = test::readFile(p + "Skins.ini");
    EXPECT_TRUE(skins.startsWith("[All Controls]\r\nMinibut=270,380\r\nNextbut=4210,920\r\n"));
    EXPECT_TRUE(skins.contains("\r\nSize=8\r\n[Vantel's Design]\r\nBackground=" + p.toUtf8() +
                               "Bilder/Vantel/Background2.bmp\r\n"));
    EXPECT_TRUE(skins.endsWith("Functions=" + p.toUtf8() + "Bilder/Corro/Function.bmp\r\n"));
    EXPECT_EQ(skins.count("\r\n"), 30);  // 3 headers and 27 keys
    EXPECT_EQ(test::readFile(p + "SkinName.ini"), "Vantel's Design\r\nStandard\r\n");
}

TEST_F(StartupTest, NewConfigurationKeepsImportedSkinsListed) {
    test::writeFile(tmp.program() + "SkinName.ini", "Vantel's Design\r\nStandard\r\nMy Import\r\n");
    test::writeFile(tmp.program() + "Skins.ini", "[My Import]\r\nBackground=x.bmp\r\n");
    run();
    EXPECT_EQ(test::readFile(tmp.program() + "SkinName.ini"),
              "Vantel's Design\r\nStandard\r\nMy Import\r\n");
    EXPECT_TRUE(test::readFile(tmp.program() + "Skins.ini").startsWith("[My Import]\r\n"));
}

void writeGoodConfig(const test::TempProgramFolder& tmp, const char* language, int lines = 24) {
    const char* all[] = {
        "0", "0",     "4", "6", "0", "120", "1500", "3000", "0|1", "12", "1",
        "1", "1",     "0", "0", "0", "",    "",     "",     "0",   "0",  "vantel's design",
        "",  language};
    QByteArray bytes;
    for (int i = 0; i < lines; ++i) {
        bytes += QByteArray(all[i]) + "\r\n";
    }
    test::writeFile(tmp.program() + "Set.cfg", bytes);
    test::writeFile(tmp.program() + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
}

TEST_F(StartupTest, NormalStartInTheSavedOrder) {
    writeGoodConfig(tmp, "True");
    EXPECT_EQ(run(), Startup::Outcome::Normal);
    EXPECT_TRUE(prompts.shown.isEmpty());
    const QStringList expected{QStringLiteral("size"),           QStringLiteral("servers:17+1"),
                               QStringLiteral("move:1500,3000"), QStringLiteral("skins"),
                               QStringLiteral("zoomfield:1"),    QStringLiteral("applySkin"),
                               QStringLiteral("images"),         QStringLiteral("english"),
                               QStringLiteral("minimise"),       QStringLiteral("editor:1")};
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(host.selectedSkin, 0);  // found without regard to case
    EXPECT_EQ(Catalogue::language(), UiLanguage::English);
}

TEST_F(StartupTest, WindowSavedOffTheScreenComesBack) {
    writeGoodConfig(tmp, "False");
    QByteArray bytes = test::readFile(tmp.program() + "Set.cfg");
    bytes.replace("1500\r\n3000\r\n", "60000\r\n-9000\r\n");
    test::writeFile(tmp.program() + "Set.cfg", bytes);
    run();
    EXPECT_TRUE(host.calls.contains(centredMove()));
    EXPECT_EQ(settings.windowLeft, 332 * 15);
}

TEST_F(StartupTest, GermanLineGivesNoCaptionSwitch) {
    writeGoodConfig(tmp, "False");
    run();
    EXPECT_FALSE(host.calls.contains(QStringLiteral("english")));
    EXPECT_EQ(Catalogue::language(), UiLanguage::German);
}

TEST_F(StartupTest, DamagedFileSaysSoInGermanThenAsks) {
    writeGoodConfig(tmp, "True", 23);
    const QByteArray damaged = test::readFile(tmp.program() + "Set.cfg");
    host.chosen = UiLanguage::English;
    EXPECT_EQ(run(), Startup::Outcome::Damaged);

    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Fehler"));
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Achtung, Konfigurationsdatei beschädigt! Lege neue Datei an."));
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Information);
    // The chooser comes after the message; the next message is in the chosen language.
    EXPECT_EQ(host.calls.indexOf(QStringLiteral("chooser")), 2);
    EXPECT_EQ(prompts.shown[1].text, QStringLiteral("A new database will be created!"));
    // Values read before the damage stay; the defaults are laid on top.
    EXPECT_EQ(settings.videoZoom, 120);
    EXPECT_EQ(settings.option(option::kFilterAuto), 1);
    EXPECT_EQ(settings.option(option::kRepeatAll), 1);
    // The user's file is kept beside the one that will replace it.
    EXPECT_EQ(test::readFile(tmp.program() + "Set.cfg.damaged"), damaged);
}

TEST_F(StartupTest, MissingSkinListCountsAsDamagedInTheReadLanguage) {
    writeGoodConfig(tmp, "True");
    QFile::remove(tmp.program() + "SkinName.ini");
    EXPECT_EQ(run(), Startup::Outcome::Damaged);
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(
        prompts.shown[0].text,
        QStringLiteral("Configuration file damaged! New configuration file will be created."));
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Error"));
}

TEST_F(StartupTest, ShutdownWritesTheConfigurationThenUnloads) {
    settings.skinName = QStringLiteral("Standard");
    EXPECT_TRUE(runShutdown(tmp.folders(), settings, prompts, host));
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("stop"), QStringLiteral("deleteMember"),
                                       QStringLiteral("unload"), QStringLiteral("release")}));
    EXPECT_EQ(test::readFile(tmp.program() + "Set.cfg"), SettingsFile::serialize(settings));
}

TEST_F(StartupTest, ShutdownWriteErrorIsToldAndTheProgramStillEnds) {
    // A folder where the file should be makes the write fail.
    QDir().mkpath(tmp.program() + "Set.cfg");
    Catalogue::setLanguage(UiLanguage::English);
    EXPECT_FALSE(runShutdown(tmp.folders(), settings, prompts, host));
    // The other windows are unloaded all the same: one left shown would keep the program on.
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("stop"), QStringLiteral("deleteMember"),
                                       QStringLiteral("unload"), QStringLiteral("release")}));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("An error ocurred while writing the config file!"));
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Error"));
    EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::Ok);
}

TEST_F(StartupTest, AnyBytesInTheConfigurationFiles) {
    quint32 seed = 99;
    auto noise = [&](int n) {
        QByteArray b(n, '\0');
        for (char& c : b) {
            seed = seed * 1664525U + 1013904223U;
            c = static_cast<char>(seed >> 24);
        }
        return b;
    };
    for (int round = 0; round < 12; ++round) {
        test::TempProgramFolder t;
        test::writeFile(t.program() + "Set.cfg", noise(round * 13));
        test::writeFile(t.program() + "SkinName.ini", noise(round * 5));
        test::writeFile(t.program() + "Skins.ini", noise(round * 11));
        Settings s;
        test::ScriptedPrompts p;
        RecordingHost h;
        const auto outcome = Startup(t.folders(), s, p, h).run();
        EXPECT_NE(outcome, Startup::Outcome::FirstRun);
        EXPECT_TRUE(h.calls.contains(QStringLiteral("editor:0")) ||
                    h.calls.contains(QStringLiteral("editor:1")));
        if (outcome == Startup::Outcome::Damaged) {
            EXPECT_TRUE(QFile::exists(t.program() + "Set.cfg.damaged"));
        }
    }
}

}  // namespace
}  // namespace marlo
