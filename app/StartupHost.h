#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include "base/Catalogue.h"

namespace marlo {

// What start-up needs of the windows around it. The main window implements it; each call is a
// seam that the window fills with what exists (skins, collection editor and settings dialog
// bring theirs), and tests record the calls to check their order.
class StartupHost {
  public:
    virtual ~StartupHost() = default;

    // The language chooser, shown modally; returns the language it leaves set.
    virtual UiLanguage chooseLanguage(UiLanguage current) = 0;

    virtual void fillServerLists(const QStringList& cdDatabase, const QStringList& lyrics) = 0;
    virtual void sizeToBackground() = 0;
    virtual QSize windowSize() const = 0;      // pixels
    virtual QRect screenGeometry() const = 0;  // pixels
    virtual void moveWindowTwips(float left, float top) = 0;

    // The skin list of the settings dialog; selecting an entry selects that skin.
    virtual void setSkinList(const QStringList& names, int selected) = 0;
    virtual void setZoomFieldEnabled(bool enabled) = 0;
    virtual void applySkin() = 0;
    virtual void showInitialImages() = 0;
    virtual void hideModuleVolumeBars() = 0;

    virtual void setTitleText(const QString& text) = 0;
    virtual void applyEnglishCaptions() = 0;
    virtual void minimise() = 0;
    virtual void openReadme(const QString& path) = 0;

    // The collection editor loads; with `restore` it reopens the remembered collection and hands
    // a restored playback list to the player.
    virtual void loadCollectionEditor(bool restore) = 0;
};

// What shut-down needs of the windows around it.
class ShutdownHost {
  public:
    virtual ~ShutdownHost() = default;
    virtual void stopPlayback() = 0;
    virtual void deleteExtractedMember() = 0;
    virtual void unloadOtherWindows() = 0;
    virtual void releaseWindowShape() = 0;
};

}  // namespace marlo
