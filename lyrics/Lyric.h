#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "lyrics/LyricsServer.h"
#include "lyrics/SongChooser.h"

namespace marlo {

class PageFetch;

// Fetches the lyrics of one song from a lyrics server and reports its progress through
// commInfo, which the item editor appends to its server log. The server entry decides the
// protocol (LyricsServer); both kinds run through the same steps and give the same result texts.
class Lyric : public QObject {
    Q_OBJECT

  public:
    // How the last getLyrics ended; the caller stores the text only for Found. Empty: the song
    // page had nothing between the lyrics markers, and the text is empty.
    enum class Outcome { Found, Empty, Blank, NotFound, NoId, Failed, Busy };

    static constexpr int kMaxHits = 1000;

    explicit Lyric(QObject* parent = nullptr);
    ~Lyric() override;

    QString server() const { return server_; }
    void setServer(const QString& server) { server_ = server; }

    // Without a chooser (command line, tests) the first of several hits is taken.
    void setChooser(SongChooser* chooser) { chooser_ = chooser; }
    void setTimeoutMs(int ms);

    // The lyrics, or a result text. Blanks in the three values are replaced by "+" in place,
    // which the caller's retry without a leading "The" relies on.
    QString getLyrics(QString& artist, QString& album, QString& song);
    Outcome outcome() const { return outcome_; }
    bool busy() const { return busy_; }

    // The hits of a search page in page order (at most kMaxHits), counted and reported; the id
    // of the first hit, or "No ID".
    QString parseHits(const QString& page);

    const QList<LyricsHit>& hits() const { return hits_; }
    int hitCount() const { return int(hits_.size()); }
    QString chosenId() const { return chosenId_; }
    const QString& page() const { return page_; }

    static QString stateText(int state);

  signals:
    void commInfo(const QString& text, bool flag);

  private:
    QString classicLyrics(const LyricsServer& server, const QString& artist, const QString& album,
                          const QString& song);
    QString lrclibLyrics(const LyricsServer& server, const QString& artist, const QString& album,
                         const QString& song);
    // Fetches `url` into the page buffer with its notices; false with outcome_ set on failure.
    bool fetch(const QString& url, QString& failureText);
    // Asks the chooser when there are several hits and records the chosen id.
    void choose();
    QString fail(Outcome outcome, const QString& text);

    QString server_ = QStringLiteral("lrclib.net");
    SongChooser* chooser_ = nullptr;
    PageFetch* fetch_;
    QString page_;
    QList<LyricsHit> hits_;
    QString chosenId_;
    Outcome outcome_ = Outcome::NotFound;
    bool busy_ = false;
};

}  // namespace marlo
