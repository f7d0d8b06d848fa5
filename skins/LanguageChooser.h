#pragma once

#include <QDialog>

#include "base/Catalogue.h"

class QPushButton;

namespace marlo {

// "WähleSprache": asks for the program's language at the first start and after a damaged
// configuration. Closing it otherwise keeps the language it was opened with.
class LanguageChooser : public QDialog {
    Q_OBJECT
  public:
    explicit LanguageChooser(UiLanguage current, QWidget* parent = nullptr);
    UiLanguage language() const { return language_; }

    // Shows the chooser modally and returns the language it leaves set.
    static UiLanguage ask(UiLanguage current, QWidget* parent = nullptr);

  private:
    void choose(UiLanguage language);
    UiLanguage language_;
};

}  // namespace marlo
