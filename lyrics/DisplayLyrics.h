#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace marlo {

// The lyrics window: a tool window whose text box `Text1` fills it. It is placed at the top
// right of the screen when made. Closing it with its close box is reported, so the owner can
// clear its lyrics-window flag; hiding it for any other reason is not.
class DisplayLyrics : public QWidget {
    Q_OBJECT

  public:
    explicit DisplayLyrics(QWidget* parent = nullptr);

    QPlainTextEdit* text() const { return text_; }

  signals:
    void closedByUser();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPlainTextEdit* text_;
};

}  // namespace marlo
