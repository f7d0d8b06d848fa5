#pragma once

#include <QStringList>
#include <QWidget>

class QPlainTextEdit;

namespace marlo {

// The lyrics window: a tool window whose text box `Text1` fills it. It is placed at the top
// right of the screen when made. Closing it with its close box is reported, so the owner can
// clear its lyrics-window flag; hiding it for any other reason is not. Timed lyrics show one
// line per block; the lit line (or word) is drawn in the highlight colour and kept in the middle
// of the box.
class DisplayLyrics : public QWidget {
    Q_OBJECT

  public:
    explicit DisplayLyrics(QWidget* parent = nullptr);

    QPlainTextEdit* text() const { return text_; }

    // Text without lit lines.
    void showText(const QString& text);
    // One line per block, none lit.
    void showLines(const QStringList& lines);
    // Lights a line (-1: none) and within it the characters of one word (length 0: none).
    void light(int line, int wordStart = 0, int wordLength = 0);
    int litLine() const { return litLine_; }

  signals:
    void closedByUser();
    void shownChanged(bool shown);
    // A click on a line of timed lyrics.
    void lineClicked(int line);
    // "+" and "-": the lyrics 100 ms earlier or later.
    void offsetStep(int ms);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Where a line stands in the text box's viewport, across its width.
    QRect lineRect(int line) const;

    QPlainTextEdit* text_;
    bool timed_ = false;
    int litLine_ = -1;
};

}  // namespace marlo
