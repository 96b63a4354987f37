#include "infedit/InfItemDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvi::ui {

InfItemDialog::InfItemDialog(const InfItemFields& fields, const std::vector<std::string>& sectorNames,
                             const CDataLevel& level, std::span<const CMapSelItem> selection, QWidget* parent)
    : QDialog(parent), m_Level(level), m_Selection(selection.begin(), selection.end()) {
    setObjectName(QStringLiteral("InfItemDialog"));
    setWindowTitle(QStringLiteral("INF Editor Edit"));
    auto* form = new QFormLayout;
    m_pType = new QComboBox(this);
    m_pType->setObjectName(QStringLiteral("type"));
    for (std::string_view type : InfItemTypes())
        m_pType->addItem(QString::fromLatin1(type.data(), static_cast<qsizetype>(type.size())));
    m_pSector = new QComboBox(this);
    m_pSector->setObjectName(QStringLiteral("sector"));
    for (const std::string& name : sectorNames)
        m_pSector->addItem(QString::fromLatin1(name.c_str()));
    m_pWall = new QLineEdit(this);
    m_pWall->setObjectName(QStringLiteral("wall"));
    m_pWall->setValidator(new QIntValidator(this));
    m_pSelection = new QPushButton(tr("&Selection"), this);
    m_pSelection->setObjectName(QStringLiteral("selection"));
    form->addRow(tr("Item"), m_pType);
    form->addRow(tr("Sector"), m_pSector);
    form->addRow(tr("Wall #"), m_pWall);
    form->addRow(QString(), m_pSelection);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pType, &QComboBox::currentIndexChanged, this, [this] { updateEnabled(); });
    connect(m_pSelection, &QPushButton::clicked, this, [this] { takeSelection(); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    show(fields);
}

void InfItemDialog::show(const InfItemFields& fields) {
    m_pType->setCurrentIndex(m_pType->findText(QString::fromLatin1(fields.m_strType.c_str())));
    m_pSector->setCurrentIndex(m_pSector->findText(QString::fromLatin1(fields.m_strName.c_str())));
    m_pWall->setText(fields.m_nNum >= 0 ? QString::number(fields.m_nNum) : QString());
    updateEnabled();
}

InfItemFields InfItemDialog::fields() const {
    InfItemFields fields;
    fields.m_strType = m_pType->currentText().toLatin1().toStdString();
    fields.m_strName =
        m_pSector->currentIndex() >= 0 ? m_pSector->currentText().toLatin1().toStdString() : std::string();
    bool ok = false;
    const int wall = m_pWall->text().toInt(&ok);
    fields.m_nNum = ok ? wall : -1;
    return fields;
}

void InfItemDialog::updateEnabled() {
    const InfItemDialogState state =
        InfItemDialogEnabled(m_pType->currentText().toLatin1().toStdString(), m_Selection.size());
    m_pSector->setEnabled(state.m_bSector);
    m_pWall->setEnabled(state.m_bWall);
    m_pSelection->setEnabled(state.m_bSelection);
}

void InfItemDialog::takeSelection() {
    InfItemFields current = fields();
    if (const Status taken = TakeItemSelection(current, m_Level, m_Selection); !taken) {
        QMessageBox::information(this, QStringLiteral("Morvi"), QString::fromStdString(taken.message()));
        return;
    }
    show(current);
}

} // namespace morvi::ui
