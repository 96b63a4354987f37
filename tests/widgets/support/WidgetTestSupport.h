#pragma once

#include <QString>

namespace morvi::ui::testing {

// Prepares a widget test program: settings go to a private test profile that starts empty, the
// data folder is the build's share/morvi, and every setting is back at its default.
void InitWidgetTests();

// The build's data folder and its sample level (sample/sample.mrv, sample/sample.gob).
QString TestShareDir();
QString SampleDocumentPath();
QString SampleGobPath();

} // namespace morvi::ui::testing
