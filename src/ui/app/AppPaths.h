#pragma once

#include <QString>

namespace morvi::ui {

// Where the program finds what it ships with. The data folder is share/morvi beside the bin
// folder that holds the executable (the build tree and an installed tree look the same); the
// environment variable MORVI_SHARE_DIR overrides it.
QString ShareDir();
// The new-document template "new.mrv".
QString TemplatePath();
// The bundled sample level (sample/sample.mrv) and the demo archives' folder (demo/).
QString SamplePath();
QString DemoDir();
// The tips of the day (tips.txt in the data folder).
QString TipsPath();
// The manual's folder (manual/ in the data folder, or docs/manual of the source tree).
QString ManualDir();

} // namespace morvi::ui
