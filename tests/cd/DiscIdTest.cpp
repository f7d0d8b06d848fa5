#include <discid/discid.h>
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "cd/CdBase.h"
#include "cd/TocDrive.h"
#include "tests/cd/CdFixture.h"
#include "tests/support/ScriptedPrompts.h"

namespace marlo {
namespace {

// The libdiscid freedb id of a table of contents, a computation nobody here wrote.
QString libdiscidFreedbId(const DiscToc& toc) {
    ::DiscId* disc = discid_new();
    int offsets[100] = {};
    offsets[0] = toc.leadOut;
    for (int i = 0; i < toc.trackStarts.size(); ++i) {
        offsets[i + 1] = toc.trackStarts.at(i);
    }
    EXPECT_EQ(discid_put(disc, 1, static_cast<int>(toc.trackStarts.size()), offsets), 1);
    const QString id = QString::fromLatin1(discid_get_freedb_id(disc));
    discid_free(disc);
    return id;
}

TEST(DiscId, ExampleDiscGivesItsIdAndQuery) {
    // Tracks at 0:02.00, 5:02.10 and 9:30.40, the last 3:10.20 long: lead-out 12:40.61.
    TocDrive drive({{150, 22660, 42790}, 57061});
    test::ScriptedPrompts prompts;
    CdBase cd(prompts);
    cd.setDrive(&drive);
    EXPECT_EQ(cd.getQueryString(), QStringLiteral("1302f603 3 150 22660 42790 758"));
    EXPECT_EQ(cd.cdid(), QStringLiteral("1302f603"));
    EXPECT_EQ(cd.discLength(), 758);
    EXPECT_EQ(cd.tracks(), 3);
    EXPECT_EQ(cd.storedTrackSeconds(3), 190);
    EXPECT_FALSE(drive.isOpen()) << "a drive opened for the id is closed again";
}

TEST(DiscId, GeneratedDiscsAgreeWithLibdiscid) {
    QList<DiscToc> tocs{
        {{150}, 150 + 75 * 60 * 74},
        {{0, 750, 1500}, 2250},  // a track at 0:00 adds nothing to the digit sum
        {{150, 15239, 29625, 45763, 61420, 75862, 91642, 108918, 123698, 139895, 153589, 169239,
          188495},
         205200},
    };
    QRandomGenerator random(15);
    for (int disc = 0; disc < 40; ++disc) {
        DiscToc toc;
        int at = 150 + random.bounded(200);
        const int count = 1 + random.bounded(99);
        for (int i = 0; i < count; ++i) {
            toc.trackStarts << at;
            // Discs stay below 80 minutes.
            at += 300 + random.bounded(350000 / count);
        }
        toc.leadOut = at;
        tocs << toc;
    }
    test::ScriptedPrompts prompts;
    for (const DiscToc& toc : tocs) {
        TocDrive drive(toc);
        CdBase cd(prompts);
        cd.setDrive(&drive);
        EXPECT_EQ(cd.cdid(), libdiscidFreedbId(toc)) << toc.trackStarts.size() << " tracks";
        EXPECT_EQ(cd.cdid().size(), 8);
    }
}

TEST(DiscId, DriveFailuresEndWithTheirErrors) {
    test::ScriptedPrompts prompts;
    CdBase cd(prompts);
    EXPECT_TRUE(cd.cdid().isEmpty());
    ASSERT_TRUE(cd.lastError());
    EXPECT_EQ(cd.lastError()->number, kErrUnableToOpen);
    EXPECT_EQ(cd.lastError()->description, QStringLiteral("Unable to open device"));

    TocDrive empty({{}, 0});
    cd.setDrive(&empty);
    EXPECT_TRUE(cd.getCddb().isEmpty());
    EXPECT_EQ(cd.lastError()->number, kErrUnableToOpen);

    // An open drive without tracks: no audio CD.
    class NoTracks : public TocDrive {
      public:
        NoTracks() : TocDrive({{}, 0}) {}
        bool isOpen() const override { return true; }
    } noTracks;
    cd.setDrive(&noTracks);
    EXPECT_TRUE(cd.getQueryString().isEmpty());
    EXPECT_EQ(cd.lastError()->number, kErrNoAudioCd);
    EXPECT_EQ(cd.lastError()->source, QStringLiteral("Cddb Control"));
}

TEST(DiscId, PackedPositionsRoundTrip) {
    for (int frames : {0, 74, 75, 4499, 4500, 57061, 99 * 4500 + 59 * 75 + 74}) {
        EXPECT_EQ(msfToFrames(framesToMsf(frames)), frames);
    }
    EXPECT_EQ(framesToMsf(65 * 75 + 10), 1u + 5u * 256u + 10u * 65536u);
    EXPECT_EQ(padLeft(QStringLiteral("1abcd"), 4), QStringLiteral("abcd"));
    EXPECT_EQ(padLeft(QStringLiteral("f"), 2), QStringLiteral("0f"));
}

}  // namespace
}  // namespace marlo
