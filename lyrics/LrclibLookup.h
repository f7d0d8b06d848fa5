#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

namespace marlo {

// Asks an LRCLIB server for one song without waiting for it: "/api/get" with artist, title,
// album (when known) and the duration in whole seconds, then "/api/search" when that finds
// nothing. The whole lookup is bounded in time and each answer in size; it ends with found()
// (synced lyrics as LRC, else the plain text) or notFound(), once.
class LrclibLookup : public QObject {
    Q_OBJECT

  public:
    static constexpr int kTimeoutMs = 20000;
    static constexpr qint64 kMaxBody = 2 * 1024 * 1024;

    struct Song {
        QString artist;
        QString title;
        QString album;
        qint64 lengthMs = 0;
    };

    explicit LrclibLookup(QObject* parent = nullptr);
    ~LrclibLookup() override;

    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    // A server entry of the lyrics server box; only LRCLIB servers can be asked.
    void start(const QString& serverEntry, const Song& song);
    void cancel();
    bool running() const { return reply_ != nullptr; }

    // The lyrics of a record: its synced lyrics when they are a string with text, else its plain
    // lyrics; empty for an instrumental, a wrong type or nothing.
    static QByteArray lyricsOfRecord(const QByteArray& json);

  signals:
    void found(const QByteArray& lyrics);
    void notFound();

  private:
    void request(const QString& url);
    void answered();
    void finish(const QByteArray& lyrics);

    QNetworkAccessManager* manager_;
    QNetworkReply* reply_ = nullptr;
    QTimer deadline_;
    int timeoutMs_ = kTimeoutMs;
    QString searchUrl_;  // asked after the get found nothing; empty once asked
    QByteArray body_;
    bool tooLarge_ = false;
};

}  // namespace marlo
