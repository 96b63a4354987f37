#include "WidgetTestSupport.h"

#include "app/AppContext.h"
#include "app/CMainFrame.h"
#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"
#include "model/CDataLevel.h"
#include "support/LevelCompare.h"
#include "support/ModalWatcher.h"

#include <QAbstractButton>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>

#include <sys/fsuid.h>
#include <unistd.h>

namespace morvi::ui::testing {

void SelectOnMap(CMorviView& view, MorviDocument& document, int modeCommand,
                 const std::vector<CMapSelItem>& items) {
    view.runCommand(modeCommand);
    view.engine().ClearSelection();
    for (const CMapSelItem& item : items)
        view.engine().AddToSelection(item);
    document.notifySelectionChanged();
}

void MakeChange(MorviDocument& document) {
    document.change(QStringLiteral("Change"), [&] {
        document.level().m_Lev.m_strMusic += "X";
        return unsigned{kChangedGeometry};
    });
}

void SetStandInGamePaths() {
    AppContext::instance().settings().m_strDFPath = "/df";
    AppContext::instance().settings().m_strInstall = "/df";
}

void CloseAllWithoutSaving(CMainFrame& frame) {
    const ModalWatcher no([](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::No)->click();
    });
    frame.closeAllDocuments();
}

void InitWidgetTests() {
    QStandardPaths::setTestModeEnabled(true);
    qputenv("MORVI_SHARE_DIR", QByteArray(MORVI_SHARE_DIR));
    AppContext& context = AppContext::instance();
    context.profile().clear();
    context.profile().sync();
    context.settings() = Settings();
}

QString SampleDocumentPath() {
    return QStringLiteral(MORVI_SHARE_DIR "/sample/sample.mrv");
}

QString SampleGobPath() {
    return QStringLiteral(MORVI_SHARE_DIR "/sample/sample.gob");
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString LevelTexts(CDataLevel& level) {
    const morvi::testing::GameTexts t = morvi::testing::WriteGameTexts(level);
    return QString::fromStdString(t.lev + "\n--O--\n" + t.o + "\n--INF--\n" + t.inf);
}

WithoutFileAdminRights::WithoutFileAdminRights() {
    // The file-system user id of "nobody": a root thread loses its override of permissions.
    if (geteuid() == 0) m_nSaved = setfsuid(65534);
}

WithoutFileAdminRights::~WithoutFileAdminRights() {
    if (m_nSaved >= 0) setfsuid(static_cast<uid_t>(m_nSaved));
}

} // namespace morvi::ui::testing
