#include "app/CMorviSheet.h"

#include "app/AppContext.h"
#include "app/AppPaths.h"
#include "app/DialogKit.h"
#include "app/GamePaths.h"
#include "app/MorviDocument.h"
#include "gamefiles/TestArchive.h"
#include "model/StringUtil.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>
#include <optional>

namespace morvi::ui {

namespace {

// What a field refused on OK: the message and the field to put the cursor in.
struct FieldError {
    QString m_strMessage;
    QLineEdit* m_pField = nullptr;
};

// Two exclusive choices in a titled group; the first is checked when first is true.
QGroupBox* ChoiceGroup(const char* title, QRadioButton* a, QRadioButton* b, bool first) {
    auto* group = new QGroupBox(QString::fromUtf8(title));
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(a);
    layout->addWidget(b);
    (first ? a : b)->setChecked(true);
    return group;
}

} // namespace

// ---- Setup ------------------------------------------------------------------------------------

class SetupPage : public QWidget {
public:
    explicit SetupPage(const Settings& settings) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(pathsGroup(settings));
        auto* objects = new QGroupBox(QStringLiteral("Objects and vertices"));
        auto* objectsLayout = new QVBoxLayout(objects);
        objectsLayout->addWidget(
            m_pMoveObjects = CheckBox("Move objects with sectors", "moveObjects", settings.m_bMoveObjects));
        objectsLayout->addWidget(m_pMoveVertex = CheckBox("Move overlapped and linked vertices", "moveVertex",
                                                          settings.m_bMoveVertex));
        objectsLayout->addWidget(m_p3DO =
                                     CheckBox("Show 3DO objects in perspective", "show3DO", settings.m_b3DO));
        layout->addWidget(objects);
        m_pIndividual = Radio("Individual", "infIndividual");
        layout->addWidget(
            ChoiceGroup("INF Editor", m_pIndividual, Radio("Native", "infNative"), settings.m_bInfEditor));
        m_pBlackWhite = Radio("Black && White", "printBlackWhite");
        layout->addWidget(
            ChoiceGroup("Printing", m_pBlackWhite, Radio("Color", "printColor"), settings.m_bBlackWhite));
        layout->addStretch();
    }

    // The switches are stored whatever becomes of the paths; paths that fail the check leave the
    // old ones in place and are reported.
    void store(Settings& settings, QWidget* messageParent) const {
        settings.m_bMoveObjects = m_pMoveObjects->isChecked();
        settings.m_bMoveVertex = m_pMoveVertex->isChecked();
        settings.m_b3DO = m_p3DO->isChecked();
        settings.m_bInfEditor = m_pIndividual->isChecked();
        settings.m_bBlackWhite = m_pBlackWhite->isChecked();
        settings.m_strImageEditor = m_pImageEditor->text().trimmed().toStdString();
        settings.m_strGameCommand = m_pGameCommand->text().trimmed().toStdString();
        const GamePathCheck check =
            CheckGamePaths(m_pCdPath->text().toStdString(), m_pInstall->text().toStdString());
        if (!check.m_Status) {
            QMessageBox::warning(messageParent, kMessageTitle,
                                 QString::fromStdString(check.m_Status.message()));
            return;
        }
        settings.m_strDFPath = check.m_Paths.m_strDFPath;
        settings.m_strInstall = check.m_Paths.m_strInstall;
    }

private:
    // A path field with a "Browse..." button that chooses a folder into it.
    QWidget* withBrowse(QLineEdit* field, const char* name) {
        auto* row = new QWidget;
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(field);
        auto* browse = Named(new QPushButton(QStringLiteral("Browse...")), name);
        layout->addWidget(browse);
        connect(browse, &QPushButton::clicked, this, [this, field] {
            const QString folder =
                QFileDialog::getExistingDirectory(this, QStringLiteral("Choose a Folder"), field->text());
            if (!folder.isEmpty()) field->setText(QDir::toNativeSeparators(folder));
        });
        return row;
    }

    QGroupBox* pathsGroup(const Settings& settings) {
        auto* group = new QGroupBox(QStringLiteral("Paths for Dark Forces"));
        auto* form = new QFormLayout(group);
        m_pCdPath = Named(new QLineEdit(QString::fromStdString(settings.m_strDFPath)), "cdPath");
        m_pInstall = Named(new QLineEdit(QString::fromStdString(settings.m_strInstall)), "installPath");
        form->addRow(QStringLiteral("CD-ROM:"), withBrowse(m_pCdPath, "browseCdPath"));
        form->addRow(QStringLiteral("Installed:"), withBrowse(m_pInstall, "browseInstallPath"));
        // Lets the editor be tried without the game: the bundled demo archives stand in for both.
        auto* demo = Named(new QPushButton(QStringLiteral("Use Demo Resources")), "useDemo");
        connect(demo, &QPushButton::clicked, this, [this] {
            Settings demoPaths;
            UseDemoPaths(demoPaths, DemoDir().toStdString());
            m_pCdPath->setText(QString::fromStdString(demoPaths.m_strDFPath));
            m_pInstall->setText(QString::fromStdString(demoPaths.m_strInstall));
        });
        form->addRow(QString(), demo);
        // Test GOB starts the game through this command; empty runs it in DOSBox.
        m_pGameCommand =
            Named(new QLineEdit(QString::fromStdString(settings.m_strGameCommand)), "gameCommand");
        m_pGameCommand->setPlaceholderText(
            QString::fromUtf8(kDefaultGameCommand.data(), kDefaultGameCommand.size()));
        m_pGameCommand->setToolTip(QStringLiteral(
            "The program that runs Dark Forces for Test GOB, with its arguments. %f stands for the test "
            "archive, %d for the installed folder. Empty runs the game in DOSBox."));
        form->addRow(QStringLiteral("Game command:"), m_pGameCommand);
        // The Auxiliary Item Editor's Edit: empty opens BMPs with the desktop's program.
        m_pImageEditor =
            Named(new QLineEdit(QString::fromStdString(settings.m_strImageEditor)), "imageEditor");
        form->addRow(QStringLiteral("Image editor:"), m_pImageEditor);
        return group;
    }

    QLineEdit* m_pCdPath = nullptr;
    QLineEdit* m_pInstall = nullptr;
    QLineEdit* m_pImageEditor = nullptr;
    QLineEdit* m_pGameCommand = nullptr;
    QCheckBox* m_pMoveObjects = nullptr;
    QCheckBox* m_pMoveVertex = nullptr;
    QCheckBox* m_p3DO = nullptr;
    QRadioButton* m_pIndividual = nullptr;
    QRadioButton* m_pBlackWhite = nullptr;
};

// ---- Level ------------------------------------------------------------------------------------

class LevelPage : public QWidget {
public:
    explicit LevelPage(MorviDocument* document) {
        auto* form = new QFormLayout(this);
        m_pName = Named(new QComboBox, "levelName");
        m_pName->setEditable(true);
        m_pName->addItems({"SECBASE", "TALAY", "SEWERS", "TESTBASE", "GROMAS", "DTENTION", "RAMSHED",
                           "ROBOTICS", "NARSHADA", "JABSHIP", "IMPCITY", "FUELSTAT", "EXECUTOR", "ARC"});
        form->addRow(QStringLiteral("Name:"), m_pName);
        form->addRow(QStringLiteral("Author:"), m_pAuthor = Named(new QLineEdit, "author"));
        form->addRow(QStringLiteral("Music:"), m_pMusic = Named(new QLineEdit, "music"));
        form->addRow(QStringLiteral("Parallax Horizontal:"),
                     m_pParallax1 = Named(new QLineEdit, "parallaxHorizontal"));
        form->addRow(QStringLiteral("Parallax Vertical:"),
                     m_pParallax2 = Named(new QLineEdit, "parallaxVertical"));
        if (document) fill(document->level());
        setEnabled(document != nullptr);
    }

    std::optional<FieldError> validate() const {
        if (!isEnabled()) return std::nullopt;
        for (QLineEdit* field : {m_pParallax1, m_pParallax2})
            if (!ReadReal(field)) return FieldError{QStringLiteral("Please enter a number."), field};
        return std::nullopt;
    }

    // One undo step for the page, made only when a value differs. A refused rename is reported;
    // the other header values are stored all the same.
    void store(MorviDocument& document, QWidget* messageParent) const {
        std::string refusal;
        document.change(QStringLiteral("Level Settings"), [&] {
            CDataLevel& level = document.level();
            unsigned changed = kChangedNothing;
            const std::string name = m_pName->currentText().trimmed().toStdString();
            if (ToUpper(name) != ToUpper(level.GetLevelName())) {
                if (Status renamed = level.RenameLevel(name); !renamed)
                    refusal = renamed.message();
                else
                    changed |= kChangedGeometry | kChangedInf | kChangedMembers;
            }
            const std::string author = m_pAuthor->text().toStdString();
            const std::string music = m_pMusic->text().toStdString();
            const double p1 = *ReadReal(m_pParallax1), p2 = *ReadReal(m_pParallax2);
            double oldP1 = 0.0, oldP2 = 0.0;
            level.GetParallax(oldP1, oldP2);
            if (author != level.m_Lev.m_strAuthor || author != level.m_Inf.m_strAuthor ||
                music != level.m_Lev.m_strMusic || p1 != oldP1 || p2 != oldP2 ||
                p1 != level.m_Inf.m_dParallax1 || p2 != level.m_Inf.m_dParallax2) {
                level.m_Lev.m_strAuthor = author;
                level.m_Inf.m_strAuthor = author;
                level.m_Lev.m_strMusic = music;
                level.SetParallax(p1, p2);
                changed |= kChangedGeometry | kChangedInf;
            }
            return changed;
        });
        if (!refusal.empty())
            QMessageBox::warning(messageParent, kMessageTitle, QString::fromStdString(refusal));
    }

private:
    void fill(const CDataLevel& level) {
        m_pName->setEditText(QString::fromStdString(level.GetLevelName()).toUpper());
        m_pAuthor->setText(QString::fromStdString(level.m_Lev.m_strAuthor));
        m_pMusic->setText(QString::fromStdString(level.m_Lev.m_strMusic));
        double p1 = 0.0, p2 = 0.0;
        level.GetParallax(p1, p2);
        m_pParallax1->setText(QString::number(p1, 'g', 15));
        m_pParallax2->setText(QString::number(p2, 'g', 15));
    }

    QComboBox* m_pName = nullptr;
    QLineEdit* m_pAuthor = nullptr;
    QLineEdit* m_pMusic = nullptr;
    QLineEdit* m_pParallax1 = nullptr;
    QLineEdit* m_pParallax2 = nullptr;
};

// ---- 3D Mode ----------------------------------------------------------------------------------

class Mode3DPage : public QWidget {
public:
    explicit Mode3DPage(const Settings& settings) {
        auto* layout = new QVBoxLayout(this);
        m_pGame = Radio("Game", "modeGame");
        layout->addWidget(
            ChoiceGroup("Mode", Radio("Perspective", "modePerspective"), m_pGame, !settings.m_b3DGame));
        m_pLinear = Radio("Linear", "textureLinear");
        layout->addWidget(ChoiceGroup("Texture Mapping", Radio("Nearest", "textureNearest"), m_pLinear,
                                      settings.m_n3DGameTexturing == 0));
        layout->addWidget(videoGroup(settings.m_n3DGameMode));
        auto* rate = new QFormLayout;
        m_pRate = Named(new QLineEdit(QString::number(settings.m_n3DGameRate)), "frameRate");
        rate->addRow(QStringLiteral("Frame Rate:"), m_pRate);
        layout->addLayout(rate);
        layout->addWidget(m_pFrameText = CheckBox("Display frame and termination text", "frameText",
                                                  settings.m_b3DFrameText));
        layout->addWidget(m_pLighting = CheckBox("Light sectors and walls through the level's colour map",
                                                 "lighting", settings.m_b3DLighting));
        layout->addStretch();
        // The video mode only means something to the game-style view.
        connect(m_pGame, &QRadioButton::toggled, this, [this](bool game) { enableVideoModes(game); });
        enableVideoModes(settings.m_b3DGame);
    }

    std::optional<FieldError> validate() const {
        if (!frameRate())
            return FieldError{QStringLiteral("Please enter an integer between 1 and 100."), m_pRate};
        return std::nullopt;
    }

    void store(Settings& settings) const {
        settings.m_b3DGame = m_pGame->isChecked();
        if (const int mode = m_VideoModes.checkedId(); mode >= 0) settings.m_n3DGameMode = mode;
        settings.m_n3DGameTexturing = m_pLinear->isChecked() ? 1 : 0;
        settings.m_n3DGameRate = *frameRate();
        settings.m_b3DFrameText = m_pFrameText->isChecked();
        settings.m_b3DLighting = m_pLighting->isChecked();
    }

private:
    QGroupBox* videoGroup(int mode) {
        static constexpr std::array<const char*, 6> kModes = {"No Change", "320 x 240", "512 x 384",
                                                              "640 x 480", "800 x 600", "1024 x 768"};
        auto* group = new QGroupBox(QStringLiteral("Video Mode"));
        auto* layout = new QVBoxLayout(group);
        for (int i = 0; i < int(kModes.size()); ++i) {
            auto* button = new QRadioButton(QString::fromLatin1(kModes[std::size_t(i)]));
            button->setObjectName(QStringLiteral("videoMode%1").arg(i));
            m_VideoModes.addButton(button, i);
            layout->addWidget(button);
        }
        if (QAbstractButton* chosen = m_VideoModes.button(mode)) chosen->setChecked(true);
        return group;
    }

    void enableVideoModes(bool enable) {
        for (QAbstractButton* button : m_VideoModes.buttons())
            button->setEnabled(enable);
    }

    std::optional<int> frameRate() const {
        bool ok = false;
        const int rate = m_pRate->text().trimmed().toInt(&ok);
        return (ok && rate >= 1 && rate <= 100) ? std::optional<int>(rate) : std::nullopt;
    }

    QRadioButton* m_pGame = nullptr;
    QRadioButton* m_pLinear = nullptr;
    QButtonGroup m_VideoModes;
    QLineEdit* m_pRate = nullptr;
    QCheckBox* m_pFrameText = nullptr;
    QCheckBox* m_pLighting = nullptr;
};

// ---- The sheet --------------------------------------------------------------------------------

CMorviSheet::CMorviSheet(Settings& settings, MorviDocument* activeDocument, QWidget* parent)
    : QDialog(parent), m_Settings(settings), m_pDocument(activeDocument) {
    setWindowTitle(QStringLiteral("Options"));
    m_pTabs = new QTabWidget(this);
    m_pTabs->addTab(m_pSetup = new SetupPage(settings), QStringLiteral("Setup"));
    m_pTabs->addTab(m_pLevel = new LevelPage(activeDocument), QStringLiteral("Level"));
    m_pTabs->addTab(m_p3D = new Mode3DPage(settings), QStringLiteral("3D Mode"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMorviSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMorviSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTabs);
    layout->addWidget(buttons);
}

CMorviSheet::~CMorviSheet() = default;

bool CMorviSheet::validate() {
    const std::array<std::pair<QWidget*, std::optional<FieldError>>, 2> checks = {
        {{m_pLevel, m_pLevel->validate()}, {m_p3D, m_p3D->validate()}}};
    for (const auto& [page, error] : checks) {
        if (!error) continue;
        m_pTabs->setCurrentWidget(page);
        QMessageBox::warning(this, kMessageTitle, error->m_strMessage);
        error->m_pField->setFocus();
        error->m_pField->selectAll();
        return false;
    }
    return true;
}

void CMorviSheet::accept() {
    if (!validate()) return;
    m_pSetup->store(m_Settings, this);
    if (m_pDocument) m_pLevel->store(*m_pDocument, this);
    m_p3D->store(m_Settings);
    if (m_pDocument) m_pDocument->updateAllViews();
    AppContext::instance().notifySettingsChanged();
    QDialog::accept();
}

} // namespace morvi::ui
