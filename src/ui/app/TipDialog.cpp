#include "app/TipDialog.h"

#include "app/AppContext.h"
#include "app/AppPaths.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <filesystem>

namespace morvi::ui {

namespace {

const QString kStartUpKey = QStringLiteral("Tip/StartUp");
const QString kFilePosKey = QStringLiteral("Tip/FilePos");
const QString kTimeStampKey = QStringLiteral("Tip/TimeStamp");

QLabel* WhiteLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

TipDialog::TipDialog(QWidget* parent) : TipDialog(AppContext::instance().profile(), TipsPath(), parent) {}

TipDialog::TipDialog(QSettings& profile, const QString& tipsPath, QWidget* parent)
    : QDialog(parent), m_Profile(profile) {
    setObjectName(QStringLiteral("TipDialog"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    buildLayout();

    TipState state;
    state.m_nStartUp = m_Profile.value(kStartUpKey, 0).toInt();
    state.m_nFilePos = m_Profile.value(kFilePosKey, 0).toLongLong();
    state.m_strTimeStamp = m_Profile.value(kTimeStampKey).toString().toStdString();
    const std::string tip = m_Tips.Start(std::filesystem::path(tipsPath.toStdU16String()), state);
    if (m_Tips.IsOpen()) m_Profile.setValue(kTimeStampKey, QString::fromStdString(state.m_strTimeStamp));
    m_pTip->setText(QString::fromLatin1(tip.data(), static_cast<qsizetype>(tip.size())));
    m_pStartUp->setChecked(state.m_nStartUp == 0);
    m_pNext->setEnabled(m_Tips.IsOpen());
}

TipDialog::~TipDialog() {
    if (!m_Tips.IsOpen()) return;
    const std::int64_t offset = m_Tips.Offset();
    if (offset >= 0) m_Profile.setValue(kFilePosKey, static_cast<qlonglong>(offset));
}

void TipDialog::buildLayout() {
    auto* heading = WhiteLabel(QStringLiteral("Did you know..."), this);
    heading->setObjectName(QStringLiteral("heading"));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    heading->setFont(bold);
    heading->setContentsMargins(12, 12, 12, 6);

    m_pTip = WhiteLabel(QString(), this);
    m_pTip->setObjectName(QStringLiteral("tip"));
    m_pTip->setWordWrap(true);
    m_pTip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pTip->setContentsMargins(12, 6, 12, 12);
    m_pTip->setMinimumSize(360, 110);

    m_pStartUp = new QCheckBox(QStringLiteral("&Show Tips on StartUp"), this);
    m_pStartUp->setObjectName(QStringLiteral("startUp"));
    m_pNext = new QPushButton(QStringLiteral("&Next Tip"), this);
    m_pNext->setObjectName(QStringLiteral("next"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(true);
    connect(m_pNext, &QPushButton::clicked, this, &TipDialog::showNextTip);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* panel = new QVBoxLayout;
    panel->setSpacing(0);
    panel->addWidget(heading);
    panel->addWidget(m_pTip, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pStartUp);
    buttons->addStretch();
    buttons->addWidget(m_pNext);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panel, 1);
    layout->addLayout(buttons);
}

QString TipDialog::tipText() const {
    return m_pTip->text();
}

bool TipDialog::showAtStartUp() const {
    return m_pStartUp->isChecked();
}

void TipDialog::setShowAtStartUp(bool show) {
    m_pStartUp->setChecked(show);
}

bool TipDialog::canShowNext() const {
    return m_pNext->isEnabled();
}

void TipDialog::showNextTip() {
    const std::string tip = m_Tips.Next();
    m_pTip->setText(QString::fromLatin1(tip.data(), static_cast<qsizetype>(tip.size())));
}

void TipDialog::done(int result) {
    // The window's close box and Escape count as Close too: the user's choice is kept either way.
    m_Profile.setValue(kStartUpKey, m_pStartUp->isChecked() ? 0 : 1);
    QDialog::done(result);
}

bool ShouldShowTipAtStartUp(QSettings& profile) {
    return profile.value(kStartUpKey, 0).toInt() == 0;
}

} // namespace morvi::ui
