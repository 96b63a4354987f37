#include "properties/PropertiesPane.h"

#include "app/MorviDocument.h"
#include "mapedit/MapTypes.h"
#include "properties/CatalogueDialog.h"
#include "properties/FlagDialog.h"
#include "properties/ObjectCatalogue.h"
#include "resources/BitmapWindow.h"
#include "resources/ResourcePicker.h"
#include "resources/ResourcePreview.h"

#include "app/AppContext.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace morvi::ui {

// A pair of small arrow buttons stepping a field by one within a range.
class UpDownButtons : public QWidget {
public:
    explicit UpDownButtons(QWidget* parent) : QWidget(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (const auto& [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
            auto* button = new QToolButton(this);
            button->setArrowType(arrow);
            button->setFixedSize(14, 10);
            button->setAutoRepeat(true);
            button->setFocusPolicy(Qt::NoFocus);
            layout->addWidget(button);
            QObject::connect(button, &QToolButton::clicked, this, [this, d = delta] {
                if (m_Step) m_Step(d);
            });
        }
    }
    std::function<void(int)> m_Step;
};

namespace {

constexpr int kNoField = -1;

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

bool IsInside(const QWidget* widget, const QWidget* ancestor) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w == ancestor) return true;
    return false;
}

// The texture offsets and the light and ambient fields carry spin buttons.
bool HasSpin(PaneKind kind, std::string_view key) {
    if (kind == PaneKind::Sector)
        return key == "ambient" || key.ends_with("-x-offset") || key.ends_with("-z-offset");
    if (kind == PaneKind::Wall)
        return key == "light" || key.ends_with("-x-offset") || key.ends_with("-y-offset");
    return false;
}

// Sizes for spin ranges when a texture's picture cannot be found: the game's common 64 x 64.
constexpr int kDefaultTextureSide = 64;

} // namespace

PropertiesPane::PropertiesPane(PaneKind kind, MorviDocument& document, QWidget* parent)
    : QWidget(parent), m_eKind(kind), m_Document(document), m_Fields(PaneFields(kind)) {
    setObjectName("PropertiesPane");
    // The pane keeps its width whether or not the scroll bar beside it is shown.
    setMaximumWidth(kWidth);
    build();
    connect(&document, &MorviDocument::storeEdits, this, [this] { apply(false); });
    connect(&document, &MorviDocument::selectionChanged, this, &PropertiesPane::refresh);
    connect(&document, &MorviDocument::infChanged, this, [this] {
        if (!m_bApplying) refresh();
    });
    connect(&document, &MorviDocument::updated, this, [this](int hint) {
        if (hint == kHintOther && !m_bApplying) refresh();
    });
    connect(qApp, &QApplication::focusChanged, this, &PropertiesPane::onFocusChanged);
    refresh();
}

PropertiesPane::~PropertiesPane() {
    // The widgets going away move the focus: nothing may reach this half-destroyed pane then.
    disconnect(qApp, nullptr, this, nullptr);
    if (m_pPreview) m_pPreview->deleteLater();
    if (m_pPicker) m_pPicker->deleteLater();
}

void PropertiesPane::build() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    m_pTitle = new QLabel(this);
    QFont bold = m_pTitle->font();
    bold.setBold(true);
    m_pTitle->setFont(bold);
    grid->addWidget(m_pTitle, 0, 0, 1, 3);

    const std::size_t n = m_Fields.size();
    m_Spins.assign(n, nullptr);
    m_SpinRanges.assign(n, SpinRange{});
    m_Buttons.assign(n, nullptr);
    for (std::size_t i = 0; i < n; ++i) {
        const PaneField& f = m_Fields[i];
        const int row = static_cast<int>(i) + 1;
        QWidget* editor = nullptr;
        if (f.m_eType == FieldType::Choice) {
            auto* box = new QComboBox(this);
            for (const std::string_view entry : FieldChoices(m_eKind, static_cast<int>(i)))
                box->addItem(Q(entry));
            connect(box, &QComboBox::activated, this, [this, i](int index) {
                markModified();
                if (m_Fields[i].m_strKey == "class") onClassChosen(index);
            });
            editor = box;
        } else if (f.m_eType == FieldType::Lines) {
            auto* edit = new QPlainTextEdit(this);
            edit->setTabStopDistance(QFontMetricsF(edit->font()).horizontalAdvance(QLatin1Char('x')) * 12);
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            connect(edit, &QPlainTextEdit::textChanged, this, [this] {
                if (!m_bApplying) markModified();
            });
            editor = edit;
        } else {
            auto* edit = new QLineEdit(this);
            connect(edit, &QLineEdit::textEdited, this, &PropertiesPane::markModified);
            connect(edit, &QLineEdit::editingFinished, this, [this] {
                // The object pane shows what it stored; the others keep the text as typed.
                apply(m_eKind == PaneKind::Object);
            });
            editor = edit;
        }
        editor->setObjectName(Q(f.m_strKey));
        // The pane is narrow: fields give up their default widths and share what is left.
        editor->setMinimumWidth(40);
        editor->setSizePolicy(QSizePolicy::Ignored, editor->sizePolicy().verticalPolicy());
        m_Editors.push_back(editor);
        if (f.m_eType == FieldType::Lines) {
            grid->addWidget(editor, row, 0, 1, 3);
        } else {
            auto* label = new QLabel(Q(f.m_strLabel), this);
            label->setBuddy(editor);
            grid->addWidget(label, row, 0);
            // Lists have no button beside them: they take its room too.
            grid->addWidget(editor, row, 1, 1, f.m_eType == FieldType::Choice ? 2 : 1);
        }
        if (HasSpin(m_eKind, f.m_strKey)) addSpin(static_cast<int>(i));
    }

    switch (m_eKind) {
    case PaneKind::Sector:
        addFlagButton(indexOf("flag-1"), static_cast<int>(FlagList::Sector));
        addPickerButton(0);
        addPickerButton(1);
        break;
    case PaneKind::Wall:
        addFlagButton(indexOf("flag-1"), static_cast<int>(FlagList::Wall));
        addFlagButton(indexOf("flag-3"), static_cast<int>(FlagList::Wall3));
        for (int target = 0; target < 4; ++target)
            addPickerButton(target);
        break;
    case PaneKind::Object:
        addPickerButton(0);
        addObjectControls();
        break;
    case PaneKind::Vertex:
        break;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(grid->rowCount(), 1);
}

int PropertiesPane::indexOf(std::string_view key) const {
    return FindPaneField(m_eKind, key);
}

QWidget* PropertiesPane::field(std::string_view key) const {
    const int f = indexOf(key);
    return f < 0 ? nullptr : m_Editors[static_cast<std::size_t>(f)];
}

QString PropertiesPane::text(std::string_view key) const {
    const int f = indexOf(key);
    return f < 0 ? QString() : fieldText(f);
}

void PropertiesPane::setText(std::string_view key, const QString& text) {
    const int f = indexOf(key);
    if (f < 0) return;
    setFieldText(f, text);
    markModified();
}

QString PropertiesPane::title() const {
    return m_pTitle->text();
}
CResourcePicker* PropertiesPane::picker() const {
    return m_pPicker;
}
CBitmapWnd* PropertiesPane::previewWindow() const {
    return m_pPreview;
}

QString PropertiesPane::fieldText(int f) const {
    QWidget* editor = m_Editors[static_cast<std::size_t>(f)];
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) return edit->text();
    if (auto* box = qobject_cast<QComboBox*>(editor)) return box->currentText();
    // The logic text keeps the game's line ends, so that untouched lines compare equal.
    if (auto* lines = qobject_cast<QPlainTextEdit*>(editor))
        return lines->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return QString();
}

void PropertiesPane::setFieldText(int f, const QString& text) {
    QWidget* editor = m_Editors[static_cast<std::size_t>(f)];
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* box = qobject_cast<QComboBox*>(editor)) {
        selectChoice(box, text);
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(editor)) {
        const bool wasApplying = std::exchange(m_bApplying, true);
        lines->setPlainText(QString(text).remove(QLatin1Char('\r')));
        m_bApplying = wasApplying;
    }
}

void PropertiesPane::selectChoice(QComboBox* box, const QString& text) {
    int index = box->findText(text, Qt::MatchFixedString);
    // A value the list does not name (read from a file) is offered as it is, never replaced.
    if (index < 0 && !text.isEmpty()) {
        box->addItem(text);
        index = box->count() - 1;
    }
    if (index >= 0) box->setCurrentIndex(index);
}

void PropertiesPane::markModified() {
    m_bModified = true;
}

void PropertiesPane::refresh() {
    const PaneValues values = ReadPane(m_eKind, m_Document.level(), m_Document.doc().selection());
    m_bHasItem = values.m_bHasItem;
    m_pTitle->setText(QString::fromStdString(values.m_strTitle));
    for (std::size_t i = 0; i < m_Editors.size(); ++i) {
        setFieldText(static_cast<int>(i), QString::fromStdString(values.m_Texts[i]));
        m_Editors[i]->setEnabled(m_bHasItem);
        if (m_Buttons[i]) m_Buttons[i]->setEnabled(m_bHasItem);
        if (m_Spins[i]) m_Spins[i]->setEnabled(m_bHasItem);
    }
    if (m_eKind == PaneKind::Object) {
        for (QWidget* w : findChildren<QPushButton*>())
            w->setEnabled(m_bHasItem);
        m_pSequence->setEnabled(m_bHasItem);
        rebuildSequences();
    }
    m_bModified = false;
    updateSpinRanges();
    if (m_nPreviewField == kNoField && !m_PickerFields.empty()) m_nPreviewField = m_PickerFields.front();
    if (m_bHasItem && m_nPreviewField != kNoField) showPreviewOf(m_nPreviewField);
    // An open picker follows the item: it selects the name of the field it fills.
    if (m_pPicker && m_pPicker->isVisible() && m_bHasItem) {
        const int target = m_pPicker->target();
        if (target >= 0 && static_cast<std::size_t>(target) < m_PickerFields.size())
            m_pPicker->retarget(m_eKind == PaneKind::Object ? previewExtension() : QStringLiteral(".bm"),
                                fieldText(m_PickerFields[static_cast<std::size_t>(target)]), target);
    }
}

bool PropertiesPane::apply(bool reload) {
    if (!m_bModified || m_bApplying || !m_bHasItem) return true;
    std::vector<std::string> texts;
    texts.reserve(m_Editors.size());
    for (std::size_t i = 0; i < m_Editors.size(); ++i)
        texts.push_back(fieldText(static_cast<int>(i)).toStdString());
    ApplyOptions options;
    options.m_bMoveCoincidentVertices = AppContext::instance().settings().m_bMoveVertex;
    m_bApplying = true;
    const ApplyResult result = ApplyPaneChange(m_Document.doc(), m_eKind, texts, options);
    m_bApplying = false;
    if (!result.m_Status) {
        QWidget* editor = m_Editors[static_cast<std::size_t>(result.m_nField)];
        m_bApplying = true; // the message box takes the focus: no second apply meanwhile
        QMessageBox::warning(this, "Morvi", QString::fromStdString(result.m_Status.message()));
        m_bApplying = false;
        editor->setFocus();
        return false;
    }
    m_bModified = false;
    if (reload) refresh();
    return true;
}

void PropertiesPane::onFocusChanged(QWidget* old, QWidget* now) {
    // Leaving the pane for another widget of the same window stores what was typed.
    if (!old || !now || !IsInside(old, this) || IsInside(now, this)) return;
    if (now->window() != window()) return;
    apply(false);
}

void PropertiesPane::focusFirstField() {
    for (QWidget* editor : m_Editors) {
        if (editor->isEnabled()) {
            editor->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
    setFocus();
}

// ---- Flags, spins and the picker ------------------------------------------------------------

void PropertiesPane::addFlagButton(int f, int list) {
    auto* button = new QToolButton(this);
    button->setText("...");
    button->setFixedWidth(20);
    button->setObjectName(Q(m_Fields[static_cast<std::size_t>(f)].m_strKey) + "-list");
    static_cast<QGridLayout*>(layout())->addWidget(button, f + 1, 2);
    m_Buttons[static_cast<std::size_t>(f)] = button;
    connect(button, &QToolButton::clicked, this, [this, f, list] {
        bool ok = false;
        const int word = fieldText(f).trimmed().toInt(&ok);
        FlagDialog dialog(static_cast<FlagList>(list), ok ? word : 0, this);
        if (dialog.exec() != QDialog::Accepted) return;
        // The word goes into the level at the pane's next apply.
        setFieldText(f, QString::number(dialog.value()));
        markModified();
    });
}

void PropertiesPane::addPickerButton(int target) {
    const int f = PickerTargetField(m_eKind, target);
    auto* button = new QToolButton(this);
    button->setText("...");
    button->setFixedWidth(20);
    button->setObjectName(Q(m_Fields[static_cast<std::size_t>(f)].m_strKey) + "-pick");
    static_cast<QGridLayout*>(layout())->addWidget(button, f + 1, 2);
    m_Buttons[static_cast<std::size_t>(f)] = button;
    if (m_PickerFields.size() <= static_cast<std::size_t>(target))
        m_PickerFields.resize(static_cast<std::size_t>(target) + 1, kNoField);
    m_PickerFields[static_cast<std::size_t>(target)] = f;
    connect(button, &QToolButton::clicked, this, [this, target] { openPicker(target); });
    // Focusing a texture field shows its texture in the preview window.
    connect(qApp, &QApplication::focusChanged, this, [this, f](QWidget*, QWidget* now) {
        if (now == m_Editors[static_cast<std::size_t>(f)] && m_nPreviewField != f) {
            m_nPreviewField = f;
            showPreviewOf(f);
        }
    });
}

void PropertiesPane::addSpin(int f) {
    auto* spin = new UpDownButtons(this);
    static_cast<QGridLayout*>(layout())->addWidget(spin, f + 1, 2);
    m_Spins[static_cast<std::size_t>(f)] = spin;
    spin->m_Step = [this, f](int delta) { stepSpin(f, delta); };
}

void PropertiesPane::stepSpin(int f, int delta) {
    const SpinRange range = m_SpinRanges[static_cast<std::size_t>(f)];
    const int position = static_cast<int>(fieldText(f).trimmed().toDouble()) + delta;
    if (position < range.m_nMin || position > range.m_nMax) return;
    setFieldText(f, QString::number(position));
    markModified();
    apply(true);
}

void PropertiesPane::updateSpinRanges() {
    // Refreshes come with every change of the level: each texture is decoded once per pane.
    const auto sizeOf = [this](const QString& name, int& width, int& height) {
        width = height = kDefaultTextureSide;
        if (name.isEmpty()) return;
        if (const auto known = m_TextureSizes.constFind(name); known != m_TextureSizes.constEnd()) {
            width = known->width();
            height = known->height();
            return;
        }
        ResourcePreview preview(&m_Document.level(), AppContext::instance().resources());
        if (preview.load(".bm", name.toStdString(), false) && !preview.frames().empty()) {
            width = preview.frames().front().m_Image.width();
            height = preview.frames().front().m_Image.height();
        }
        m_TextureSizes.insert(name, QSize(width, height));
    };
    for (std::size_t i = 0; i < m_Fields.size(); ++i) {
        const std::string_view key = m_Fields[i].m_strKey;
        if (key == "ambient" || key == "light") m_SpinRanges[i] = {0, 32};
    }
    for (std::size_t t = 0; t < m_PickerFields.size() && m_eKind != PaneKind::Object; ++t) {
        const int texture = m_PickerFields[t];
        const std::string key(m_Fields[static_cast<std::size_t>(texture)].m_strKey);
        const std::string slot = key.substr(0, key.find('-'));
        OffsetRanges ranges;
        if (slot == "sign") {
            const CMapSelItem* e =
                m_Document.doc().selection().empty() ? nullptr : &m_Document.doc().selection().front();
            if (e) ranges = SignOffsetRanges(m_Document.level(), e->m_nSector, e->m_nWall);
        } else {
            int width = 0, height = 0;
            if (m_bHasItem) sizeOf(fieldText(texture), width, height);
            ranges = TextureOffsetRanges(width, height);
        }
        const int x = indexOf(slot + "-x-offset");
        const int y = indexOf(slot + (m_eKind == PaneKind::Sector ? "-z-offset" : "-y-offset"));
        if (x >= 0) m_SpinRanges[static_cast<std::size_t>(x)] = ranges.m_X;
        if (y >= 0) m_SpinRanges[static_cast<std::size_t>(y)] = ranges.m_Y;
    }
}

bool PropertiesPane::eventFilter(QObject* watched, QEvent* event) {
    // A preview window the user closed stays closed while this pane lives.
    if (watched == m_pPreview && event->type() == QEvent::Close) m_bPreviewClosed = true;
    return QWidget::eventFilter(watched, event);
}

QString PropertiesPane::previewExtension() const {
    const std::string cls =
        m_eKind == PaneKind::Object ? fieldText(indexOf("class")).toStdString() : std::string();
    return Q(PaneResourceExtension(m_eKind, cls));
}

void PropertiesPane::openPicker(int target) {
    const QString extension = previewExtension();
    if (extension.isEmpty()) return; // spirits and safes have no resource
    if (!m_pPicker) {
        m_pPicker = new CResourcePicker(m_Document, window());
        connect(m_pPicker, &CResourcePicker::picked, this, &PropertiesPane::onPicked);
    }
    m_pPicker->retarget(extension, fieldText(m_PickerFields[static_cast<std::size_t>(target)]), target);
    m_pPicker->show();
    m_pPicker->raise();
}

void PropertiesPane::onPicked(int target, const QString& name, const QString& classText) {
    if (!m_bHasItem) return;
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < m_Editors.size(); ++i)
        texts.push_back(fieldText(static_cast<int>(i)).toStdString());
    if (!ApplyPickerResult(m_eKind, target, name.toStdString(), classText.toStdString(), texts)) return;
    for (std::size_t i = 0; i < m_Editors.size(); ++i)
        if (fieldText(static_cast<int>(i)).toStdString() != texts[i])
            setFieldText(static_cast<int>(i), QString::fromStdString(texts[i]));
    if (m_pSequence) {
        m_pSequence->setCurrentIndex(0);
        rebuildSequences();
    }
    m_nPreviewField = PickerTargetField(m_eKind, target);
    showPreviewOf(m_nPreviewField);
    markModified();
    apply(true);
}

void PropertiesPane::showPreviewOf(int f) {
    const QString name = fieldText(f);
    const QString extension = previewExtension();
    if (name.isEmpty() || extension.isEmpty() || m_bPreviewClosed || !isVisible()) return;
    if (m_pPreview && m_pPreview->isVisible() && m_strPreviewShown == extension + name) return;
    m_strPreviewShown = extension + name;
    if (!m_pPreview) {
        m_pPreview = new CBitmapWnd(m_Document, window());
        m_pPreview->installEventFilter(this);
    }
    m_pPreview->showResource(extension, name);
    if (!m_pPreview->isVisible()) m_pPreview->show();
}

// ---- The object pane's catalogue ------------------------------------------------------------

void PropertiesPane::addObjectControls() {
    auto* grid = static_cast<QGridLayout*>(layout());
    const int logic = indexOf("logic");
    // The sequence list and the three catalogue buttons go above the logic lines.
    QWidget* logicEditor = m_Editors[static_cast<std::size_t>(logic)];
    grid->removeWidget(logicEditor);
    int row = grid->rowCount();
    m_pSequence = new QComboBox(this);
    m_pSequence->setObjectName("sequence");
    m_pSequence->setSizePolicy(QSizePolicy::Ignored, m_pSequence->sizePolicy().verticalPolicy());
    grid->addWidget(new QLabel("Sequence:", this), row, 0);
    grid->addWidget(m_pSequence, row++, 1);
    const std::pair<const char*, std::function<void()>> buttons[] = {
        {"&Object", [this] { chooseFromCatalogue(false); }},
        {"&Logic", [this] { chooseFromCatalogue(true); }},
        {"&Generator",
         [this] {
             setFieldText(indexOf("logic"), Q(GeneratorTemplate()));
             rebuildSequences();
             markModified();
         }},
    };
    for (const auto& [label, run] : buttons) {
        auto* button = new QPushButton(label, this);
        button->setObjectName(QString(label).remove('&'));
        connect(button, &QPushButton::clicked, this, run);
        grid->addWidget(button, row++, 0, 1, 3);
    }
    grid->addWidget(logicEditor, row, 0, 1, 3);
    connect(m_pSequence, &QComboBox::activated, this, [this](int) {
        const QString name = fieldText(indexOf("name"));
        fillLogic(name, m_pSequence->currentIndex());
    });
}

void PropertiesPane::onClassChosen(int index) {
    const QString cls = qobject_cast<QComboBox*>(field("class"))->itemText(index);
    setFieldText(indexOf("name"), Q(NameForChosenClass(cls.toStdString())));
    markModified();
}

void PropertiesPane::chooseFromCatalogue(bool logicOnly) {
    const int nameField = indexOf("name");
    CatalogueDialog dialog(logicOnly ? CatalogueDialog::Mode::Logic : CatalogueDialog::Mode::Object,
                           fieldText(nameField), this);
    if (dialog.exec() != QDialog::Accepted || dialog.fileName().isEmpty()) return;
    const QString chosen = dialog.fileName().toLower();
    if (logicOnly) {
        fillLogic(chosen, 0);
    } else {
        setFieldText(nameField, chosen);
        selectChoice(qobject_cast<QComboBox*>(field("class")), Q(CatalogueClassFor(chosen.toStdString())));
        fillLogic(chosen, m_pSequence->currentIndex());
    }
    markModified();
    showPreviewOf(nameField);
}

void PropertiesPane::fillLogic(const QString& name, int sequence) {
    setFieldText(indexOf("logic"), QString::fromStdString(CatalogueLogicText(name.toStdString(), sequence)));
    rebuildSequences();
    markModified();
}

void PropertiesPane::rebuildSequences() {
    const int remembered = std::max(0, m_pSequence->currentIndex());
    const int count = SequenceEntryCount(fieldText(indexOf("logic")).toStdString(),
                                         fieldText(indexOf("name")).toStdString());
    m_pSequence->clear();
    for (int i = 1; i <= count; ++i)
        m_pSequence->addItem(QString::number(i));
    m_pSequence->setCurrentIndex(remembered < count ? remembered : 0);
}

} // namespace morvi::ui
