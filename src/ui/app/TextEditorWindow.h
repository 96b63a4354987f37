#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QPlainTextEdit;

namespace morvi {
class CDataLevel;
}

namespace morvi::ui {

class MorviDocument;

// The level members edited as raw text. VUE and LST windows edit the member named when opened.
enum class TextKind { Inf, Gol, Lvl, Msg, Vue, Lst };

// The modeless "Editor" window over one text member of a document's level, in a fixed-pitch font.
// OK stores the text into the member (for INF the INF part is rebuilt from it), marks the document
// modified, remembers the window's place and has the views reload; Cancel discards the text. The
// window deletes itself once closed. Open it through OpenTextEditor, which keeps one per document.
class TextEditorWindow : public QDialog {
    Q_OBJECT
public:
    TextEditorWindow(MorviDocument& document, TextKind kind, const QString& memberName, QWidget* parent);
    ~TextEditorWindow() override;

    static QString titleFor(TextKind kind);

    TextKind kind() const { return m_Kind; }
    MorviDocument* document() const { return m_pDocument; }
    QPlainTextEdit* textEdit() const { return m_pText; }
    // The window is on its way out (OK, Cancel, another editor opened) and edits nothing any more.
    bool isClosing() const { return m_bClosing; }

    // Remembers the window's top-left screen position in "TextEditorLeft"/"TextEditorTop".
    void storePosition() const;
    // Closes the window without storing its text, remembering its place first.
    void discard();

public slots:
    void accept() override;
    void reject() override;

private:
    void buildLayout();
    void loadText();
    void storeText();
    void finish(int result);

    QPointer<MorviDocument> m_pDocument;
    TextKind m_Kind;
    QString m_strMemberName;
    QPlainTextEdit* m_pText = nullptr;
    // The member used CR LF line ends: stored text gets them back.
    bool m_bCrLf = false;
    bool m_bClosing = false;
};

// Opens the text editor of that kind for the document: the window the document already has is told
// to remember its place and closed without storing, then the new one is shown. memberName names
// the member for VUE and LST and is ignored otherwise. The window is deleted when closed and
// when the document is destroyed.
TextEditorWindow* OpenTextEditor(MorviDocument& document, TextKind kind, const QString& memberName,
                                 QWidget* parent);
// The document's open text editor window, or nullptr.
TextEditorWindow* TextEditorOf(const MorviDocument& document);

} // namespace morvi::ui
