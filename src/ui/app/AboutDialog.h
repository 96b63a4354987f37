#pragma once

#include <QDialog>

class QTimer;

namespace morvi::ui {

// The "About Morvi" box: the program's icon, its title and version, and OK. Shown at start-up it
// closes itself after a few seconds; from the Help menu it stays until OK.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Normal, StartUp };
    static constexpr int kStartUpMilliseconds = 3000;

    explicit AboutDialog(Mode mode = Mode::Normal, QWidget* parent = nullptr);

    // How long the start-up box stays; the count starts when the box is shown.
    void setAutoCloseInterval(int milliseconds);
    int autoCloseInterval() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTimer* m_pTimer = nullptr;
};

} // namespace morvi::ui
