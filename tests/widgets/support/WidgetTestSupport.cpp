#include "WidgetTestSupport.h"

#include "app/AppContext.h"

#include <QFile>
#include <QStandardPaths>

namespace morvi::ui::testing {

void InitWidgetTests() {
    QStandardPaths::setTestModeEnabled(true);
    qputenv("MORVI_SHARE_DIR", QByteArray(MORVI_SHARE_DIR));
    AppContext& context = AppContext::instance();
    context.profile().clear();
    context.profile().sync();
    context.settings() = Settings();
}

QString TestShareDir() {
    return QStringLiteral(MORVI_SHARE_DIR);
}

QString SampleDocumentPath() {
    return TestShareDir() + "/sample/sample.mrv";
}

QString SampleGobPath() {
    return TestShareDir() + "/sample/sample.gob";
}

} // namespace morvi::ui::testing
