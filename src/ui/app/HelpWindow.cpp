#include "app/HelpWindow.h"

#include "app/AppPaths.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace morvi::ui {

namespace {

QPointer<HelpWindow> s_pWindow;

struct Heading {
    int m_nLevel = 0;
    QString m_strText;
};

struct Chapter {
    QString m_strFile;
    QString m_strTitle;
    QList<Heading> m_Headings;
};

// ATX headings ("## Text"), skipping fenced code blocks where a '#' starts a comment.
QList<Heading> ReadHeadings(const QString& markdown) {
    static const QRegularExpression heading(QStringLiteral("^(#{1,6})\\s+(.*?)\\s*#*\\s*$"));
    QList<Heading> headings;
    bool inFence = false;
    for (const QString& line : markdown.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("```"))) {
            inFence = !inFence;
            continue;
        }
        if (inFence) continue;
        const QRegularExpressionMatch match = heading.match(line);
        if (match.hasMatch() && !match.captured(2).isEmpty())
            headings.append({static_cast<int>(match.capturedLength(1)), match.captured(2)});
    }
    return headings;
}

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The chapters in the order the contents page links them; any others after, by file name.
QStringList ChapterFiles(const QDir& manual) {
    static const QRegularExpression link(QStringLiteral("\\]\\(([^)#\\s]+\\.md)"));
    QStringList files;
    const QStringList present = manual.entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name);
    auto it = link.globalMatch(ReadText(manual.filePath(QLatin1String(HelpWindow::kContentsPage))));
    while (it.hasNext()) {
        const QString file = it.next().captured(1);
        if (present.contains(file) && !files.contains(file)) files.append(file);
    }
    for (const QString& file : present)
        if (!files.contains(file) && file != QLatin1String(HelpWindow::kContentsPage)) files.append(file);
    files.removeAll(QLatin1String(HelpWindow::kContentsPage));
    return files;
}

Chapter ReadChapter(const QDir& manual, const QString& file) {
    Chapter chapter{file, QFileInfo(file).completeBaseName(), ReadHeadings(ReadText(manual.filePath(file)))};
    if (!chapter.m_Headings.isEmpty() && chapter.m_Headings.first().m_nLevel == 1)
        chapter.m_strTitle = chapter.m_Headings.takeFirst().m_strText;
    return chapter;
}

QString IndexHtml(const QDir& manual) {
    QString html = QStringLiteral("<h1>Help Index</h1>");
    for (const QString& file : ChapterFiles(manual)) {
        const Chapter chapter = ReadChapter(manual, file);
        const QUrl url = QUrl::fromLocalFile(manual.filePath(file));
        html += QStringLiteral("<h2><a href=\"%1\">%2</a></h2><ul>")
                    .arg(url.toString().toHtmlEscaped(), chapter.m_strTitle.toHtmlEscaped());
        for (const Heading& heading : chapter.m_Headings) {
            QUrl target = url;
            target.setFragment(HeadingAnchor(heading.m_strText));
            const QString indent =
                heading.m_nLevel > 2 ? QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;") : QString();
            html += QStringLiteral("<li>%1<a href=\"%2\">%3</a></li>")
                        .arg(indent, target.toString().toHtmlEscaped(), heading.m_strText.toHtmlEscaped());
        }
        html += QStringLiteral("</ul>");
    }
    return html;
}

} // namespace

QString HeadingAnchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber())
            anchor += c;
        else if ((c.isSpace() || c == QLatin1Char('-')) && !anchor.isEmpty() &&
                 !anchor.endsWith(QLatin1Char('-')))
            anchor += QLatin1Char('-');
    }
    while (anchor.endsWith(QLatin1Char('-')))
        anchor.chop(1);
    return anchor;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Morvi Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setOpenExternalLinks(true);
    m_pBrowser->setSearchPaths({ManualDir()});
    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* index = new QPushButton(QStringLiteral("&Index"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, [this] { showPage(QLatin1String(kContentsPage)); });
    connect(index, &QPushButton::clicked, this, &HelpWindow::showIndex);
    connect(back, &QPushButton::clicked, m_pBrowser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_pBrowser, &QTextBrowser::forward);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(m_pBrowser, &QTextBrowser::sourceChanged, this, &HelpWindow::onSourceChanged);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {contents, index, back, forward})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_pBrowser);
    resize(720, 640);
}

HelpWindow* HelpWindow::instance() {
    return s_pWindow.data();
}

HelpWindow* HelpWindow::obtain() {
    if (!s_pWindow) s_pWindow = new HelpWindow;
    s_pWindow->show();
    s_pWindow->raise();
    s_pWindow->activateWindow();
    return s_pWindow.data();
}

HelpWindow* HelpWindow::ShowTopics() {
    HelpWindow* window = obtain();
    window->showPage(QLatin1String(kContentsPage));
    return window;
}

HelpWindow* HelpWindow::ShowIndex() {
    HelpWindow* window = obtain();
    window->showIndex();
    return window;
}

void HelpWindow::showPage(const QString& page) {
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    QUrl url = QUrl::fromLocalFile(QDir(ManualDir()).filePath(hash < 0 ? page : page.left(hash)));
    if (hash >= 0) url.setFragment(page.mid(hash + 1));
    m_pBrowser->setSource(url, QTextDocument::MarkdownResource);
}

void HelpWindow::showIndex() {
    m_pBrowser->setHtml(IndexHtml(QDir(ManualDir())));
}

QString HelpWindow::currentPage() const {
    const QUrl source = m_pBrowser->source();
    return source.isEmpty() ? QString() : QFileInfo(source.toLocalFile()).fileName();
}

void HelpWindow::onSourceChanged(const QUrl& url) {
    if (url.hasFragment()) scrollToHeading(url.fragment());
}

// Markdown headings carry no named anchors, so the index's "chapter#heading" links are matched
// against the headings' texts.
void HelpWindow::scrollToHeading(const QString& anchor) {
    QTextDocument* document = m_pBrowser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || HeadingAnchor(block.text()) != anchor) continue;
        const QRectF box = document->documentLayout()->blockBoundingRect(block);
        m_pBrowser->verticalScrollBar()->setValue(static_cast<int>(box.top()));
        return;
    }
}

} // namespace morvi::ui
