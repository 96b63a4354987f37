#include "app/TextEditorWindow.h"

#include "app/AppContext.h"
#include "app/DialogKit.h"
#include "app/MorviDocument.h"
#include "gamefiles/LevelTexts.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <vector>

namespace morvi::ui {

namespace {

// Every live text editor window, so that a document finds its own.
std::vector<TextEditorWindow*>& Registry() {
    static std::vector<TextEditorWindow*> windows;
    return windows;
}

std::optional<LevelText> LevelTextOf(TextKind kind) {
    switch (kind) {
    case TextKind::Inf:
        return LevelText::Inf;
    case TextKind::Gol:
        return LevelText::Gol;
    case TextKind::Lvl:
        return LevelText::Lvl;
    case TextKind::Msg:
        return LevelText::Msg;
    default:
        return std::nullopt;
    }
}

// Member texts are bytes: Latin-1 keeps every byte as it was through the edit.
std::string ToBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace

TextEditorWindow::TextEditorWindow(MorviDocument& document, TextKind kind, const QString& memberName,
                                   QWidget* parent)
    : QDialog(parent), m_pDocument(&document), m_Kind(kind), m_strMemberName(memberName) {
    setObjectName(QStringLiteral("TextEditorWindow"));
    setModal(false);
    setWindowTitle(titleFor(kind));
    buildLayout();
    loadText();
    resize(600, 440);
    const Settings& settings = AppContext::instance().settings();
    // Without a remembered place the dialog centres itself when first shown.
    if (settings.m_nTextEditorLeft >= 0 && settings.m_nTextEditorTop >= 0)
        move(settings.m_nTextEditorLeft, settings.m_nTextEditorTop);
    connect(&document, &QObject::destroyed, this, [this] { discard(); });
    Registry().push_back(this);
}

TextEditorWindow::~TextEditorWindow() {
    auto& windows = Registry();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

QString TextEditorWindow::titleFor(TextKind kind) {
    static const char* const kNames[] = {"INF", "GOL", "LVL", "MSG", "VUE", "LST"};
    return QString::fromLatin1(kNames[static_cast<int>(kind)]) + QStringLiteral(" Editor");
}

void TextEditorWindow::buildLayout() {
    m_pText = new QPlainTextEdit(this);
    m_pText->setObjectName(QStringLiteral("text"));
    m_pText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(11);
    m_pText->setFont(font);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    // Return belongs to the text: no button may take it as the default.
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TextEditorWindow::accept);
    connect(cancel, &QPushButton::clicked, this, &TextEditorWindow::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(m_pText, 1);
    layout->addLayout(buttons);
}

void TextEditorWindow::loadText() {
    const CDataLevel& level = m_pDocument->level();
    const std::optional<LevelText> which = LevelTextOf(m_Kind);
    const std::optional<std::string> text =
        which ? GetLevelText(level, *which) : GetMemberText(level, m_strMemberName.toStdString());
    const std::string bytes = text.value_or(std::string());
    m_bCrLf = bytes.find("\r\n") != std::string::npos;
    m_pText->setPlainText(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// One undo step, made only when the text differs from the member's: the INF text re-reads the
// INF part, every other text is a member of the archive.
void TextEditorWindow::storeText() {
    QString text = m_pText->toPlainText();
    if (m_bCrLf) text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const std::string bytes = ToBytes(text);
    const std::optional<LevelText> which = LevelTextOf(m_Kind);
    const QString label = titleFor(m_Kind).section(QLatin1Char(' '), 0, 0) + QStringLiteral(" Text");
    m_pDocument->change(label, [&] {
        CDataLevel& level = m_pDocument->level();
        const std::optional<std::string> old =
            which ? GetLevelText(level, *which) : GetMemberText(level, m_strMemberName.toStdString());
        if (old && *old == bytes) return unsigned{kChangedNothing};
        const bool stored = which ? SetLevelText(level, *which, bytes)
                                  : SetMemberText(level, m_strMemberName.toStdString(), bytes);
        if (!stored) return unsigned{kChangedNothing};
        return unsigned{kChangedMembers | (m_Kind == TextKind::Inf ? kChangedInf | kChangedGeometry : 0u)};
    });
}

void TextEditorWindow::storePosition() const {
    Settings& settings = AppContext::instance().settings();
    settings.m_nTextEditorLeft = pos().x();
    settings.m_nTextEditorTop = pos().y();
}

void TextEditorWindow::accept() {
    if (m_bClosing) return;
    if (m_pDocument) storeText();
    storePosition();
    finish(Accepted);
}

void TextEditorWindow::reject() {
    if (!m_bClosing) finish(Rejected);
}

void TextEditorWindow::discard() {
    if (m_bClosing) return;
    storePosition();
    finish(Rejected);
}

void TextEditorWindow::finish(int result) {
    m_bClosing = true;
    QDialog::done(result);
    deleteLater();
}

TextEditorWindow* TextEditorOf(const MorviDocument& document) {
    for (TextEditorWindow* window : Registry())
        if (!window->isClosing() && window->document() == &document) return window;
    return nullptr;
}

TextEditorWindow* OpenTextEditor(MorviDocument& document, TextKind kind, const QString& memberName,
                                 QWidget* parent) {
    if (TextEditorWindow* open = TextEditorOf(document)) open->discard();
    auto* window = new TextEditorWindow(document, kind, memberName, parent);
    ShowInFront(window);
    return window;
}

} // namespace morvi::ui
