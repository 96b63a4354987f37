#pragma once

#include "app/Settings.h"
#include "resources/ResourceCache.h"

#include <QObject>
#include <QSettings>

#include <memory>

namespace morvi::ui {

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

    // Settings that change what the views show were changed: every map view repaints.
    void notifySettingsChanged() { emit settingsChanged(); }

signals:
    void settingsChanged();

private:
    AppContext() = default;

    Settings m_Settings;
    std::unique_ptr<QSettings> m_pProfile;
    ResourceCache m_Resources;
};

} // namespace morvi::ui
