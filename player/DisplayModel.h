#pragma once

#include <QObject>
#include <QString>

namespace marlo {

// How a transport button looks; the skin supplies the picture of each look.
enum class ButtonLook { Idle, Playing, Enabled, Disabled };

// What the main window shows of the player. The engine writes it; the window renders it on
// changed() and never reads the engine itself.
class DisplayModel : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    const QString& titel() const { return titel_; }
    const QString& titelTip() const { return titelTip_; }
    const QString& interpret() const { return interpret_; }
    const QString& interpretTip() const { return interpretTip_; }
    const QString& dauer() const { return dauer_; }
    const QString& posit() const { return posit_; }
    // The remote-control window's scrolling text.
    const QString& ticker() const { return ticker_; }
    double barFraction() const { return bar_; }  // 0..1 of `AXP`'s width
    bool vscrollVisible() const { return vscroll_; }
    bool hscrollVisible() const { return hscroll_; }
    ButtonLook play() const { return play_; }
    ButtonLook pause() const { return pause_; }
    ButtonLook stop() const { return stop_; }
    ButtonLook next() const { return next_; }
    ButtonLook previous() const { return previous_; }
    // What plays: windows choose pictures and looks by it without asking the engine.
    bool playing() const { return playing_; }
    bool paused() const { return paused_; }
    bool moduleItem() const { return moduleItem_; }  // the current item is a tracker module

    void setTitel(const QString& text) { set(titel_, text); }
    void setTitelTip(const QString& text) { set(titelTip_, text); }
    void setInterpret(const QString& text) { set(interpret_, text); }
    void setInterpretTip(const QString& text) { set(interpretTip_, text); }
    void setDauer(const QString& text) { set(dauer_, text); }
    void setPosit(const QString& text) { set(posit_, text); }
    void setTicker(const QString& text) { set(ticker_, text); }
    // Clamped to 0..1, so a position past the reported length never overdraws the bar.
    void setBarFraction(double fraction);
    void setVscrollVisible(bool visible) { set(vscroll_, visible); }
    // Shown by the skin loader; the engine only hides it.
    void setHscrollVisible(bool visible) { set(hscroll_, visible); }
    void setPlay(ButtonLook look) { set(play_, look); }
    void setPause(ButtonLook look) { set(pause_, look); }
    void setStop(ButtonLook look) { set(stop_, look); }
    void setNext(ButtonLook look) { set(next_, look); }
    void setPrevious(ButtonLook look) { set(previous_, look); }
    void setPlaying(bool playing) { set(playing_, playing); }
    void setPaused(bool paused) { set(paused_, paused); }
    void setModuleItem(bool module) { set(moduleItem_, module); }
    // Play, Pause and Stop together.
    void setTransport(ButtonLook look);

  signals:
    void changed();

  private:
    template <typename T>
    void set(T& field, const T& value) {
        if (field == value) {
            return;
        }
        field = value;
        emit changed();
    }

    QString titel_, titelTip_, interpret_, interpretTip_, dauer_, posit_, ticker_;
    double bar_ = 0;
    bool vscroll_ = false;
    bool hscroll_ = false;
    ButtonLook play_ = ButtonLook::Idle;
    ButtonLook pause_ = ButtonLook::Idle;
    ButtonLook stop_ = ButtonLook::Idle;
    ButtonLook next_ = ButtonLook::Enabled;
    ButtonLook previous_ = ButtonLook::Enabled;
    bool playing_ = false;
    bool paused_ = false;
    bool moduleItem_ = false;
};

}  // namespace marlo
