#pragma once

#include "app/Settings.h"

#include <QSettings>

#include <memory>

namespace morvi::ui {

// The profile: morvi.ini in the user's configuration folder (QSettings, INI format), with the
// sections "Preferences", "Tip" and the tool-bar state.
std::unique_ptr<QSettings> OpenProfile();

// Reads every value of "Preferences" with its default when it is missing.
void LoadSettings(QSettings& profile, Settings& settings);
// Writes every value back: the paths as text, the rest as integers. "GroupIcon" is not written.
void SaveSettings(QSettings& profile, const Settings& settings);

} // namespace morvi::ui
