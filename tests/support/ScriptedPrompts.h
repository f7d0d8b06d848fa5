#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>

#include "platform/Prompts.h"

namespace marlo::test {

// Records every prompt shown and answers from a script. Message boxes with no scripted answer
// take their default answer, so an unexpected box never hangs a test; `shown` shows it anyway.
class ScriptedPrompts : public Prompts {
  public:
    enum class Kind { Message, Input, OpenFiles, Folder, Colour };
    struct Shown {
        Kind kind;
        QString title;
        QString text;
        PromptIcon icon = PromptIcon::None;
        PromptButtons buttons = PromptButtons::Ok;
        PromptAnswer defaultAnswer = PromptAnswer::Ok;
    };

    QList<Shown> shown;
    std::deque<PromptAnswer> answers;
    std::deque<QString> inputs;  // a null QString answers Cancel
    std::deque<QStringList> files;
    std::deque<QString> folders;
    std::deque<std::optional<QColor>> colours;

    PromptAnswer message(const QString& title, const QString& text, PromptIcon icon,
                         PromptButtons buttons, PromptAnswer defaultAnswer) override;
    std::optional<QString> input(const QString& title, const QString& label,
                                 const QString& initial) override;
    QStringList openFiles(const QString& title, const QString& folder, const QString& filter,
                          bool multiple) override;
    QString folder(const QString& title, const QString& start) override;
    std::optional<QColor> colour(const QColor& initial) override;

    // Texts of the message boxes shown, in order.
    QStringList messageTexts() const;
    QStringList messageTitles() const;
};

}  // namespace marlo::test
