#include "app/CChildFrame.h"

#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"

#include <QHBoxLayout>

namespace morvi::ui {

CChildFrame::CChildFrame(MorviDocument& document, QWidget* parent)
    : QWidget(parent), m_Document(document), m_pView(new CMorviView(document, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pView);
    setFocusProxy(m_pView);
    connect(&document, &MorviDocument::pathChanged, this, &CChildFrame::updateCaption);
    connect(&document, &MorviDocument::modifiedChanged, this, &CChildFrame::updateCaption);
    updateCaption();
}

void CChildFrame::updateCaption() {
    // The caption is copied into the main window's title while maximised, where a "[*]"
    // placeholder would show as it is: the mark is spelled out.
    setWindowTitle(m_Document.title() + (m_Document.isModified() ? " *" : ""));
}

} // namespace morvi::ui
