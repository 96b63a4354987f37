#include "infedit/InfPageWidget.h"

#include "model/CDataLevel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

namespace morvi::ui {

namespace {

QString Q(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string S(const QString& text) {
    return text.toLatin1().toStdString();
}

// The entry chosen in a list box, empty when none is.
std::string Chosen(const QComboBox* box) {
    if (!box) return {};
    if (box->isEditable()) return S(box->currentText());
    return box->currentIndex() < 0 ? std::string() : S(box->currentText());
}

// Chooses the entry with exactly that text; none when the text is empty or not in the list (an
// editable box keeps the text typed).
void Choose(QComboBox* box, const std::string& text) {
    if (!box) return;
    const QSignalBlocker block(box);
    const int index = text.empty() ? -1 : box->findText(Q(text), Qt::MatchExactly);
    box->setCurrentIndex(index);
    if (box->isEditable()) box->setEditText(Q(text));
}

std::string ChosenItem(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? std::string() : S(items.front()->text());
}

void ChooseItem(QListWidget* list, const std::string& text) {
    const QSignalBlocker block(list);
    list->clearSelection();
    if (text.empty()) return;
    const QList<QListWidgetItem*> found = list->findItems(Q(text), Qt::MatchExactly);
    if (!found.isEmpty()) {
        list->setCurrentItem(found.front());
        found.front()->setSelected(true);
    }
}

std::uint32_t Bits(const QListWidget* list, std::span<const InfNamedBit> table) {
    std::uint32_t bits = 0;
    for (int i = 0; i < list->count() && i < static_cast<int>(table.size()); ++i)
        if (list->item(i)->isSelected()) bits |= table[static_cast<std::size_t>(i)].m_nValue;
    return bits;
}

void SelectBits(QListWidget* list, std::span<const InfNamedBit> table, std::uint32_t bits) {
    const QSignalBlocker block(list);
    for (int i = 0; i < list->count() && i < static_cast<int>(table.size()); ++i) {
        const std::uint32_t value = table[static_cast<std::size_t>(i)].m_nValue;
        list->item(i)->setSelected((bits & value) == value);
    }
}

std::vector<std::string> SelectedNames(const QListWidget* list) {
    std::vector<std::string> names;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) names.push_back(S(list->item(i)->text()));
    return names;
}

void SelectNames(QListWidget* list, const std::vector<std::string>& names) {
    const QSignalBlocker block(list);
    for (int i = 0; i < list->count(); ++i) {
        const std::string text = S(list->item(i)->text());
        list->item(i)->setSelected(std::find(names.begin(), names.end(), text) != names.end());
    }
}

QStringList Strings(std::span<const std::string> items) {
    QStringList list;
    for (const std::string& item : items)
        list << Q(item);
    return list;
}

QStringList BitNames(std::span<const InfNamedBit> table) {
    QStringList list;
    for (const InfNamedBit& bit : table)
        list << Q(bit.m_Name);
    return list;
}

void SetText(QLineEdit* edit, const std::string& text) {
    if (!edit) return;
    const QSignalBlocker block(edit);
    edit->setText(Q(text));
}

std::string Text(const QLineEdit* edit) {
    return edit ? S(edit->text()) : std::string();
}

// The names of the selected map sectors that have one, each once.
std::vector<std::string> SelectedSectorNames(const CDataLevel& level,
                                             std::span<const CMapSelItem> selection) {
    std::vector<std::string> names;
    const auto& sectors = level.m_Lev.m_pSectors;
    for (const CMapSelItem& item : selection) {
        if (item.m_nSector < 0 || item.m_nSector >= static_cast<int>(sectors.size())) continue;
        const std::string& name = sectors[static_cast<std::size_t>(item.m_nSector)]->m_strName;
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

} // namespace

InfPageWidget::InfPageWidget(InfPage page, const InfVocabulary& vocabulary, const QString& msgText,
                             QWidget* parent)
    : QWidget(parent), m_Page(page), m_Vocabulary(vocabulary) {
    setObjectName(Q(InfPageCaption(page)));
    m_pForm = new QFormLayout(this);
    m_pForm->setContentsMargins(6, 6, 6, 6);
    if (page == InfPage::Elevator)
        buildElevator();
    else if (page == InfPage::Trigger)
        buildTrigger();
    else
        buildLinePage();
    if (page == InfPage::Text) {
        m_pMsgText = new QPlainTextEdit(this);
        m_pMsgText->setObjectName(QStringLiteral("msgText"));
        m_pMsgText->setReadOnly(true);
        m_pMsgText->setLineWrapMode(QPlainTextEdit::NoWrap);
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(11);
        m_pMsgText->setFont(font);
        m_pMsgText->setPlainText(msgText);
        m_pForm->addRow(m_pMsgText);
    }
}

QComboBox* InfPageWidget::addCombo(const QString& label, const QString& name,
                                   std::span<const std::string> items, bool editable) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setEditable(editable);
    box->addItems(Strings(items));
    box->setCurrentIndex(-1);
    m_pForm->addRow(label, box);
    return box;
}

QComboBox* InfPageWidget::addCombo(const QString& label, const QString& name,
                                   std::span<const std::string_view> items, bool editable) {
    std::vector<std::string> strings(items.begin(), items.end());
    return addCombo(label, name, strings, editable);
}

QLineEdit* InfPageWidget::addEdit(const QString& label, const QString& name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    m_pForm->addRow(label, edit);
    return edit;
}

QListWidget* InfPageWidget::addList(const QString& label, const QString& name, const QStringList& items,
                                    bool multiple) {
    auto* list = new QListWidget(this);
    list->setObjectName(name);
    list->addItems(items);
    list->setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection
                                    : QAbstractItemView::SingleSelection);
    if (label.isEmpty())
        m_pForm->addRow(list);
    else
        m_pForm->addRow(label, list);
    return list;
}

// ---- Elevator and Trigger ------------------------------------------------------------------------

void InfPageWidget::buildElevator() {
    m_pClass = addCombo(tr("Class:"), QStringLiteral("class"), kElevatorClasses, false);
    m_pMaster = addCombo(tr("Master:"), QStringLiteral("master"), kMasterChoices, true);
    m_pKey = addCombo(tr("Key:"), QStringLiteral("key"), kKeyChoices, true);
    m_pSpeed = addEdit(tr("Speed:"), QStringLiteral("speed"));
    m_pAngle = addEdit(tr("Angle:"), QStringLiteral("angle"));
    m_pCenter = addEdit(tr("Center:"), QStringLiteral("center"));
    m_pStart = addEdit(tr("Start:"), QStringLiteral("start"));
    m_pFlags = addCombo(tr("Flags:"), QStringLiteral("flags"), kFlagsChoices, true);
    m_pEventMask = new QCheckBox(tr("Event Mask"), this);
    m_pEventMask->setObjectName(QStringLiteral("eventMask"));
    m_pForm->addRow(m_pEventMask);
    m_pEvents = addList(QString(), QStringLiteral("events"), BitNames(kInfEvents), true);
    m_pSectorList = addList(tr("Slave:"), QStringLiteral("slaves"), Strings(m_Vocabulary.m_Sectors), true);

    auto choice = [this](QComboBox* box, std::span<const std::string_view> list, std::string& field,
                         ElevatorControl control) {
        std::string* target = &field;
        auto changed = [this, box, list, target, control] {
            const std::string value = box == m_pClass ? Chosen(box) : ChooseInList(list, Chosen(box));
            if (value == *target && control != ElevatorControl::Class) return;
            *target = value;
            elevatorChanged(control);
        };
        connect(box, &QComboBox::activated, this, changed);
        if (box->lineEdit()) connect(box->lineEdit(), &QLineEdit::editingFinished, this, changed);
    };
    choice(m_pClass, kElevatorClasses, m_Elevator.m_strClass, ElevatorControl::Class);
    choice(m_pMaster, kMasterChoices, m_Elevator.m_strMaster, ElevatorControl::Master);
    choice(m_pKey, kKeyChoices, m_Elevator.m_strKey, ElevatorControl::Key);
    choice(m_pFlags, kFlagsChoices, m_Elevator.m_strFlags, ElevatorControl::Flags);
    auto edit = [this](QLineEdit* line, std::string& field, ElevatorControl control) {
        std::string* target = &field;
        connect(line, &QLineEdit::editingFinished, this, [this, line, target, control] {
            if (Text(line) == *target) return;
            *target = Text(line);
            elevatorChanged(control);
        });
    };
    edit(m_pSpeed, m_Elevator.m_strSpeed, ElevatorControl::Speed);
    edit(m_pAngle, m_Elevator.m_strAngle, ElevatorControl::Angle);
    edit(m_pCenter, m_Elevator.m_strCenter, ElevatorControl::Center);
    edit(m_pStart, m_Elevator.m_strStart, ElevatorControl::Start);
    connect(m_pEventMask, &QCheckBox::clicked, this, [this](bool checked) {
        m_Elevator.m_bEventMask = checked;
        elevatorChanged(ElevatorControl::EventMaskBox);
    });
    connect(m_pEvents, &QListWidget::itemSelectionChanged, this, [this] {
        m_Elevator.m_nEvents = Bits(m_pEvents, kInfEvents);
        elevatorChanged(ElevatorControl::EventList);
    });
    connect(m_pSectorList, &QListWidget::itemSelectionChanged, this, [this] {
        m_Elevator.m_Slaves = SelectedNames(m_pSectorList);
        elevatorChanged(ElevatorControl::Slaves);
    });
}

void InfPageWidget::buildTrigger() {
    m_pClass = addCombo(tr("Class:"), QStringLiteral("class"), kTriggerClasses, false);
    m_pMaster = addCombo(tr("Master:"), QStringLiteral("master"), kMasterChoices, true);
    m_pEventMask = new QCheckBox(tr("Event Mask"), this);
    m_pEventMask->setObjectName(QStringLiteral("eventMask"));
    m_pForm->addRow(m_pEventMask);
    m_pEvents = addList(QString(), QStringLiteral("events"), BitNames(kInfEvents), true);
    m_pEntities = addList(tr("Entity Mask:"), QStringLiteral("entities"), BitNames(kInfEntities), true);
    m_pEvent = addList(tr("Event:"), QStringLiteral("event"), BitNames(kInfEvents), true);
    m_pSectorList = addList(tr("Client:"), QStringLiteral("clients"), Strings(m_Vocabulary.m_Sectors), true);

    connect(m_pClass, &QComboBox::activated, this, [this] {
        m_Trigger.m_strClass = Chosen(m_pClass);
        triggerChanged(TriggerControl::Class);
    });
    auto master = [this] {
        const std::string value = ChooseInList(kMasterChoices, Chosen(m_pMaster));
        if (value == m_Trigger.m_strMaster) return;
        m_Trigger.m_strMaster = value;
        triggerChanged(TriggerControl::Master);
    };
    connect(m_pMaster, &QComboBox::activated, this, master);
    connect(m_pMaster->lineEdit(), &QLineEdit::editingFinished, this, master);
    connect(m_pEventMask, &QCheckBox::clicked, this, [this](bool checked) {
        m_Trigger.m_bEventMask = checked;
        triggerChanged(TriggerControl::EventMaskBox);
    });
    connect(m_pEvents, &QListWidget::itemSelectionChanged, this, [this] {
        m_Trigger.m_nEvents = Bits(m_pEvents, kInfEvents);
        triggerChanged(TriggerControl::EventList);
    });
    connect(m_pEntities, &QListWidget::itemSelectionChanged, this, [this] {
        m_Trigger.m_nEntities = Bits(m_pEntities, kInfEntities);
        triggerChanged(TriggerControl::EntityMask);
    });
    connect(m_pEvent, &QListWidget::itemSelectionChanged, this, [this] {
        m_Trigger.m_nEvent = Bits(m_pEvent, kInfEvents);
        triggerChanged(TriggerControl::Event);
    });
    connect(m_pSectorList, &QListWidget::itemSelectionChanged, this, [this] {
        m_Trigger.m_Clients = SelectedNames(m_pSectorList);
        triggerChanged(TriggerControl::Clients);
    });
}

void InfPageWidget::elevatorChanged(ElevatorControl control) {
    const InfLineEdit edit = ElevatorControlChanged(m_Elevator, control);
    showElevator();
    emit edited(edit);
}

void InfPageWidget::triggerChanged(TriggerControl control) {
    const InfLineEdit edit = TriggerControlChanged(m_Trigger, control);
    showTrigger();
    emit edited(edit);
}

void InfPageWidget::showElevator() {
    Choose(m_pClass, m_Elevator.m_strClass);
    Choose(m_pMaster, m_Elevator.m_strMaster);
    Choose(m_pKey, m_Elevator.m_strKey);
    Choose(m_pFlags, m_Elevator.m_strFlags);
    SetText(m_pSpeed, m_Elevator.m_strSpeed);
    SetText(m_pAngle, m_Elevator.m_strAngle);
    SetText(m_pCenter, m_Elevator.m_strCenter);
    SetText(m_pStart, m_Elevator.m_strStart);
    {
        const QSignalBlocker block(m_pEventMask);
        m_pEventMask->setChecked(m_Elevator.m_bEventMask);
    }
    SelectBits(m_pEvents, kInfEvents, m_Elevator.m_nEvents);
    SelectNames(m_pSectorList, m_Elevator.m_Slaves);
}

void InfPageWidget::showTrigger() {
    Choose(m_pClass, m_Trigger.m_strClass);
    Choose(m_pMaster, m_Trigger.m_strMaster);
    {
        const QSignalBlocker block(m_pEventMask);
        m_pEventMask->setChecked(m_Trigger.m_bEventMask);
    }
    SelectBits(m_pEvents, kInfEvents, m_Trigger.m_nEvents);
    SelectBits(m_pEntities, kInfEntities, m_Trigger.m_nEntities);
    SelectBits(m_pEvent, kInfEvents, m_Trigger.m_nEvent);
    SelectNames(m_pSectorList, m_Trigger.m_Clients);
}

void InfPageWidget::loadItem(const CDataInfItem& item) {
    if (m_Page == InfPage::Elevator) {
        m_Elevator = LoadElevator(item, m_Vocabulary);
        showElevator();
    } else if (m_Page == InfPage::Trigger) {
        m_Trigger = LoadTrigger(item, m_Vocabulary);
        showTrigger();
    }
}

// ---- The line pages ------------------------------------------------------------------------------

void InfPageWidget::buildLinePage() {
    const QStringList sounds =
        Strings(m_Page == InfPage::Sound ? SoundPageList(m_Vocabulary) : m_Vocabulary.m_Sounds);
    auto soundList = [&] {
        m_pSounds = addList(QString(), QStringLiteral("sounds"), sounds, false);
        m_pSounds->setFlow(QListView::TopToBottom);
        m_pSounds->setWrapping(true);
        m_pSounds->setResizeMode(QListView::Adjust);
        m_pSounds->setGridSize(QSize(80, m_pSounds->fontMetrics().height() + 4));
    };
    auto radios = [&](const QStringList& labels) {
        m_pButtons = new QButtonGroup(this);
        auto* row = new QWidget(this);
        // Two columns, filled down the first one first.
        auto* layout = new QGridLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        const int rows = static_cast<int>((labels.size() + 1) / 2);
        for (int i = 0; i < labels.size(); ++i) {
            auto* button = new QRadioButton(labels[i], row);
            button->setObjectName(labels[i]);
            m_pButtons->addButton(button, i);
            layout->addWidget(button, i % rows, i / rows);
        }
        return row;
    };
    switch (m_Page) {
    case InfPage::Chute:
        m_pSector = addCombo(tr("Target:"), QStringLiteral("target"), m_Vocabulary.m_Sectors, false);
        break;
    case InfPage::Stop: {
        m_pAt = new QCheckBox(QStringLiteral("@"), this);
        m_pAt->setObjectName(QStringLiteral("at"));
        m_pForm->addRow(m_pAt);
        m_pSector = addCombo(tr("Value:"), QStringLiteral("value"), m_Vocabulary.m_Sectors, true);
        // Buttons by StopKind: time, hold, terminate, complete.
        QWidget* buttons = radios({QStringLiteral("time"), QStringLiteral("hold"),
                                   QStringLiteral("terminate"), QStringLiteral("complete")});
        m_pForm->addRow(buttons);
        m_pTime = addEdit(tr("Time:"), QStringLiteral("time"));
        m_pButtons->button(1)->setChecked(true);
        m_pTime->setEnabled(false);
        connect(m_pButtons, &QButtonGroup::idToggled, this,
                [this] { m_pTime->setEnabled(m_pButtons->checkedId() == 0); });
        break;
    }
    case InfPage::Adjoin:
        m_pStop = addEdit(tr("stop:"), QStringLiteral("stop"));
        m_pSector = addCombo(tr("sector1:"), QStringLiteral("sector1"), m_Vocabulary.m_Sectors, false);
        m_pWall = addEdit(tr("wall1:"), QStringLiteral("wall1"));
        m_pSector2 = addCombo(tr("sector2:"), QStringLiteral("sector2"), m_Vocabulary.m_Sectors, false);
        m_pWall2 = addEdit(tr("wall2:"), QStringLiteral("wall2"));
        break;
    case InfPage::Message: {
        m_pStop = addEdit(tr("stop:"), QStringLiteral("stop"));
        m_pSector = addCombo(tr("sector:"), QStringLiteral("sector"), m_Vocabulary.m_Sectors, false);
        m_pWall = addEdit(tr("wall:"), QStringLiteral("wall"));
        QStringList labels;
        for (const InfMessageWord& word : kInfMessageWords)
            labels << Q(word.m_Label);
        m_pForm->addRow(radios(labels));
        m_pParam1 = addEdit(tr("Parameter 1:"), QStringLiteral("param1"));
        m_pParam2 = addEdit(tr("Parameter 2:"), QStringLiteral("param2"));
        break;
    }
    case InfPage::Page:
        m_pStop = addEdit(tr("stop:"), QStringLiteral("stop"));
        soundList();
        break;
    case InfPage::Text:
        m_pStop = addEdit(tr("msg #:"), QStringLiteral("number"));
        break;
    case InfPage::Sound:
        m_pStop = addEdit(tr("value:"), QStringLiteral("value"));
        soundList();
        break;
    case InfPage::Level:
        soundList();
        break;
    case InfPage::Texture:
        m_pStop = addEdit(tr("stop:"), QStringLiteral("stop"));
        m_pFlag = addEdit(tr("flag:"), QStringLiteral("flag"));
        m_pSector = addCombo(tr("sector:"), QStringLiteral("sector"), m_Vocabulary.m_Sectors, false);
        break;
    default:
        break;
    }
}

void InfPageWidget::setSectors(const std::vector<std::string>& names) {
    if (names == m_Vocabulary.m_Sectors) return;
    m_Vocabulary.m_Sectors = names;
    for (QComboBox* box : {m_pSector, m_pSector2}) {
        if (!box) continue;
        const std::string chosen = Chosen(box);
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(Strings(names));
        Choose(box, chosen);
    }
    if (m_pSectorList) {
        const std::vector<std::string> chosen = SelectedNames(m_pSectorList);
        {
            const QSignalBlocker block(m_pSectorList);
            m_pSectorList->clear();
            m_pSectorList->addItems(Strings(names));
        }
        SelectNames(m_pSectorList, chosen);
    }
}

MessageFields InfPageWidget::messageFields() const {
    MessageFields fields;
    fields.m_strStop = Text(m_pStop);
    fields.m_strSector = Chosen(m_pSector);
    fields.m_strWall = Text(m_pWall);
    fields.m_nWord = m_pButtons->checkedId();
    fields.m_strParam1 = Text(m_pParam1);
    fields.m_strParam2 = Text(m_pParam2);
    return fields;
}

void InfPageWidget::showMessage(const MessageFields& fields) {
    SetText(m_pStop, fields.m_strStop);
    Choose(m_pSector, fields.m_strSector);
    SetText(m_pWall, fields.m_strWall);
    m_pButtons->setExclusive(false);
    for (QAbstractButton* button : m_pButtons->buttons())
        button->setChecked(m_pButtons->id(button) == fields.m_nWord);
    m_pButtons->setExclusive(true);
    SetText(m_pParam1, fields.m_strParam1);
    SetText(m_pParam2, fields.m_strParam2);
}

void InfPageWidget::loadLine(std::string_view parameters) {
    const InfVocabulary& v = m_Vocabulary;
    switch (m_Page) {
    case InfPage::Chute:
        Choose(m_pSector, LoadChute(parameters, v).m_strTarget);
        break;
    case InfPage::Stop: {
        const StopFields fields = LoadStop(parameters, v);
        m_pAt->setChecked(fields.m_bAt);
        Choose(m_pSector, fields.m_strValue);
        m_pButtons->setExclusive(false);
        const int kind = static_cast<int>(fields.m_Kind) - 1; // StopKind::Time is button 0
        for (QAbstractButton* button : m_pButtons->buttons())
            button->setChecked(m_pButtons->id(button) == kind);
        m_pButtons->setExclusive(true);
        SetText(m_pTime, fields.m_strTime);
        m_pTime->setEnabled(kind == 0);
        break;
    }
    case InfPage::Adjoin: {
        const AdjoinFields fields = LoadAdjoin(parameters, v);
        SetText(m_pStop, fields.m_strStop);
        Choose(m_pSector, fields.m_strSector1);
        SetText(m_pWall, fields.m_strWall1);
        Choose(m_pSector2, fields.m_strSector2);
        SetText(m_pWall2, fields.m_strWall2);
        break;
    }
    case InfPage::Message:
        showMessage(LoadMessage(parameters, v));
        break;
    case InfPage::Page: {
        const PageFields fields = LoadPage(parameters, v);
        SetText(m_pStop, fields.m_strStop);
        ChooseItem(m_pSounds, fields.m_strSound);
        break;
    }
    case InfPage::Text:
        SetText(m_pStop, LoadText(parameters, v).m_strNumber);
        break;
    case InfPage::Sound: {
        const SoundFields fields = LoadSound(parameters, v);
        SetText(m_pStop, fields.m_strValue);
        ChooseItem(m_pSounds, fields.m_strSound);
        break;
    }
    case InfPage::Level:
        ChooseItem(m_pSounds, LoadLevel(parameters, v).m_strSound);
        break;
    case InfPage::Texture: {
        const TextureFields fields = LoadTexture(parameters, v);
        SetText(m_pStop, fields.m_strStop);
        SetText(m_pFlag, fields.m_strFlag);
        Choose(m_pSector, fields.m_strSector);
        break;
    }
    default:
        break;
    }
}

std::optional<InfLineEdit> InfPageWidget::write() const {
    switch (m_Page) {
    case InfPage::Chute:
        return WriteChute({Chosen(m_pSector)});
    case InfPage::Stop: {
        StopFields fields;
        fields.m_bAt = m_pAt->isChecked();
        fields.m_strValue = Chosen(m_pSector);
        fields.m_Kind = static_cast<StopKind>(m_pButtons->checkedId() + 1);
        fields.m_strTime = Text(m_pTime);
        return WriteStop(fields);
    }
    case InfPage::Adjoin:
        return WriteAdjoin(
            {Text(m_pStop), Chosen(m_pSector), Text(m_pWall), Chosen(m_pSector2), Text(m_pWall2)});
    case InfPage::Message:
        return WriteMessage(messageFields());
    case InfPage::Page:
        return WritePage({Text(m_pStop), ChosenItem(m_pSounds)});
    case InfPage::Text:
        return WriteText({Text(m_pStop)});
    case InfPage::Sound:
        return WriteSound({Text(m_pStop), ChosenItem(m_pSounds)});
    case InfPage::Level:
        return WriteLevel({ChosenItem(m_pSounds)});
    case InfPage::Texture:
        return WriteTexture({Text(m_pStop), Text(m_pFlag), Chosen(m_pSector)});
    default:
        return std::nullopt;
    }
}

Status InfPageWidget::takeSelection(const CDataLevel& level, int mode, std::span<const CMapSelItem> selection,
                                    std::optional<InfLineEdit>& edit) {
    edit.reset();
    if (selection.empty()) return Status::Ok();
    const auto& sectors = level.m_Lev.m_pSectors;
    const int sector = selection.front().m_nSector;
    const std::string firstName = sector >= 0 && sector < static_cast<int>(sectors.size())
                                      ? sectors[static_cast<std::size_t>(sector)]->m_strName
                                      : std::string();
    switch (m_Page) {
    case InfPage::Elevator:
    case InfPage::Trigger: {
        const std::vector<std::string> names =
            SelectInList(m_Vocabulary.m_Sectors, SelectedSectorNames(level, selection));
        if (m_Page == InfPage::Elevator) {
            m_Elevator.m_Slaves = names;
            edit = ElevatorControlChanged(m_Elevator, ElevatorControl::Slaves);
            showElevator();
        } else {
            m_Trigger.m_Clients = names;
            edit = TriggerControlChanged(m_Trigger, TriggerControl::Clients);
            showTrigger();
        }
        return Status::Ok();
    }
    case InfPage::Chute:
        Choose(m_pSector, ChooseInList(m_Vocabulary.m_Sectors, firstName));
        return Status::Ok();
    case InfPage::Stop:
        Choose(m_pSector, firstName);
        return Status::Ok();
    case InfPage::Message: {
        MessageFields fields = messageFields();
        if (mode == kModeWall) {
            const Status taken =
                MessageFromSelectedWall(fields, firstName, selection.front().m_nWall, m_Vocabulary);
            if (!taken) return taken;
        } else {
            MessageFromSelectedSector(fields, firstName, m_Vocabulary);
        }
        showMessage(fields);
        return Status::Ok();
    }
    default:
        return Status::Ok();
    }
}

} // namespace morvi::ui
