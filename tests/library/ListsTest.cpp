#include <gtest/gtest.h>

#include "library/ArchiveList.h"
#include "library/PlaybackList.h"

namespace marlo {
namespace {

TEST(ArchiveListTest, StaysSortedWithoutRegardToCase) {
    ArchiveList list;
    for (const char* title : {"delta", "Bravo", "alpha", "Charlie", "ALPHA", "echo"}) {
        list.add(title);
    }
    list.addMany({"beta", "Zulu", "apple"});
    EXPECT_EQ(list.titles(), (QStringList{"alpha", "ALPHA", "apple", "beta", "Bravo", "Charlie",
                                          "delta", "echo", "Zulu"}));
    EXPECT_EQ(list.rowCount(), 9);
    EXPECT_EQ(list.data(list.index(4), Qt::DisplayRole).toString(), "Bravo");
}

// Every present title is found in any letter case and every absent one is not, for lists of
// every length up to 40 — odd and even lengths hit the search's edges differently.
TEST(ArchiveListTest, BinarySearchFindsExactlyTheListedTitles) {
    EXPECT_EQ(ArchiveList().find("anything"), -1);
    EXPECT_EQ(ArchiveList().find(""), -1);
    for (int n = 1; n <= 40; ++n) {
        ArchiveList list;
        for (int i = 0; i < n; ++i) {
            list.add(QString("Title %1").arg(i * 2, 3, 10, QChar('0')));
        }
        for (int i = 0; i < 2 * n + 1; ++i) {
            const QString probe = QString("TITLE %1").arg(i, 3, 10, QChar('0'));
            const int row = list.find(probe);
            if (i % 2 == 0 && i < 2 * n) {
                ASSERT_GE(row, 0) << n << " " << i;
                EXPECT_EQ(list.at(row).compare(probe, Qt::CaseInsensitive), 0);
            } else {
                EXPECT_EQ(row, -1) << n << " " << i;
            }
        }
    }
}

TEST(ArchiveListTest, TakeRemovesAndReportsRows) {
    ArchiveList list;
    list.addMany({"b", "a", "c"});
    int removed = 0;
    QObject::connect(&list, &QAbstractItemModel::rowsRemoved, [&] { ++removed; });
    EXPECT_EQ(list.takeAt(1), "b");
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(list.takeAll(), (QStringList{"a", "c"}));
    EXPECT_EQ(list.count(), 0);
}

TEST(PlaybackListTest, SelectionFollowsItsEntryAndIsLostWithIt) {
    PlaybackList list;
    list.appendMany({"one", "two", "three", "four"});
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.selectedTitle(), "");
    int changed = 0;
    QObject::connect(&list, &PlaybackList::selectedIndexChanged, [&] { ++changed; });

    list.setSelectedIndex(2);
    list.takeAt(0);  // above the selection: it moves up with its entry
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(list.selectedTitle(), "three");
    list.takeAt(2);  // below it: unchanged
    EXPECT_EQ(list.selectedTitle(), "three");
    list.takeAt(1);  // the selected entry itself
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(changed, 3);  // selected, moved up, lost

    list.setSelectedIndex(7);
    EXPECT_EQ(list.selectedIndex(), -1);
    list.setSelectedIndex(0);
    list.clear();
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.count(), 0);
}

}  // namespace
}  // namespace marlo
