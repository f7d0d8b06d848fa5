#pragma once

#include <gtest/gtest.h>

#include <QStringList>

#include "cd/CdBase.h"
#include "cd/CloseMatchChooser.h"
#include "tests/cd/CddbTestServer.h"
#include "tests/support/ScriptedPrompts.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace marlo::test {

// Answers the close-match chooser from a script and remembers what it was shown.
class ScriptedChooser : public CloseMatchChooser {
  public:
    int answer = 0;
    QList<QList<CloseMatch>> shown;
    int choose(const QList<CloseMatch>& matches, int, int) override {
        shown << matches;
        return answer;
    }
};

// A CdBase talking to a loopback server that serves the shared xmcd entries and the recorded
// replies of a real server, with its log and message boxes kept for the test.
class CdFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    // The log as the item editor would show it.
    QString log() const { return log_.join(QString()); }
    void useDeadPort();

    ScriptedPrompts prompts;
    ScriptedChooser chooser;
    CddbTestServer server;
    CdBase cd{prompts};
    QStringList log_;
};

QString testDataDir(const QString& relative);

}  // namespace marlo::test
