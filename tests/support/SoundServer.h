#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace marlo::test {

// A private PulseAudio server with one null sink, "test_sink", so the real program has a sound
// server to talk to on machines without one; what it plays can be recorded from
// "test_sink.monitor".
class SoundServer {
  public:
    SoundServer();
    ~SoundServer();
    bool ok() const { return ok_; }
    // Adds what a client needs to find this server.
    void addTo(QProcessEnvironment& env) const;
    // The server's process, to stop and go on with it (a server that hangs).
    qint64 processId() const { return server_.processId(); }

  private:
    QTemporaryDir runtime_;
    QProcess server_;
    bool ok_ = false;
};

}  // namespace marlo::test
