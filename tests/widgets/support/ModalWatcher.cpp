#include "ModalWatcher.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace morvi::ui::testing {

ModalWatcher::ModalWatcher(Handler handler) : m_Handler(std::move(handler)) {
    m_Timer.setInterval(5);
    connect(&m_Timer, &QTimer::timeout, this, &ModalWatcher::poll);
    m_Timer.start();
}

void ModalWatcher::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    // A window is handed over once, even if closing it takes another turn of its event loop.
    if (!modal || modal == m_pLast.data() || !modal->isVisible()) return;
    m_pLast = modal;
    ++m_nSeen;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) m_Messages << box->text();
    if (m_Handler) {
        m_Handler(modal);
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        box->done(QMessageBox::Ok);
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    }
}

} // namespace morvi::ui::testing
