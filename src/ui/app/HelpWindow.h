#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;
class QUrl;

namespace morvi::ui {

// The manual's window: the Markdown chapters of ManualDir() in a browser with Back, Forward,
// Contents and Index buttons. There is one for the whole application; asking for it again
// raises it.
//
// Wiring: "&Help Topics" (57667) and F1 call HelpWindow::ShowTopics(); "Help &Index" (57666)
// calls HelpWindow::ShowIndex().
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kContentsPage = "index.md";

    // The application's help window showing the contents page, or the index, raised and
    // activated; created on first use.
    static HelpWindow* ShowTopics();
    static HelpWindow* ShowIndex();
    // The application's help window if one is open, else null.
    static HelpWindow* instance();

    // A chapter by file name (in the manual folder), optionally at a heading ("keys.md#editing").
    void showPage(const QString& page);
    // The generated page listing every chapter with its headings.
    void showIndex();

    QTextBrowser* browser() const { return m_pBrowser; }
    // The chapter shown ("keys.md"), or empty on the index page.
    QString currentPage() const;

private:
    explicit HelpWindow(QWidget* parent = nullptr);
    static HelpWindow* obtain();
    void onSourceChanged(const QUrl& url);
    void scrollToHeading(const QString& anchor);

    QTextBrowser* m_pBrowser = nullptr;
};

// The anchor a heading's text gets in links from the index ("Map view keys" -> "map-view-keys").
QString HeadingAnchor(const QString& heading);

} // namespace morvi::ui
