#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "cd/CddbEntry.h"
#include "cd/CddbText.h"

namespace marlo {

class CddbLine;
class CdDrive;
class CloseMatchChooser;
class Prompts;

// An error that ends an operation on the drive: its number, source and description.
struct CdError {
    quint32 number = 0;
    QString source;
    QString description;
};
inline constexpr quint32 kErrUnableToOpen = 0x80040259;
inline constexpr quint32 kErrNoAudioCd = 0x8004025a;
inline constexpr quint32 kErrBusy = 0x8004025b;

struct CdSite {
    QString address;
    int port = 0;
    QString location;
};

// `CdBase`: identifies the disc in a CD drive by its disc id and fetches its description from a
// CD database server over the line protocol, one connection per operation. Everything sent and
// received is reported through `dataSent`. The waits keep dispatching window events; an
// operation started while another one waits is refused, not interleaved.
class CdBase : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDefaultPort = 8880;
    static constexpr int kFirstReplyTimeoutMs = 30000;

    explicit CdBase(Prompts& prompts, QObject* parent = nullptr);
    ~CdBase() override;

    void setDrive(CdDrive* drive) { drive_ = drive; }
    void setChooser(CloseMatchChooser* chooser) { chooser_ = chooser; }
    static QString defaultServer();

    QString server() const { return server_; }
    void setServer(const QString& server) { server_ = server; }
    int port() const { return port_; }
    void setPort(int port) { port_ = port; }
    QString email() const { return email_; }
    void setEmail(const QString& email);
    QString hostName() const { return hostName_; }
    void setHostName(const QString& hostName);
    QString appName() const { return appName_; }
    void setAppName(const QString& appName);
    QString revision() const { return revision_; }
    void setRevision(const QString& revision);
    int connectTimeout() const { return connectTimeout_; }
    void setConnectTimeout(int milliseconds);
    int replyTimeout() const { return replyTimeout_; }

    // Reading computes the id afresh from the drive; empty when that failed (see lastError).
    QString cdid();
    void setCdid(const QString& cdid) { cdid_ = cdid; }
    int tracks() const { return tracks_; }
    void setTracks(int tracks) { tracks_ = tracks; }
    int discLength() const { return discLength_; }
    void setDiscLength(int seconds) { discLength_ = seconds; }
    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    QString artist() const { return artist_; }
    void setArtist(const QString& artist) { artist_ = artist; }
    QString cdTitle() const { return cdTitle_; }
    void setCdTitle(const QString& cdTitle) { cdTitle_ = cdTitle; }
    QString category() const { return category_; }
    void setCategory(const QString& category) { category_ = category; }
    QString extData() const { return extData_; }
    void setExtData(const QString& extData) { extData_ = extData; }
    QString playOrder() const { return playOrder_; }
    void setPlayOrder(const QString& playOrder) { playOrder_ = playOrder; }
    int dataRev() const { return dataRev_; }
    void setDataRev(int dataRev) { dataRev_ = dataRev; }
    int categories() const { return static_cast<int>(categoryList_.size()); }
    int sites() const { return static_cast<int>(siteList_.size()); }
    int closeMatchWinLeft() const { return closeMatchWinLeft_; }
    void setCloseMatchWinLeft(int twips) { closeMatchWinLeft_ = twips; }
    int closeMatchWinTop() const { return closeMatchWinTop_; }
    void setCloseMatchWinTop(int twips) { closeMatchWinTop_ = twips; }
    bool useFirstMatch() const { return useFirstMatch_; }
    void setUseFirstMatch(bool on) { useFirstMatch_ = on; }

    QString songName(int songNumber) const;
    void setSongName(int songNumber, const QString& songName);
    QString getExtTrackData(int songNumber) const;
    void setExtTrackData(int songNumber, const QString& data);
    // Whole seconds of a track as measured when the disc id was computed; 0 outside 1..Tracks.
    int storedTrackSeconds(int songNumber) const;

    // The lookup for the disc in the drive, or with a query text given by the caller. The
    // result is the entry summary, a failure text, or empty.
    QString getCddb();
    QString getCddbUseQueryString(const QString& queryString);
    // Computes the disc id and returns the query text without the command word.
    QString getQueryString();
    int getlscat();
    QString getCategory(int categoryNo) const;
    int getSites();
    QString siteAddress(int siteNumber) const;
    int sitePort(int siteNumber) const;
    QString siteLocation(int siteNumber) const;
    QString getMotd();
    static QString getMyHostName();
    QString submitString();
    // Connects when needed and sends the text as it is; leaves the connection open.
    void cddbSend(const QString& sendString);

    // Decodes a "211" reply into the close-match list; always returns an empty text.
    QString closeMatchDecode(const QString& response);
    const QList<CloseMatch>& closeMatches() const { return closeMatches_; }
    const CloseMatch& selection() const { return selection_; }

    // The drive's device interface. `Command`: "open" opens the drive (failing with
    // kErrUnableToOpen when it stays closed), "close" closes it, "play", "pause", "stop",
    // "prev", "next" and "eject" go to the drive; any other text does nothing. `Mode` is read
    // afresh from the drive; `CurrentTrack` finds the playing track or stops at a track's start.
    void setCommand(const QString& text);
    int mode() const;
    int currentTrack();
    void setCurrentTrack(int track);

    bool busy() const { return busy_; }
    // The user ends the running lookup: its wait ends at once, the connection closes, nothing
    // more is told, and the lookup reads nothing.
    void cancel();
    bool cancelled() const { return cancelled_; }
    // The error that ended the last drive operation or refused a second one; nullopt after a
    // success.
    const std::optional<CdError>& lastError() const { return lastError_; }

  signals:
    void dataSent(const QString& text, int length);

  private:
    class BusyScope;

    QString lookup(const QString& queryLine);
    bool beginOperation();
    bool calcDiscId();
    bool serverConnect();
    bool sendHello();
    QString sendQuery(const QString& queryLine);
    QString sendRead(const QString& category, const QString& discId);
    void sendQuit();
    QString readAndParse();
    std::optional<QString> command(const QString& text, bool multiLine);
    std::optional<QStringList> fetchList(const QString& command);
    // Connects and greets the server; a refused greeting is followed by quit.
    bool connectAndGreet();
    // A whole list operation (lscat, sites): connect, greet, the command's list; nothing on
    // failure or when the reply is no list.
    std::optional<QStringList> listOperation(const QString& command);
    bool refuseBlank(const QString& value, const char* property, bool errorBox);
    void fail(quint32 number, const QString& description);
    void inform(const QString& text);

    Prompts& prompts_;
    CddbLine* line_;
    CdDrive* drive_ = nullptr;
    CloseMatchChooser* chooser_ = nullptr;

    QString server_;
    int port_ = 0;
    QString email_;
    QString hostName_;
    QString appName_ = QStringLiteral("ActiveX");
    QString revision_ = QStringLiteral("1.0");
    int connectTimeout_ = 0;
    int replyTimeout_ = kFirstReplyTimeoutMs;
    QString cdid_;
    int tracks_ = 0;
    int discLength_ = 0;
    QString title_, artist_, cdTitle_, category_, extData_, playOrder_;
    int dataRev_ = 0;
    int closeMatchWinLeft_ = 0;
    int closeMatchWinTop_ = 0;
    bool useFirstMatch_ = false;

    DiscId disc_;
    QVector<QString> songNames_;
    QVector<QString> extTracks_;
    QStringList categoryList_;
    QList<CdSite> siteList_;
    QList<CloseMatch> closeMatches_;
    CloseMatch selection_;
    bool busy_ = false;
    bool cancelled_ = false;
    std::optional<CdError> lastError_;
};

}  // namespace marlo
