#include <gtest/gtest.h>

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
    QByteArray registerBytes() const {
        return test::readFile(SkinLoader::registerPath(tmp.program()));
    }

    test::TempProgramFolder tmp;
    test::ScriptedPrompts prompts;
    SkinRegister skins{tmp.program(), prompts};
    QStringList list;
};

TEST_F(SkinImportTest, ImportingTwiceRegistersOnce) {
    const QString path = R"(C:\A\B\Ocean.design)";
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
    EXPECT_TRUE(YampImport::run("/x/standard.design", Qt::black, skins, list).registered);
}

TEST(YampImportName, PartAfterTheLastSeparatorUpToTheFirstDot) {
    EXPECT_EQ(YampImport::skinName(R"(C:\Players\Skins\Ocean.design)"), "Ocean");
    EXPECT_EQ(YampImport::skinName("/skins/Deep.Blue.design"), "Deep");
    EXPECT_EQ(YampImport::skinName(R"(C:\a.b\Plain)"), "Plain");
    EXPECT_EQ(YampImport::skinName(R"(C:\skins\)"), "");
}

}  // namespace
}  // namespace marlo
