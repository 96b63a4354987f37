#include "app/AboutDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace morvi::ui {

AboutDialog::AboutDialog(Mode mode, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About Morvi"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    auto* title = new QLabel(QStringLiteral("Morvi Version 3.20"), this);
    title->setObjectName(QStringLiteral("title"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(title, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (mode == Mode::StartUp) {
        m_pTimer = new QTimer(this);
        m_pTimer->setSingleShot(true);
        m_pTimer->setInterval(kStartUpMilliseconds);
        connect(m_pTimer, &QTimer::timeout, this, &QDialog::accept);
    }
}

void AboutDialog::setAutoCloseInterval(int milliseconds) {
    if (m_pTimer) m_pTimer->setInterval(milliseconds);
}

int AboutDialog::autoCloseInterval() const {
    return m_pTimer ? m_pTimer->interval() : 0;
}

void AboutDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_pTimer) m_pTimer->start();
}

} // namespace morvi::ui
