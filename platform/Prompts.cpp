#include "platform/Prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTextStream>

namespace marlo {
namespace {

QMessageBox::Icon toQtIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Warning:
            return QMessageBox::Warning;
        case PromptIcon::Error:
            return QMessageBox::Critical;
        case PromptIcon::Question:
            return QMessageBox::Question;
        case PromptIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQtButton(PromptAnswer answer) {
    switch (answer) {
        case PromptAnswer::Ok:
            return QMessageBox::Ok;
        case PromptAnswer::Cancel:
            return QMessageBox::Cancel;
        case PromptAnswer::Yes:
            return QMessageBox::Yes;
        case PromptAnswer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons toQtButtons(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::Ok:
            return QMessageBox::Ok;
        case PromptButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case PromptButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case PromptButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

}  // namespace

PromptAnswer QtPrompts::message(const QString& title, const QString& text, PromptIcon icon,
                                PromptButtons buttons, PromptAnswer defaultAnswer) {
    QMessageBox box(toQtIcon(icon), title, text, toQtButtons(buttons), parent_);
    box.setDefaultButton(toQtButton(defaultAnswer));
    switch (box.exec()) {
        case QMessageBox::Ok:
            return PromptAnswer::Ok;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        case QMessageBox::Cancel:
            return PromptAnswer::Cancel;
        default:
            // Closed with the window's close button or Escape.
            return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
    }
}

std::optional<QString> QtPrompts::input(const QString& title, const QString& label,
                                        const QString& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(parent_, title, label, QLineEdit::Normal, initial, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

QStringList QtPrompts::openFiles(const QString& title, const QString& folder, const QString& filter,
                                 bool multiple) {
    if (multiple) {
        return QFileDialog::getOpenFileNames(parent_, title, folder, filter);
    }
    QString file = QFileDialog::getOpenFileName(parent_, title, folder, filter);
    return file.isEmpty() ? QStringList{} : QStringList{file};
}

QString QtPrompts::folder(const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent_, title, start);
}

std::optional<QColor> QtPrompts::colour(const QColor& initial) {
    QColor chosen = QColorDialog::getColor(initial, parent_);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return chosen;
}

PromptAnswer UnattendedPrompts::message(const QString& title, const QString& text, PromptIcon,
                                        PromptButtons, PromptAnswer defaultAnswer) {
    ++messagesShown_;
    if (echo_) {
        QTextStream(stderr) << "message: " << title << ": " << text << "\n";
    }
    return defaultAnswer;
}

}  // namespace marlo
