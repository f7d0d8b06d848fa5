#include "tests/support/ScriptedPrompts.h"

namespace marlo::test {

PromptAnswer ScriptedPrompts::message(const QString& title, const QString& text, PromptIcon icon,
                                      PromptButtons buttons, PromptAnswer defaultAnswer) {
    shown.append({Kind::Message, title, text, icon, buttons, defaultAnswer});
    if (answers.empty()) {
        return defaultAnswer;
    }
    PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::input(const QString& title, const QString& label,
                                              const QString& initial) {
    shown.append({Kind::Input, title, label});
    if (inputs.empty()) {
        return initial;
    }
    const QString answer = inputs.front();
    inputs.pop_front();
    if (answer.isNull()) {
        return std::nullopt;
    }
    return answer;
}

QStringList ScriptedPrompts::openFiles(const QString& title, const QString&, const QString&, bool) {
    shown.append({Kind::OpenFiles, title, {}});
    if (files.empty()) {
        return {};
    }
    QStringList answer = files.front();
    files.pop_front();
    return answer;
}

QString ScriptedPrompts::folder(const QString& title, const QString&) {
    shown.append({Kind::Folder, title, {}});
    if (folders.empty()) {
        return {};
    }
    QString answer = folders.front();
    folders.pop_front();
    return answer;
}

std::optional<QColor> ScriptedPrompts::colour(const QColor&) {
    shown.append({Kind::Colour, {}, {}});
    if (colours.empty()) {
        return std::nullopt;
    }
    auto answer = colours.front();
    colours.pop_front();
    return answer;
}

QStringList ScriptedPrompts::messageTexts() const {
    QStringList texts;
    for (const Shown& s : shown) {
        if (s.kind == Kind::Message) {
            texts << s.text;
        }
    }
    return texts;
}

QStringList ScriptedPrompts::messageTitles() const {
    QStringList titles;
    for (const Shown& s : shown) {
        if (s.kind == Kind::Message) {
            titles << s.title;
        }
    }
    return titles;
}

}  // namespace marlo::test
