#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

namespace marlo::test {

// A private X server for tests that drive the real program, and helpers around xdotool.
class XSession {
  public:
    XSession();
    ~XSession();
    bool ok() const { return !display_.isEmpty(); }
    const QString& display() const { return display_; }
    QProcessEnvironment environment() const;

    // Runs xdotool with the arguments; returns its standard output, trimmed.
    QString xdotool(const QStringList& args, int timeoutMs = 10000) const;
    // The first visible window whose name matches the pattern, waiting up to `timeoutMs`; empty
    // when none appeared.
    QString waitForWindow(const QString& namePattern, int timeoutMs = 15000) const;
    // x, y, width, height of a window.
    QRect geometry(const QString& window) const;
    void focus(const QString& window) const;
    void click(int x, int y) const;
    void key(const QString& window, const QString& keys) const;

  private:
    QProcess xvfb_;
    QString display_;
};

}  // namespace marlo::test
