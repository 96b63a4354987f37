#include "mapedit/LevelCheckerPanel.h"

#include "app/AppContext.h"
#include "app/MorviDocument.h"
#include "app/TextEditorWindow.h"
#include "document/LevelSnapshot.h"
#include "infedit/InfEditorWindow.h"
#include "infedit/InfWorkingCopy.h"
#include "mapedit/CMorviView.h"
#include "mapedit/FindingFocus.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <chrono>
#include <map>

namespace morvi::ui {

namespace {

// Lines without a finding: the group headings and the line of an empty list.
constexpr int kNoFinding = -1;
// How long the signals of one command (and a burst of keystrokes) have to settle.
constexpr int kSettleMs = 150;
constexpr int kPollMs = 20;

enum Filter { kAll, kErrors, kWarnings };

bool Shown(const LevelFinding& f, int filter) {
    if (filter == kErrors) return f.m_Severity == LevelFinding::Severity::Error;
    if (filter == kWarnings) return f.m_Severity == LevelFinding::Severity::Warning;
    return true;
}

// What the tree shows, to leave an unchanged tree (its current line, its scroll position) alone.
QStringList Signature(const std::vector<LevelFinding>& findings, int filter) {
    QStringList lines{QString::number(filter)};
    for (const LevelFinding& f : findings)
        lines << QString::fromStdString(f.m_strText);
    return lines;
}

} // namespace

LevelCheckerPanel::LevelCheckerPanel(QWidget* parent) : QDockWidget(QStringLiteral("Level Check"), parent) {
    setObjectName(QStringLiteral("LevelCheckerPanel"));
    m_pCheck = new QPushButton(QStringLiteral("Check Level"));
    m_pCheck->setObjectName(QStringLiteral("checkLevel"));
    m_pFilter = new QComboBox;
    m_pFilter->setObjectName(QStringLiteral("severityFilter"));
    m_pFilter->addItems(
        {QStringLiteral("Errors and warnings"), QStringLiteral("Errors"), QStringLiteral("Warnings")});
    m_pTree = new QTreeWidget;
    m_pTree->setObjectName(QStringLiteral("findings"));
    m_pTree->setHeaderHidden(true);
    m_pTree->setColumnCount(1);
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    auto* row = new QHBoxLayout;
    row->addWidget(m_pCheck);
    row->addWidget(m_pFilter, 1);
    layout->addLayout(row);
    layout->addWidget(m_pTree);
    setWidget(body);
    m_SettleTimer.setSingleShot(true);
    connect(&m_SettleTimer, &QTimer::timeout, this, &LevelCheckerPanel::startCheck);
    m_PollTimer.setInterval(kPollMs);
    connect(&m_PollTimer, &QTimer::timeout, this, &LevelCheckerPanel::collectCheck);
    connect(m_pCheck, &QPushButton::clicked, this, &LevelCheckerPanel::refresh);
    connect(m_pFilter, &QComboBox::currentIndexChanged, this, &LevelCheckerPanel::showFindings);
    connect(m_pTree, &QTreeWidget::itemDoubleClicked, this, &LevelCheckerPanel::focusItem);
    refresh();
}

LevelCheckerPanel::~LevelCheckerPanel() {
    // The worker holds its own snapshot; only its result is waited for.
    if (m_Pending.valid()) m_Pending.wait();
}

void LevelCheckerPanel::setDocument(MorviDocument* document, CMorviView* view) {
    if (document == m_pDocument && (document ? view : nullptr) == m_pView) return;
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
    // Another document's findings must not stay on show while its own are worked out.
    m_Findings.clear();
    showFindings();
    scheduleRefresh();
}

void LevelCheckerPanel::scheduleRefresh() {
    ++m_nChange;
    if (isVisible()) m_SettleTimer.start(kSettleMs);
}

void LevelCheckerPanel::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    if (m_nPendingChange != m_nChange) m_SettleTimer.start(0);
}

void LevelCheckerPanel::refresh() {
    m_SettleTimer.stop();
    // A check under way is out of date once this one has run.
    ++m_nChange;
    if (m_pDocument)
        m_Findings = CheckWholeLevel(m_pDocument->level());
    else
        m_Findings.clear();
    m_nPendingChange = m_nChange;
    showFindings();
}

void LevelCheckerPanel::startCheck() {
    if (m_Pending.valid()) return; // collectCheck starts the next one
    m_nPendingChange = m_nChange;
    if (!m_pDocument) {
        m_Findings.clear();
        showFindings();
        return;
    }
    // The snapshot is the cheap part; restoring it and checking run on the worker.
    m_Pending = std::async(std::launch::async, [snapshot = LevelSnapshot::Capture(m_pDocument->level())] {
        CDataLevel level;
        snapshot.RestoreLevel(level);
        return CheckWholeLevel(level);
    });
    m_PollTimer.start();
}

void LevelCheckerPanel::collectCheck() {
    if (!m_Pending.valid() || m_Pending.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    m_PollTimer.stop();
    std::vector<LevelFinding> findings = m_Pending.get();
    if (m_nPendingChange != m_nChange) {
        if (isVisible()) startCheck();
        return;
    }
    m_Findings = std::move(findings);
    showFindings();
}

void LevelCheckerPanel::showFindings() {
    const int filter = m_pFilter->currentIndex();
    const QStringList signature = Signature(m_Findings, filter) << QString::number(m_pDocument != nullptr);
    if (signature == m_pTree->property("signature").toStringList()) return;
    m_pTree->setProperty("signature", signature);
    m_pTree->clear();
    std::map<LevelFinding::Problem, QTreeWidgetItem*> groups;
    int shown = 0;
    for (int i = 0; i < static_cast<int>(m_Findings.size()); ++i) {
        const LevelFinding& f = m_Findings[static_cast<std::size_t>(i)];
        if (!Shown(f, filter)) continue;
        const bool error = f.m_Severity == LevelFinding::Severity::Error;
        const QIcon icon =
            style()->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning);
        QTreeWidgetItem*& group = groups[f.m_Problem];
        if (!group) {
            group = new QTreeWidgetItem;
            group->setIcon(0, icon);
            group->setData(0, Qt::UserRole, kNoFinding);
        }
        auto* line = new QTreeWidgetItem(group, {QString::fromStdString(f.m_strText)});
        line->setIcon(0, icon);
        line->setToolTip(0, error ? QStringLiteral("Error") : QStringLiteral("Warning"));
        line->setData(0, Qt::UserRole, i);
        ++shown;
    }
    for (auto& [problem, group] : groups) {
        group->setText(
            0, QStringLiteral("%1 (%2)").arg(QLatin1String(ProblemTitle(problem))).arg(group->childCount()));
        m_pTree->addTopLevelItem(group);
        group->setExpanded(true);
    }
    if (!m_pDocument || shown > 0) return;
    const QString text =
        m_Findings.empty()
            ? QStringLiteral("No problems found.")
            : QStringLiteral("Nothing to show: %1 found, none of this kind.")
                  .arg(m_Findings.size() == 1 ? QStringLiteral("1 problem")
                                              : QStringLiteral("%1 problems").arg(m_Findings.size()));
    auto* item = new QTreeWidgetItem(m_pTree, {text});
    item->setData(0, Qt::UserRole, kNoFinding);
    item->setFlags(Qt::ItemIsEnabled);
}

void LevelCheckerPanel::focusItem(QTreeWidgetItem* item) {
    const int index = item ? item->data(0, Qt::UserRole).toInt() : kNoFinding;
    if (!m_pDocument || index < 0 || index >= static_cast<int>(m_Findings.size())) return;
    const LevelFinding& finding = m_Findings[static_cast<std::size_t>(index)];
    // An INF finding opens the INF editor on its item and line (the INF text with the "Native"
    // editor setting).
    if (finding.m_Kind == LevelFinding::Kind::InfItem && !AppContext::instance().settings().m_bInfEditor) {
        OpenTextEditor(*m_pDocument, TextKind::Inf, QString(), window());
        return;
    }
    if (finding.m_Kind == LevelFinding::Kind::InfItem && finding.m_nItem >= 0 &&
        InfEditorAvailable(m_pDocument->level())) {
        InfEditorWindow* editor = InfEditorOf(*m_pDocument);
        if (!editor) editor = OpenInfEditor(*m_pDocument, window());
        if (editor) {
            editor->showLine(finding.m_nItem, finding.m_nLine);
            editor->raise();
            editor->activateWindow();
        }
        return;
    }
    if (!m_pView || !FocusOnFinding(m_pView->engine(), finding)) return;
    m_pDocument->updateAllViews(kHintOther);
    m_pDocument->notifySelectionChanged();
    m_pView->setFocus(Qt::OtherFocusReason);
}

} // namespace morvi::ui
