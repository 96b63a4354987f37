#pragma once

#include "app/Tips.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;
class QSettings;

namespace morvi::ui {

// The "Tip of the Day" dialog. It reads section "Tip" of the profile when built ("StartUp",
// "FilePos", "TimeStamp"), stores "StartUp" from its check box when closed and the place of the
// next tip when destroyed, so that every showing goes on where the last one stopped.
class TipDialog : public QDialog {
    Q_OBJECT
public:
    // The profile defaults to the application's, the tips file to TipsPath().
    explicit TipDialog(QWidget* parent = nullptr);
    TipDialog(QSettings& profile, const QString& tipsPath, QWidget* parent = nullptr);
    ~TipDialog() override;

    QString tipText() const;
    bool showAtStartUp() const;
    void setShowAtStartUp(bool show);
    bool canShowNext() const;

public slots:
    void showNextTip();
    void done(int result) override;

private:
    void buildLayout();

    QSettings& m_Profile;
    TipFile m_Tips;
    QLabel* m_pTip = nullptr;
    QCheckBox* m_pStartUp = nullptr;
    QPushButton* m_pNext = nullptr;
};

// True when the profile asks for the tip of the day at start-up ("Tip/StartUp" is 0).
bool ShouldShowTipAtStartUp(QSettings& profile);

} // namespace morvi::ui
