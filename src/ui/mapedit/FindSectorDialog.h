#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace morvi {
class CMapEngine;
}

namespace morvi::ui {

class MorviDocument;

// The Find Sector dialog: the level's named sectors in alphabetical order ("sectors" list), narrowed
// by the "filter" box as the user types; OK or a double click on a
// name jumps there in the given view's engine (the sector alone selected, its layer current, the
// view centred on it) and tells the document's views and the selection's listeners. OK without a
// chosen name closes and changes nothing.
//   FindSectorDialog dialog(document, mapView.engine(), mapView);
//   dialog.exec();
class FindSectorDialog : public QDialog {
    Q_OBJECT
public:
    FindSectorDialog(MorviDocument& document, CMapEngine& engine, QWidget* parent = nullptr);

    QListWidget* list() const { return m_pList; }
    QLineEdit* filter() const { return m_pFilter; }

public slots:
    void accept() override;

private:
    MorviDocument& m_Document;
    CMapEngine& m_Engine;
    QLineEdit* m_pFilter = nullptr;
    QListWidget* m_pList = nullptr;
};

} // namespace morvi::ui
