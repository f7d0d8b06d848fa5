#pragma once

#include <QString>

#include "skins/SkinLoader.h"

class QLabel;
class QWidget;

namespace marlo {

class DisplayModel;
class Prompts;
class SkinButtons;
class TransCtl;

// Lays skins onto the main window: background `Maske`, outline, buttons, title label, gauges and
// the labels only strip skins show. A skin that fails is reported and "Standard" is used instead;
// when neither loads whole, one of them is laid on without the button pictures that fail.
class WindowSkin {
  public:
    struct Parts {
        QWidget& window;
        TransCtl& maske;
        QLabel& titel;
        SkinButtons& buttons;
        DisplayModel& display;
    };
    WindowSkin(Parts parts, SkinLoader& loader, Prompts& prompts);

    // Selects and lays on the named skin (`SelectSkin`, `ApplySkin`). On failure the skin
    // `fallback` is tried and the user told; `name` then becomes the fallback. Returns false when
    // no skin could be laid on: the window keeps what it showed.
    bool use(QString& name, const QString& fallback, const SkinLoader::ApplyOptions& options);
    // Lays on a skin the settings dialog selected and edited (pictures dropped, not saved). When
    // it fails the window keeps what it showed and the selected skin stays as it was.
    bool useEdited(const SkinDefinition& skin, const SkinLoader::ApplyOptions& options);
    // Tells the user which pictures of these skins do not load (each picture once), or that the
    // skin register cannot be read. For a start at which no skin could be laid on: the window
    // shows its plain buttons. Like the note of a skin laid on without some pictures, it is
    // said once a run.
    void tellMissingPictures(const QStringList& skins);

  private:
    bool selectAndApply(const QString& name, const SkinLoader::ApplyOptions& options,
                        QString& error,
                        SkinLoader::Pictures pictures = SkinLoader::Pictures::Required);
    void tellOnce(const QString& title, const QString& text);
    void layOn(const SkinLook& look);
    void layOnTitle(const TitleLook& look);

    Parts parts_;
    SkinLoader& loader_;
    Prompts& prompts_;
    bool told_ = false;
};

}  // namespace marlo
