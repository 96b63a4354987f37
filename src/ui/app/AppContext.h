#pragma once

#include "app/Settings.h"
#include "resources/ResourceCache.h"
#include "resources/SoundManager.h"

#include <QObject>
#include <QSettings>

#include <memory>

namespace morvi::ui {

class QtSoundOutput;

// What the whole running program shares: the settings (read at start-up, written at exit) and the
// profile they live in. Map engines keep a reference to the settings, so there is exactly one
// context and it outlives every window.
class AppContext : public QObject {
    Q_OBJECT
public:
    static AppContext& instance();

    Settings& settings() { return m_Settings; }
    QSettings& profile();

    // Reads "Preferences" from the profile (start-up) and writes it back (exit).
    void loadSettings();
    void saveSettings();

    // The game's archives as the current game paths find them (their directories are read once).
    ResourceCache& resources();

    // The program's one sound manager, in play-on-load mode (a sound loaded replaces the one
    // playing and starts at once), over the default audio output. Made on first use; without an
    // audio device it loads nothing and says nothing.
    SoundManager& sounds();
    // The audio output that manager plays on, for views that keep sounds of their own.
    SoundOutput& soundOutput();
    // Stops what that manager plays, without making it when there is none yet.
    void stopSounds();

    // Settings that change what the views show were changed: every map view repaints.
    void notifySettingsChanged() { emit settingsChanged(); }

signals:
    void settingsChanged();

private:
    AppContext();
    ~AppContext() override;
    static void ShutDownSounds();

    Settings m_Settings;
    std::unique_ptr<QSettings> m_pProfile;
    ResourceCache m_Resources;
    // Declared after the output it plays on, so that it goes first.
    std::unique_ptr<QtSoundOutput> m_pSoundOutput;
    std::unique_ptr<SoundManager> m_pSounds;
};

} // namespace morvi::ui
