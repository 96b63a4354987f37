#include "app/CChildFrame.h"

#include "app/AppContext.h"
#include "app/CommandIds.h"
#include "app/DialogKit.h"
#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"
#include "properties/PropertiesPane.h"
#include "view3d/View3DWidget.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>

namespace morvi::ui {

CChildFrame::CChildFrame(MorviDocument& document, QWidget* parent)
    : QWidget(parent), m_Document(document), m_pView(new CMorviView(document, this)),
      m_pPaneArea(new QScrollArea(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The pane scrolls when the window is lower than its fields.
    m_pPaneArea->setObjectName("PropertiesArea");
    m_pPaneArea->setWidgetResizable(true);
    m_pPaneArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pPaneArea->setFrameShape(QFrame::NoFrame);
    m_pPaneArea->setFixedWidth(PropertiesPane::kWidth + m_pPaneArea->verticalScrollBar()->sizeHint().width());
    m_pPaneArea->hide();
    layout->addWidget(m_pPaneArea);
    layout->addWidget(m_pView, 1);
    setFocusProxy(m_pView);
    connect(&document, &MorviDocument::pathChanged, this, &CChildFrame::updateCaption);
    connect(&document, &MorviDocument::modifiedChanged, this, &CChildFrame::updateCaption);
    // A mode switch comes with a selection change: the pane of the new mode replaces the old one.
    connect(&document, &MorviDocument::selectionChanged, this, &CChildFrame::syncPane);
    connect(&document, &MorviDocument::selectionChanged, this, &CChildFrame::syncView3D);
    updateCaption();
    setPaneShown(AppContext::instance().settings().m_bProperties);
}

CChildFrame::~CChildFrame() {
    // A full-screen view has no parent to take it along.
    delete m_pView3D;
}

View3DWidget* CChildFrame::view3DWidget() const {
    return m_pView3D;
}

void CChildFrame::syncView3D() {
    const bool wanted = m_Document.doc().m_nMode == kModePerspective;
    if (wanted == !m_pView3D.isNull()) return;
    if (!wanted) return closeView3D();
    const bool game = AppContext::instance().settings().m_b3DGame;
    auto* view = new View3DWidget(m_Document, game, game ? nullptr : this);
    m_pView3D = view;
    m_pView->setView3DWidget(view);
    connect(view, &View3DWidget::statusTextChanged, m_pView, &CMorviView::statusTextChanged);
    // Queued: the view is deleted in answer, which must not happen inside its own event handler.
    connect(
        view, &View3DWidget::stopRequested, this, [this] { m_pView->runCommand(cmd::kSector); },
        Qt::QueuedConnection);
    connect(
        view, &View3DWidget::setupFailed, this,
        [this](const QString& detail) {
            m_pView->runCommand(cmd::kSector);
            QMessageBox box(QMessageBox::Warning, kMessageTitle, View3DWidget::kSetupFailedMessage,
                            QMessageBox::Ok, this);
            box.setDetailedText(detail);
            box.exec();
        },
        Qt::QueuedConnection);
    if (game) {
        view->setWindowTitle(windowTitle());
        view->showFullScreen();
        view->activateWindow();
    } else {
        m_pView->hide();
        layout()->addWidget(view);
        static_cast<QHBoxLayout*>(layout())->setStretchFactor(view, 1);
        setFocusProxy(view);
        view->show();
    }
    view->setFocus(Qt::OtherFocusReason);
}

void CChildFrame::closeView3D() {
    const bool hadFocus = m_pView3D && (m_pView3D->hasFocus() || !m_pView3D->parent());
    delete m_pView3D;
    m_pView->setView3DWidget(nullptr);
    setFocusProxy(m_pView);
    m_pView->show();
    if (hadFocus) {
        activateWindow();
        m_pView->setFocus(Qt::OtherFocusReason);
    }
}

void CChildFrame::updateCaption() {
    // The caption is copied into the main window's title while maximised, where a "[*]"
    // placeholder would show as it is: the mark is spelled out, in front as desktops show it.
    setWindowTitle((m_Document.isModified() ? "*" : "") + m_Document.title());
}

PropertiesPane* CChildFrame::pane() const {
    return m_pPane;
}

void CChildFrame::togglePane() {
    setPaneShown(!m_bPaneShown);
    AppContext::instance().settings().m_bProperties = m_bPaneShown;
}

void CChildFrame::setPaneShown(bool shown) {
    if (!shown && m_pPane) m_pPane->apply(false);
    m_bPaneShown = shown;
    syncPane();
}

void CChildFrame::syncPane() {
    const std::optional<PaneKind> kind = PaneKindForMode(m_Document.doc().m_nMode);
    const bool wanted = m_bPaneShown && kind.has_value();
    if (m_pPane && (!wanted || m_pPane->kind() != *kind)) {
        if (m_pPane->isAncestorOf(QApplication::focusWidget())) m_pView->setFocus();
        delete m_pPaneArea->takeWidget();
    }
    if (wanted && !m_pPane) {
        m_pPane = new PropertiesPane(*kind, m_Document);
        m_pPaneArea->setWidget(m_pPane);
        m_pPane->refresh(); // now that it is shown, the preview may come up
    }
    m_pPaneArea->setVisible(wanted);
}

void CChildFrame::switchFocus() {
    if (m_pPane && m_pPane->isAncestorOf(QApplication::focusWidget()))
        m_pView->setFocus(Qt::ShortcutFocusReason);
    else if (m_pPane)
        m_pPane->focusFirstField();
}

} // namespace morvi::ui
