#include "mapedit/StatisticsDialog.h"

#include "mapedit/MapStatistics.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvi::ui {

namespace {

QLineEdit* CountField(int count, const char* name) {
    auto* field = new QLineEdit(QString::number(count));
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    return field;
}

} // namespace

StatisticsDialog::StatisticsDialog(const CDataLevel& level, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Statistics"));
    const LevelCounts counts = CountLevel(level);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Number of sectors:"), CountField(counts.m_nSectors, "sectors"));
    form->addRow(QStringLiteral("Number of walls:"), CountField(counts.m_nWalls, "walls"));
    form->addRow(QStringLiteral("Number of vertices:"), CountField(counts.m_nVertices, "vertices"));
    form->addRow(QStringLiteral("Number of objects:"), CountField(counts.m_nObjects, "objects"));
    form->addRow(QStringLiteral("Number of INF Definitions:"),
                 CountField(counts.m_nInfDefinitions, "infDefinitions"));

    auto* group = new QGroupBox(QStringLiteral("Illegal/Overlapping vertices"));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("degenerateWalls"));
    // The lines are padded with "%3d"; a fixed-pitch font keeps their columns.
    list->setFont(QFont(QStringLiteral("monospace")));
    for (const std::string& line : DegenerateWallLines(level))
        list->addItem(QString::fromStdString(line));
    (new QVBoxLayout(group))->addWidget(list);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

} // namespace morvi::ui
