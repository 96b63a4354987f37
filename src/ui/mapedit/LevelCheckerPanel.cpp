#include "mapedit/LevelCheckerPanel.h"

#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"
#include "mapedit/FindingFocus.h"

#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace morvi::ui {

namespace {

// The line of the empty list carries no finding.
constexpr int kNoFinding = -1;

QStringList LinesOf(const std::vector<LevelFinding>& findings) {
    QStringList lines;
    for (const LevelFinding& f : findings)
        lines << QString::fromStdString(f.m_strText);
    return lines;
}

QStringList LinesOf(const QListWidget& list) {
    QStringList lines;
    for (int i = 0; i < list.count(); ++i)
        lines << list.item(i)->text();
    return lines;
}

} // namespace

LevelCheckerPanel::LevelCheckerPanel(QWidget* parent) : QDockWidget(QStringLiteral("Level Check"), parent) {
    setObjectName(QStringLiteral("LevelCheckerPanel"));
    m_pCheck = new QPushButton(QStringLiteral("Check Level"));
    m_pCheck->setObjectName(QStringLiteral("checkLevel"));
    m_pList = new QListWidget;
    m_pList->setObjectName(QStringLiteral("findings"));
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->addWidget(m_pCheck, 0, Qt::AlignLeft);
    layout->addWidget(m_pList);
    setWidget(body);
    m_RefreshTimer.setSingleShot(true);
    m_RefreshTimer.setInterval(0);
    connect(&m_RefreshTimer, &QTimer::timeout, this, &LevelCheckerPanel::refresh);
    connect(m_pCheck, &QPushButton::clicked, this, &LevelCheckerPanel::refresh);
    connect(m_pList, &QListWidget::itemDoubleClicked, this, &LevelCheckerPanel::focusLine);
    refresh();
}

void LevelCheckerPanel::setDocument(MorviDocument* document, CMorviView* view) {
    if (m_pDocument) disconnect(m_pDocument, nullptr, this, nullptr);
    m_pDocument = document;
    m_pView = document ? view : nullptr;
    if (m_pDocument) {
        connect(m_pDocument, &MorviDocument::updated, this, &LevelCheckerPanel::scheduleRefresh);
        connect(m_pDocument, &MorviDocument::modifiedChanged, this, &LevelCheckerPanel::scheduleRefresh);
        connect(m_pDocument, &MorviDocument::historyChanged, this, &LevelCheckerPanel::scheduleRefresh);
        connect(m_pDocument, &QObject::destroyed, this, &LevelCheckerPanel::scheduleRefresh);
    }
    m_pCheck->setEnabled(m_pDocument != nullptr);
    refresh();
}

void LevelCheckerPanel::scheduleRefresh() {
    m_RefreshTimer.start();
}

void LevelCheckerPanel::refresh() {
    m_RefreshTimer.stop();
    if (m_pDocument)
        m_Findings = checkLevel(m_pDocument->level());
    else
        m_Findings.clear();
    showFindings();
}

void LevelCheckerPanel::showFindings() {
    QStringList lines = LinesOf(m_Findings);
    if (m_pDocument && lines.isEmpty()) lines << QStringLiteral("No problems found.");
    // The views' repaint after a double click checks again; an unchanged list keeps its current
    // line and scroll position.
    if (lines == LinesOf(*m_pList)) return;
    m_pList->clear();
    for (int i = 0; i < static_cast<int>(m_Findings.size()); ++i) {
        auto* item = new QListWidgetItem(lines[i], m_pList);
        item->setData(Qt::UserRole, i);
    }
    if (m_Findings.empty() && !lines.isEmpty()) {
        auto* item = new QListWidgetItem(lines.front(), m_pList);
        item->setData(Qt::UserRole, kNoFinding);
        item->setFlags(Qt::ItemIsEnabled);
    }
}

void LevelCheckerPanel::focusLine(QListWidgetItem* item) {
    const int index = item ? item->data(Qt::UserRole).toInt() : kNoFinding;
    if (!m_pDocument || !m_pView || index < 0 || index >= static_cast<int>(m_Findings.size())) return;
    if (!FocusOnFinding(m_pView->engine(), m_Findings[static_cast<std::size_t>(index)])) return;
    m_pDocument->updateAllViews(kHintOther);
    m_pDocument->notifySelectionChanged();
    m_pView->setFocus(Qt::OtherFocusReason);
}

} // namespace morvi::ui
