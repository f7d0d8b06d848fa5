#pragma once

#include <QStringList>
#include <QTimer>
#include <functional>

#include "platform/media/MediaDevice.h"
#include "platform/media/ModuleLibrary.h"
#include "platform/media/StreamingControl.h"

namespace marlo::test {

// The audio device: records every command and setting as a line ("open", "type=M4W_MCI",
// "file=/x.wav", "from=1000"); a command named in `failing` sets error 263.
class FakeMediaDevice : public MediaDevice {
  public:
    QStringList log;
    QStringList failing;  // lower-case command names that fail
    qint64 fileLength = 0;
    qint64 playPosition = 0;
    // Runs inside a command, after it is logged (a device that waits, say).
    std::function<void(const QString&)> during;

    void setDeviceType(const QString& type) override {
        type_ = type;
        log << "type=" + type;
    }
    QString deviceType() const override { return type_; }
    void setFileName(const QString& path) override {
        file_ = path;
        log << "file=" + path;
    }
    QString fileName() const override { return file_; }
    void command(const QString& name) override {
        const QString lower = name.toLower();
        log << lower;
        if (during) {
            during(lower);
        }
        error_ = failing.contains(lower) ? 263 : 0;
        if (error_ == 0 && lower == "open") {
            open_ = true;
        } else if (lower == "close") {
            open_ = false;
        }
    }
    int error() const override { return error_; }
    bool isOpen() const override { return open_; }
    void setTimeFormat(TimeFormat) override {}
    void setFrom(qint64 from) override { log << "from=" + QString::number(from); }
    void setTo(qint64 to) override { log << "to=" + QString::number(to); }
    void setTrack(int track) override { log << "track=" + QString::number(track); }
    qint64 length() const override { return fileLength; }
    qint64 position() const override { return playPosition; }
    qint64 trackPosition() const override { return 0; }

    void fireDone() { emit done(); }
    void fireStatus() { emit statusUpdate(); }
    // The commands only, without settings.
    QStringList commands() const {
        QStringList out;
        for (const QString& line : log) {
            if (!line.contains('=')) {
                out << line;
            }
        }
        return out;
    }

  private:
    QString type_, file_;
    int error_ = 0;
    bool open_ = false;
};

// The streaming control: becomes ready at once, on the next event-loop turn (so the engine's
// wait must dispatch events), fails (a file it cannot open), or never answers at all.
class FakeStreamingControl : public StreamingControl {
  public:
    enum class Readiness { Immediately, Deferred, Fails, Never };
    Readiness readiness = Readiness::Immediately;
    double seconds = 0;
    QStringList log;

    void setFileName(const QString& path) override {
        file_ = path;
        log << "file=" + path;
        ready_ = 0;
        failed_ = false;
        running_ = false;
        if (path.isEmpty()) {
            return;
        }
        switch (readiness) {
            case Readiness::Immediately:
                ready_ = kReady;
                break;
            case Readiness::Deferred:
                QTimer::singleShot(0, this, [this, path] {
                    if (file_ == path) {
                        ready_ = kReady;
                        emit readyStateChanged(ready_);
                    }
                });
                break;
            case Readiness::Fails:
                failed_ = true;
                break;
            case Readiness::Never:
                break;
        }
    }
    QString fileName() const override { return file_; }
    int readyState() const override { return ready_; }
    bool failed() const override { return failed_; }
    void run() override {
        log << "run";
        running_ = true;
    }
    void pause() override {
        log << "pause";
        running_ = false;
    }
    void stop() override {
        log << "stop";
        running_ = false;
    }
    bool isRunning() const override { return running_; }
    double duration() const override { return ready_ == kReady ? seconds : 0; }
    double position() const override { return position_; }
    void setPosition(double seconds) override {
        log << QStringLiteral("position=%1").arg(seconds);
        position_ = seconds;
    }

    void fireDone() { emit done(); }

  private:
    QString file_;
    int ready_ = 0;
    bool failed_ = false;
    bool running_ = false;
    double position_ = 0;
};

// The module library: records calls by name ("loadModule /x.mod", "setPosition 3"), loads any
// file unless `loadFails`, and reports the position a test sets.
class FakeModuleLibrary : public ModuleLibrary {
  public:
    QStringList log;
    bool loadFails = false;
    int songLength = 12;
    PlayStatus status;

    bool startup() override { return note("startup"); }
    bool init() override { return note("init"); }
    bool startBackgroundPlay(int polls) override {
        return note("startBackgroundPlay " + QString::number(polls));
    }
    bool openChannels(int channels) override {
        return note("openChannels " + QString::number(channels));
    }
    bool setAmplification(int level) override {
        return note("setAmplification " + QString::number(level));
    }
    bool setOption(int option, int value) override {
        return note(QStringLiteral("setOption %1 %2").arg(option).arg(value));
    }
    int loadModule(const QString& path) override {
        note("loadModule " + path);
        return loadFails ? 0 : 7;
    }
    bool getModuleInfo(int, ModuleInfo& info) override {
        info.songLength = songLength;
        return note("getModuleInfo");
    }
    int playModule(int, bool loop) override {
        note(QStringLiteral("playModule loop=%1").arg(loop));
        status = {};
        return ++plays_;
    }
    bool getPlayStatus(int, PlayStatus& out) override {
        out = status;
        return true;
    }
    bool setPosition(int, int position) override {
        status.position = position;
        return note("setPosition " + QString::number(position));
    }
    bool stopModule(int) override { return note("stopModule"); }
    bool freeModule(int) override { return note("freeModule"); }
    bool close() override { return note("close"); }

  private:
    bool note(const QString& call) {
        log << call;
        return true;
    }
    int plays_ = 0;
};

}  // namespace marlo::test
