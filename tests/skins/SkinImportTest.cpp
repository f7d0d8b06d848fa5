#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/Catalogue.h"
#include "platform/IniFile.h"
#include "skins/SkinLoader.h"
#include "skins/SkinRegister.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

class SkinImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // What a fresh setup leaves.
        skins.writeDefaults();
        list = SkinRegister::defaultSkinNames();
        ASSERT_TRUE(skins.writeSkinList(list));
    }
    // A design file the import takes: its [General] section names the background.
    QString designFile(const QString& relative,
                       const QByteArray& content = "[General]\r\nBitmap=back.bmp\r\n") const {
        const QString path = tmp.program() + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    QByteArray registerBytes() const {
        return test::readFile(SkinLoader::registerPath(tmp.program()));
    }

    test::TempProgramFolder tmp;
    test::ScriptedPrompts prompts;
    SkinRegister skins{tmp.program(), prompts};
    QStringList list;
};

TEST_F(SkinImportTest, ImportingTwiceRegistersOnce) {
    const QString path = designFile("A/B/Ocean.design");
    const YampImport::Result first = YampImport::run(path, QColor(0x10, 0x20, 0x30), skins, list);
    EXPECT_TRUE(first.registered);
    EXPECT_EQ(first.name, "Ocean");
    EXPECT_EQ(first.listIndex, 2);
    const IniFile reg(SkinLoader::registerPath(tmp.program()));
    EXPECT_EQ(reg.read("Ocean", "DesignPath", {}), path);
    EXPECT_EQ(reg.read("Ocean", "Task", {}), QString::number(0x302010));  // 0x00BBGGRR

    const QByteArray afterFirst = registerBytes();
    const YampImport::Result second =
        YampImport::run(R"(D:\Elsewhere\Ocean.v2.design)", Qt::black, skins, list);
    EXPECT_FALSE(second.registered);
    EXPECT_EQ(second.name, "Ocean");
    EXPECT_EQ(second.listIndex, 2);
    EXPECT_EQ(registerBytes(), afterFirst);  // the first registration stays
    EXPECT_EQ(list, QStringList({"Vantel's Design", "Standard", "Ocean"}));
    EXPECT_EQ(test::readFile(SkinLoader::skinListPath(tmp.program())),
              "Vantel's Design\r\nStandard\r\nOcean\r\n");
}

TEST_F(SkinImportTest, NameOfAStripSkinSelectsThatSkin) {
    const QByteArray before = registerBytes();
    const YampImport::Result result =
        YampImport::run("/home/me/skins/Standard.design", Qt::black, skins, list);
    EXPECT_FALSE(result.registered);
    EXPECT_EQ(result.listIndex, 1);
    EXPECT_EQ(registerBytes(), before);
    EXPECT_EQ(test::readFile(SkinLoader::skinListPath(tmp.program())),
              "Vantel's Design\r\nStandard\r\n");
    // The comparison is exact: another letter case is another skin.
    EXPECT_TRUE(
        YampImport::run(designFile("x/standard.design"), Qt::black, skins, list).registered);
}

// A file the skins cannot be read from is refused with its reason; register and list stay.
TEST_F(SkinImportTest, FileThatIsNoDesignRegistersNothing) {
    const struct {
        const char* file;
        const char* content;  // null: no file at all
        const char* reason;
    } rows[] = {
        {"gone/Ocean.design", nullptr, "cannot be read"},
        {"skins/Empty.design", "", "[General]"},
        {"skins/Picture.design", "BM6\x01\x02 binary", "[General]"},
        {"skins/NoBack.design", "[General]\r\nBitmap=  \r\n[Button Play]\r\nBitmap1=p.bmp\r\n",
         "[General]"},
    };
    Catalogue::setLanguage(UiLanguage::English);
    const QByteArray registerBefore = registerBytes();
    const QByteArray listBefore = test::readFile(SkinLoader::skinListPath(tmp.program()));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const QString path =
            row.content != nullptr ? designFile(row.file, row.content) : tmp.program() + row.file;
        const YampImport::Result result = YampImport::run(path, Qt::black, skins, list);
        EXPECT_FALSE(result.registered);
        EXPECT_EQ(result.listIndex, -1);
        EXPECT_TRUE(result.refusal.contains(row.reason)) << result.refusal.toStdString();
        EXPECT_TRUE(result.refusal.contains(path)) << result.refusal.toStdString();
    }
    EXPECT_EQ(list, SkinRegister::defaultSkinNames());
    EXPECT_EQ(registerBytes(), registerBefore);
    EXPECT_EQ(test::readFile(SkinLoader::skinListPath(tmp.program())), listBefore);
    Catalogue::setLanguage(UiLanguage::German);
}

TEST(YampImportName, PartAfterTheLastSeparatorUpToTheFirstDot) {
    EXPECT_EQ(YampImport::skinName(R"(C:\Players\Skins\Ocean.design)"), "Ocean");
    EXPECT_EQ(YampImport::skinName("/skins/Deep.Blue.design"), "Deep");
    EXPECT_EQ(YampImport::skinName(R"(C:\a.b\Plain)"), "Plain");
    EXPECT_EQ(YampImport::skinName(R"(C:\skins\)"), "");
}

}  // namespace
}  // namespace marlo
