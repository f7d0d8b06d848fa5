#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "base/Catalogue.h"
#include "platform/IniFile.h"
#include "skins/SettingsForm.h"
#include "skins/SkinEditor.h"
#include "skins/SkinLoader.h"
#include "skins/SkinRegister.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SkinPictures.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// One click on a form that starts with `before` checked; `after` are the boxes checked then.
struct GroupCase {
    const char* what;
    std::vector<int> before;
    int box;
    std::vector<int> after;
    std::optional<int> filterMode;
    bool zoomEnabled;  // the zoom field after the click (it starts enabled)
};

TEST(SettingsFormGroups, EachClickFollowsItsGroup) {
    const GroupCase cases[] = {
        {"independent box on", {5, 13}, 1, {1, 5, 13}, {}, true},
        {"independent box off", {14, 15}, 14, {15}, {}, true},
        {"repeat one clears repeat all", {6, 13}, 7, {7, 13}, {}, true},
        {"repeat all clears repeat one", {7}, 6, {6}, {}, true},
        {"repeat off leaves the other alone", {6}, 6, {}, {}, true},
        {"picture zoom clears picture fullscreen", {16, 17}, 18, {16, 18}, {}, true},
        {"picture fullscreen clears picture zoom", {18}, 17, {17}, {}, true},
        {"doubled size clears fullscreen", {2}, 3, {3}, {}, false},
        {"user defined clears doubled size", {3}, 4, {4}, {}, true},
        {"unchecking user defined", {4}, 4, {}, {}, false},
        {"fullscreen clears user defined", {4, 8}, 2, {2, 8}, {}, false},
        {"low while high", {11}, 10, {10}, 1, true},
        {"auto while none", {9}, 12, {12}, 3, true},
        {"none while auto", {12}, 9, {9}, 0, true},
        {"clicking the checked filter keeps it", {11, 6}, 11, {6, 11}, {}, true},
    };
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsForm form;
        form.zoomEnabled = true;
        for (int i : c.before) {
            form.setChecked(i, true);
        }
        const std::optional<int> mode = form.click(c.box, !form.checked(c.box));
        std::vector<int> checked;
        for (int i = 1; i <= option::kCount; ++i) {
            if (form.checked(i)) {
                checked.push_back(i);
            }
        }
        EXPECT_EQ(checked, c.after);
        EXPECT_EQ(mode, c.filterMode);
        EXPECT_EQ(form.zoomEnabled, c.zoomEnabled);
    }
}

TEST(SettingsFormGroups, PauseBoxEnablesItsFieldAndUncheckingResetsItToTwo) {
    Settings settings;
    settings.setOption(option::kSlideshowPause, 1);
    settings.slideshowPause = 7;
    SettingsForm form = SettingsForm::fromSettings(settings, false);
    EXPECT_EQ(form.pause, "7");
    EXPECT_TRUE(form.pauseEnabled);
    form.click(option::kSlideshowPause, false);
    EXPECT_FALSE(form.pauseEnabled);
    EXPECT_EQ(form.pause, "2");
    form.pause = "9";  // a disabled field is not typed in, but the value must not matter
    form.click(option::kSlideshowPause, true);
    EXPECT_TRUE(form.pauseEnabled);
    EXPECT_EQ(form.pause, "9");
}

TEST(SettingsFormOkayCancel, OkayCopiesEverythingAndCancelRestoresIt) {
    Settings settings;
    settings.setOption(option::kRepeatAll, 1);
    settings.setOption(option::kFilterAuto, 1);
    settings.videoZoom = 100;
    settings.pictureZoom = 50;
    SettingsForm form = SettingsForm::fromSettings(settings, false);
    EXPECT_FALSE(form.pauseEnabled);
    EXPECT_EQ(form.pause, "2");

    form.click(option::kRepeatOne, true);
    form.click(option::kSlideshowPause, true);
    form.pause = "5.9 s";
    form.zoom = "150";
    form.pictureZoom = "x";
    EXPECT_EQ(form.applyTo(settings), 5000);
    EXPECT_FALSE(settings.isSet(option::kRepeatAll));
    EXPECT_TRUE(settings.isSet(option::kRepeatOne));
    EXPECT_TRUE(settings.isSet(option::kFilterAuto));
    EXPECT_EQ(settings.slideshowPause, 5);
    EXPECT_EQ(settings.videoZoom, 150);
    EXPECT_EQ(settings.pictureZoom, 0);

    // Without "Pause" the slideshow keeps its standard pace.
    form.click(option::kSlideshowPause, false);
    Settings copy = settings;
    EXPECT_EQ(form.applyTo(copy), 2000);

    // Edits after the last Okay are undone by Cancel, the pause field from the timer.
    form.click(option::kRepeatAll, true);
    form.zoom = "300";
    form.restore(settings, 5000);
    EXPECT_TRUE(form.checked(option::kRepeatOne));
    EXPECT_FALSE(form.checked(option::kRepeatAll));
    EXPECT_TRUE(form.checked(option::kSlideshowPause));
    EXPECT_TRUE(form.pauseEnabled);
    EXPECT_EQ(form.zoom, "150");
    EXPECT_EQ(form.pause, "5");
}

class SkinEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Catalogue::setLanguage(UiLanguage::English);
        skins.writeDefaults();
        list = SkinRegister::defaultSkinNames();
        ASSERT_TRUE(skins.writeSkinList(list));
    }
    void TearDown() override { Catalogue::setLanguage(UiLanguage::German); }
    QString registerPath() const { return SkinLoader::registerPath(tmp.program()); }
    QByteArray listBytes() const { return test::readFile(SkinLoader::skinListPath(tmp.program())); }
    SkinDraft stripDraft() const {
        SkinDraft draft;
        for (int slot = 1; slot <= SkinDraft::kSlots; ++slot) {
            draft.paths[static_cast<size_t>(slot)] = "/p/" + SkinDraft::standardName(slot);
        }
        draft.taskColour = QColor(0x10, 0x20, 0x30);
        return draft;
    }

    test::TempProgramFolder tmp;
    test::ScriptedPrompts prompts;
    SkinRegister skins{tmp.program(), prompts};
    SkinEditor editor{tmp.program(), prompts};
    QStringList list;
};

TEST_F(SkinEditorTest, SavingTwiceAsksOnceAndAppendsOneLine) {
    const SkinDraft draft = stripDraft();
    EXPECT_EQ(editor.save("Mine", SkinKind::Strip, draft, list), SkinEditor::Outcome::Done);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(listBytes(), "Vantel's Design\r\nStandard\r\nMine\r\n");
    const IniFile reg(registerPath());
    EXPECT_EQ(reg.read("Mine", "Play", {}), "/p/Play.bmp");
    EXPECT_EQ(reg.read("Mine", "Functions", {}), "/p/Function.bmp");
    EXPECT_EQ(reg.read("Mine", "Task", {}), QString::number(0x302010));

    // No: nothing changes.
    prompts.answers = {PromptAnswer::No};
    SkinDraft other = draft;
    other.paths[3] = "/q/Play.bmp";
    EXPECT_EQ(editor.save("Mine", SkinKind::Strip, other, list), SkinEditor::Outcome::Declined);
    EXPECT_EQ(reg.read("Mine", "Play", {}), "/p/Play.bmp");

    // Yes: overwritten, the list file keeps one line for it.
    other.swatchShown = false;
    other.paths[2] = "/q/Taskbar.bmp";
    prompts.answers = {PromptAnswer::Yes};
    EXPECT_EQ(editor.save("Mine", SkinKind::Strip, other, list), SkinEditor::Outcome::Done);
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[1].text, "Do you really want to overwrite the skin setup \"Mine\"?");
    EXPECT_EQ(prompts.shown[1].title, "Overwrite skin setup?");
    EXPECT_EQ(prompts.shown[1].buttons, PromptButtons::YesNo);
    EXPECT_EQ(reg.read("Mine", "Play", {}), "/q/Play.bmp");
    EXPECT_EQ(reg.read("Mine", "Task", {}), "/q/Taskbar.bmp");
    EXPECT_EQ(listBytes(), "Vantel's Design\r\nStandard\r\nMine\r\n");
    EXPECT_EQ(list, QStringList({"Vantel's Design", "Standard", "Mine"}));
}

TEST_F(SkinEditorTest, DesignSkinSavesOnlyItsTaskbarColour) {
    ASSERT_TRUE(skins.registerDesign("Ocean", "/d/Ocean.design", Qt::black));
    SkinDraft draft = stripDraft();
    draft.taskColour = QColor(1, 2, 3);
    EXPECT_EQ(editor.save("Ocean", SkinKind::Design, draft, list), SkinEditor::Outcome::Done);
    const IniFile reg(registerPath());
    EXPECT_EQ(reg.keyList("Ocean"), QString("DesignPath") + QChar(0) + "Task" + QChar(0));
    EXPECT_EQ(reg.read("Ocean", "Task", {}), QString::number(0x030201));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SkinEditorTest, NamesThatBreakTheFilesAreRefusedAndNothingIsWritten) {
    const QByteArray reg = test::readFile(registerPath());
    for (const QString& name : {QString("Bad]Name"), QString("Two\nLines"), QString("CR\rX"),
                                QString(" Lead"), QString("Trail "), QString("Tab\t")}) {
        SCOPED_TRACE(name.toStdString());
        prompts.shown.clear();
        EXPECT_EQ(editor.save(name, SkinKind::Strip, stripDraft(), list),
                  SkinEditor::Outcome::Refused);
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].text.contains("cannot be used"));
    }
    EXPECT_EQ(test::readFile(registerPath()), reg);
    EXPECT_EQ(listBytes(), "Vantel's Design\r\nStandard\r\n");
    EXPECT_EQ(editor.save("", SkinKind::Strip, stripDraft(), list), SkinEditor::Outcome::Nothing);
}

TEST_F(SkinEditorTest, FailedListWriteLeavesRegisterAsItWas) {
    const QByteArray reg = test::readFile(registerPath());
    // A folder where the list file's temporary or the file itself would go.
    const QString listPath = SkinLoader::skinListPath(tmp.program());
    ASSERT_TRUE(QFile::remove(listPath));
    ASSERT_TRUE(QDir().mkdir(listPath));
    EXPECT_EQ(editor.save("Mine", SkinKind::Strip, stripDraft(), list),
              SkinEditor::Outcome::Failed);
    EXPECT_EQ(test::readFile(registerPath()), reg);
    EXPECT_EQ(list.size(), 2);
    EXPECT_FALSE(prompts.shown.isEmpty());
}

TEST_F(SkinEditorTest, DeleteRemovesSectionAndLineKeepingTheOthersInOrder) {
    for (const char* name : {"A", "B", "C"}) {
        ASSERT_EQ(editor.save(name, SkinKind::Strip, stripDraft(), list),
                  SkinEditor::Outcome::Done);
    }
    prompts.answers = {PromptAnswer::No};
    EXPECT_EQ(editor.remove("B", "B", list), SkinEditor::Outcome::Declined);
    EXPECT_TRUE(IniDocument::parse(test::readFile(registerPath())).hasSection("B"));

    prompts.answers = {PromptAnswer::Yes};
    EXPECT_EQ(editor.remove("B", "B", list), SkinEditor::Outcome::Done);
    EXPECT_EQ(prompts.shown.last().text,
              "Are you sure that you want to delete the skin file named \"B\"?");
    EXPECT_EQ(listBytes(), "Vantel's Design\r\nStandard\r\nA\r\nC\r\n");
    EXPECT_EQ(list, QStringList({"Vantel's Design", "Standard", "A", "C"}));
    const IniDocument reg = IniDocument::parse(test::readFile(registerPath()));
    EXPECT_FALSE(reg.hasSection("B"));
    EXPECT_TRUE(reg.hasSection("A"));
    EXPECT_TRUE(reg.hasSection("C"));
    EXPECT_FALSE(QFile::exists(editor.writeListPath()));
}

TEST_F(SkinEditorTest, StandardCannotBeDeletedAndSaysSoInGermanInBothLanguages) {
    const QByteArray reg = test::readFile(registerPath());
    for (UiLanguage language : {UiLanguage::English, UiLanguage::German}) {
        Catalogue::setLanguage(language);
        prompts.shown.clear();
        // By name, and by the selected entry when the text names another skin.
        EXPECT_EQ(editor.remove("Standard", "Vantel's Design", list), SkinEditor::Outcome::Refused);
        EXPECT_EQ(editor.remove("Vantel's Design", "Standard", list), SkinEditor::Outcome::Refused);
        ASSERT_EQ(prompts.shown.size(), 2);
        EXPECT_EQ(prompts.shown[0].text, "Skinsetup \"Standard\" darf nicht gelöscht werden!");
        EXPECT_EQ(prompts.shown[0].title, "Standard löschen");
    }
    EXPECT_EQ(test::readFile(registerPath()), reg);
    EXPECT_EQ(listBytes(), "Vantel's Design\r\nStandard\r\n");
}

TEST_F(SkinEditorTest, DroppedPictureCompletesTheSetFromItsFolder) {
    const QString folder = tmp.program() + "drop/";
    // Written byte by byte: Qt's writer would load the image plugins into this process.
    test::writePlainBitmap(folder + "Play.bmp", QSize(40, 20), Qt::red);
    test::writePlainBitmap(folder + "STOP.BMP", QSize(40, 20), Qt::red);  // as from Windows
    test::writePlainBitmap(folder + "background.bmp", QSize(30, 10), Qt::blue);
    test::writePlainBitmap(folder + "Taskbar.bmp", QSize(8, 4), Qt::green);
    // Cut off after its signature: read as a bitmap, and fails.
    test::writeFile(folder + "Seek.bmp", "BM cut off");

    SkinDraft draft = stripDraft();
    const QList<int> taken = editor.dropPicture(folder + "Play.bmp", 3, draft);
    EXPECT_EQ(taken, QList<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(draft.paths[1], folder + "background.bmp");
    EXPECT_EQ(draft.paths[3], folder + "Play.bmp");
    EXPECT_EQ(draft.paths[4], folder + "STOP.BMP");
    EXPECT_EQ(draft.paths[6], "/p/Open.bmp");  // untouched slots keep theirs
    EXPECT_EQ(draft.pictures[1].size(), QSize(30, 10));
    EXPECT_FALSE(draft.preview(3).isNull());
    EXPECT_EQ(draft.preview(3).size(), QSize(40, 5));  // the first of four rows only
    // The broken picture fails its slot with a message and keeps its path.
    EXPECT_EQ(draft.paths[5], folder + "Seek.bmp");
    EXPECT_TRUE(draft.pictures[5].isNull());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("Seek.bmp"));
    // The taskbar picture found beside it leaves the taskbar a colour; its opener makes it a
    // picture.
    EXPECT_TRUE(draft.swatchShown);
    EXPECT_EQ(draft.edited({}).task, QString::number(0x302010));
    editor.openerChose(folder + "Taskbar.bmp", 2, draft);
    EXPECT_FALSE(draft.swatchShown);
    EXPECT_EQ(draft.edited({}).task, folder + "Taskbar.bmp");
    EXPECT_EQ(SkinEditor::folderOf(R"(C:\Skins\Blue\Play.bmp)"), R"(C:\Skins\Blue\)");
}

}  // namespace
}  // namespace marlo
