#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace marlo {

enum class PromptIcon { None, Information, Warning, Error, Question };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// Every message box and dialog the program shows goes through this one service, so tests can
// script the answers and read back exactly what the user would have seen.
class Prompts {
  public:
    virtual ~Prompts() = default;

    // A message box; returns the button pressed (the default answer when it is closed otherwise).
    virtual PromptAnswer message(const QString& title, const QString& text, PromptIcon icon,
                                 PromptButtons buttons = PromptButtons::Ok,
                                 PromptAnswer defaultAnswer = PromptAnswer::Ok) = 0;

    // An input box; nullopt when it was cancelled.
    virtual std::optional<QString> input(const QString& title, const QString& label,
                                         const QString& initial = {}) = 0;

    // Open-file dialog; empty when cancelled. `filter` uses Qt's "Name (*.a *.b)" form.
    virtual QStringList openFiles(const QString& title, const QString& folder,
                                  const QString& filter, bool multiple) = 0;

    // Folder chooser; empty when cancelled.
    virtual QString folder(const QString& title, const QString& start) = 0;

    // Colour chooser; nullopt when cancelled.
    virtual std::optional<QColor> colour(const QColor& initial) = 0;

    // Convenience for the common OK box.
    void inform(const QString& title, const QString& text, PromptIcon icon) {
        message(title, text, icon, PromptButtons::Ok, PromptAnswer::Ok);
    }
};

// The real dialogs, parented to a window when one is given.
class QtPrompts : public Prompts {
  public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    PromptAnswer message(const QString& title, const QString& text, PromptIcon icon,
                         PromptButtons buttons, PromptAnswer defaultAnswer) override;
    std::optional<QString> input(const QString& title, const QString& label,
                                 const QString& initial) override;
    QStringList openFiles(const QString& title, const QString& folder, const QString& filter,
                          bool multiple) override;
    QString folder(const QString& title, const QString& start) override;
    std::optional<QColor> colour(const QColor& initial) override;

  private:
    QWidget* parent_;
};

// Answers every prompt by itself with its default, for programs without a user (tools,
// benchmarks). With `echo` each message goes to standard error.
class UnattendedPrompts : public Prompts {
  public:
    explicit UnattendedPrompts(bool echo = false) : echo_(echo) {}
    int messagesShown() const { return messagesShown_; }

    PromptAnswer message(const QString& title, const QString& text, PromptIcon icon,
                         PromptButtons buttons, PromptAnswer defaultAnswer) override;
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QStringList openFiles(const QString&, const QString&, const QString&, bool) override {
        return {};
    }
    QString folder(const QString&, const QString&) override { return {}; }
    std::optional<QColor> colour(const QColor&) override { return std::nullopt; }

  private:
    bool echo_;
    int messagesShown_ = 0;
};

}  // namespace marlo
