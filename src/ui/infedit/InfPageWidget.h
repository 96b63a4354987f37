#pragma once

#include "document/Selection.h"
#include "infedit/InfPages.h"
#include "model/Status.h"

#include <QWidget>

#include <optional>
#include <span>
#include <string>
#include <string_view>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QFormLayout;

namespace morvi {
class CDataLevel;
}

namespace morvi::ui {

// One page of the INF editor's sheet: the controls of one kind of line. The Elevator and Trigger
// pages load a whole item and report every control change as an edit at once; the other pages load
// one line's parameters and write their fields when asked (the editor's "&Update").
class InfPageWidget : public QWidget {
    Q_OBJECT
public:
    // msgText is the level's message text, shown by the text page.
    InfPageWidget(InfPage page, const InfVocabulary& vocabulary, const QString& msgText,
                  QWidget* parent = nullptr);

    InfPage page() const { return m_Page; }

    // The sector lists take the names again (a sector was renamed); choices are kept by name.
    void setSectors(const std::vector<std::string>& names);
    // Elevator and Trigger: every field from the item.
    void loadItem(const CDataInfItem& item);
    // The line pages: the fields from one line's parameters.
    void loadLine(std::string_view parameters);
    // The line pages' fields as an edit of the current line; nothing when the page writes nothing.
    std::optional<InfLineEdit> write() const;
    // "&Selection": values from the map's selection into the page. Returns the edit the Elevator
    // and Trigger pages write at once (nothing for the others), or the refusal to show.
    Status takeSelection(const CDataLevel& level, int mode, std::span<const CMapSelItem> selection,
                         std::optional<InfLineEdit>& edit);

signals:
    // Elevator and Trigger: a control changed and this is what it writes.
    void edited(const morvi::InfLineEdit& edit);

private:
    void buildElevator();
    void buildTrigger();
    void buildLinePage();
    void elevatorChanged(ElevatorControl control);
    void triggerChanged(TriggerControl control);
    void showElevator();
    void showTrigger();
    MessageFields messageFields() const;
    void showMessage(const MessageFields& fields);

    QComboBox* addCombo(const QString& label, const QString& name, std::span<const std::string> items,
                        bool editable);
    QComboBox* addCombo(const QString& label, const QString& name, std::span<const std::string_view> items,
                        bool editable);
    QLineEdit* addEdit(const QString& label, const QString& name);
    QListWidget* addList(const QString& label, const QString& name, const QStringList& items, bool multiple);

    InfPage m_Page;
    InfVocabulary m_Vocabulary;
    QFormLayout* m_pForm = nullptr;

    // Elevator and Trigger.
    ElevatorFields m_Elevator;
    TriggerFields m_Trigger;
    QComboBox* m_pClass = nullptr;
    QComboBox* m_pMaster = nullptr;
    QComboBox* m_pKey = nullptr;
    QComboBox* m_pFlags = nullptr;
    QLineEdit* m_pSpeed = nullptr;
    QLineEdit* m_pAngle = nullptr;
    QLineEdit* m_pCenter = nullptr;
    QLineEdit* m_pStart = nullptr;
    QCheckBox* m_pEventMask = nullptr;
    QListWidget* m_pEvents = nullptr;
    QListWidget* m_pEntities = nullptr;
    QListWidget* m_pEvent = nullptr;
    QListWidget* m_pSectorList = nullptr; // slaves or clients

    // The line pages.
    QComboBox* m_pSector = nullptr;  // target, stop value, message sector, texture sector
    QComboBox* m_pSector2 = nullptr; // adjoin's second sector
    QLineEdit* m_pStop = nullptr;    // stop, value of the sound page, number of the text page
    QLineEdit* m_pWall = nullptr;
    QLineEdit* m_pWall2 = nullptr;
    QLineEdit* m_pFlag = nullptr;
    QLineEdit* m_pTime = nullptr;
    QLineEdit* m_pParam1 = nullptr;
    QLineEdit* m_pParam2 = nullptr;
    QCheckBox* m_pAt = nullptr;
    QButtonGroup* m_pButtons = nullptr; // stop kinds or message words
    QListWidget* m_pSounds = nullptr;
    QPlainTextEdit* m_pMsgText = nullptr;
};

} // namespace morvi::ui
