#include "lyrics/DisplayLyrics.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBlock>

#include "base/Catalogue.h"
#include "base/texts/LyricsTexts.h"
#include "platform/Twips.h"

namespace marlo {

DisplayLyrics::DisplayLyrics(QWidget* parent)
    : QWidget(parent, Qt::Tool), text_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("DisplayLyrics"));
    text_->setObjectName(QStringLiteral("Text1"));
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setReadOnly(true);
    text_->installEventFilter(this);
    text_->viewport()->installEventFilter(this);
    setWindowTitle(Catalogue::text(texts::lyrics::kDisplayCaption));
    resize(twipsToPixels(5055), twipsToPixels(5415));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen != nullptr ? screen->geometry().width() : 1024;
    const int margin = twipsToPixels(100);
    move(screenWidth - frameGeometry().width() - margin, margin);
}

void DisplayLyrics::showText(const QString& text) {
    timed_ = false;
    litLine_ = -1;
    text_->setExtraSelections({});
    text_->setPlainText(text);
}

void DisplayLyrics::showLines(const QStringList& lines) {
    showText(lines.join(QLatin1Char('\n')));
    timed_ = true;
    text_->moveCursor(QTextCursor::Start);
}

QRect DisplayLyrics::lineRect(int line) const {
    const QTextBlock block = text_->document()->findBlockByNumber(line);
    if (line < 0 || !block.isValid()) {
        return {};
    }
    QTextCursor end(block);
    end.movePosition(QTextCursor::EndOfBlock);
    const QRect both = text_->cursorRect(QTextCursor(block)) | text_->cursorRect(end);
    return QRect(0, both.top(), text_->viewport()->width(), both.height());
}

void DisplayLyrics::light(int line, int wordStart, int wordLength) {
    // The text box repaints only what it takes to have changed, which misses the lit band: the
    // old and the new line are repainted here, and nothing else.
    text_->viewport()->update(lineRect(litLine_));
    litLine_ = line;
    const QTextBlock block = text_->document()->findBlockByNumber(line);
    if (line < 0 || !block.isValid()) {
        text_->setExtraSelections({});
        return;
    }
    const QPalette colours = text_->palette();
    QTextEdit::ExtraSelection whole;
    whole.cursor = QTextCursor(block);
    whole.format.setProperty(QTextFormat::FullWidthSelection, true);
    QList<QTextEdit::ExtraSelection> selections;
    if (wordLength > 0) {
        // Word by word: the line carries a pale band, the word sung now the highlight.
        QColor pale = colours.color(QPalette::Highlight);
        pale.setAlpha(70);
        whole.format.setBackground(pale);
        selections.append(whole);
        QTextEdit::ExtraSelection word;
        word.cursor = QTextCursor(block);
        word.cursor.setPosition(block.position() + wordStart);
        word.cursor.setPosition(block.position() + wordStart + wordLength, QTextCursor::KeepAnchor);
        word.format.setBackground(colours.highlight());
        word.format.setForeground(colours.highlightedText());
        selections.append(word);
    } else {
        whole.format.setBackground(colours.highlight());
        whole.format.setForeground(colours.highlightedText());
        selections.append(whole);
    }
    text_->setExtraSelections(selections);
    // The lit line stays in the middle half of the box, with the lines before and after it in
    // view; the box scrolls only when it leaves that half.
    const QRect lit = lineRect(line);
    const int height = text_->viewport()->height();
    if (lit.top() < height / 4 || lit.bottom() > height * 3 / 4) {
        text_->setTextCursor(QTextCursor(block));
        text_->centerCursor();
    }
    text_->viewport()->update(lineRect(line));
}

bool DisplayLyrics::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonPress && timed_) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton) {
            emit lineClicked(text_->cursorForPosition(press->position().toPoint()).blockNumber());
            return true;
        }
    }
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed == QLatin1String("+") || typed == QLatin1String("-")) {
            emit offsetStep(typed == QLatin1String("+") ? 100 : -100);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DisplayLyrics::resizeEvent(QResizeEvent* event) {
    text_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void DisplayLyrics::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit shownChanged(true);
}

void DisplayLyrics::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit shownChanged(false);
}

void DisplayLyrics::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        emit closedByUser();
    }
    QWidget::closeEvent(event);
}

}  // namespace marlo
