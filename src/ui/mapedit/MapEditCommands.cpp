#include "mapedit/MapEditCommands.h"

#include "app/AppContext.h"
#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"
#include "mapedit/GeneratorDialogs.h"
#include "mapedit/Generators.h"
#include "mapedit/LevelCheckerPanel.h"
#include "mapedit/StructuralEdits.h"
#include "mapedit/TransformDialogs.h"
#include "mapedit/TransformTools.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMimeData>

#include <filesystem>

namespace morvi::ui {

namespace {

constexpr const char* kLibraryFilter = "Library Files (*.lib)";

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

MapEditCommands::MapEditCommands(CMainFrame& frame)
    : QObject(&frame), m_Frame(frame), m_pChecker(new LevelCheckerPanel(&frame)) {
    frame.addDockWidget(Qt::RightDockWidgetArea, m_pChecker);
    m_pChecker->hide();
    connect(frame.mdiArea(), &QMdiArea::subWindowActivated, this,
            [this] { m_pChecker->setDocument(m_Frame.activeDocument(), m_Frame.activeView()); });
    frame.setCommandHandler(cmd::kCheckLevel, [this] {
        m_pChecker->setDocument(m_Frame.activeDocument(), m_Frame.activeView());
        m_pChecker->show();
        m_pChecker->raise();
        m_pChecker->refresh();
    });

    install(MapCommand::Insert, [this](CMorviView& view) {
        if (view.document().doc().m_nMode != kModeSector) {
            run(view, "Insert", InsertAtSelection);
            return;
        }
        // Where the mouse was before the dialog came up, not where its OK button is.
        const std::optional<ScreenPoint> mouse = mouseOver(view);
        const auto options =
            InsertPolygonDialog::Ask(&m_Frame, CanInsertInsideSector(view.engine().Context()));
        if (options)
            runAt(view, mouse, "Insert",
                  [&options](const EditContext& ctx) { return InsertPolygon(ctx, *options); });
    });
    install(MapCommand::Delete, "Delete", DeleteSelection);
    install(MapCommand::Cut, "Cut", [this](const EditContext& ctx) {
        EditResult result = Cut(ctx, ClipboardBuffer::Application());
        publish();
        return result;
    });
    install(MapCommand::Copy, "Copy", [this](const EditContext& ctx) {
        EditResult result = Copy(ctx, ClipboardBuffer::Application());
        publish();
        return result;
    });
    install(MapCommand::Paste, "Paste", [this](const EditContext& ctx) { return Paste(ctx, clipboard()); });
    install(MapCommand::Link, "Link", LinkSelection);
    install(MapCommand::Unlink, "Unlink", UnlinkSelection);
    install(MapCommand::Extrude, "Extrude", [](const EditContext& ctx) { return ExtrudeSelection(ctx); });
    install(MapCommand::FlipLeft, "Flip Left",
            [](const EditContext& ctx) { return FlipSectors(ctx, FlipDirection::LeftToRight); });
    install(MapCommand::FlipTop, "Flip Top",
            [](const EditContext& ctx) { return FlipSectors(ctx, FlipDirection::TopToBottom); });
    install(MapCommand::RotateLeft, "Rotate Left",
            [](const EditContext& ctx) { return RotateSectors(ctx, 90.0); });
    install(MapCommand::RotateRight, "Rotate Right",
            [](const EditContext& ctx) { return RotateSectors(ctx, -90.0); });
    install(MapCommand::FlipAndRotate, [this](CMorviView& view) {
        const auto choice = FlipRotateDialog::Ask(&m_Frame);
        if (!choice) return;
        run(view, "Flip and Rotate", [&choice](const EditContext& ctx) {
            switch (choice->m_Action) {
            case FlipRotateResult::Action::FlipLeftToRight:
                return FlipSectors(ctx, FlipDirection::LeftToRight);
            case FlipRotateResult::Action::FlipTopToBottom:
                return FlipSectors(ctx, FlipDirection::TopToBottom);
            case FlipRotateResult::Action::Rotate:
                break;
            }
            return RotateSectors(ctx, choice->m_dAngle);
        });
    });
    install(MapCommand::Scaling, [this](CMorviView& view) {
        if (const auto scaling = ScalingDialog::Ask(&m_Frame))
            run(view, "Scaling", [&scaling](const EditContext& ctx) {
                return ScaleSectors(ctx, scaling->m_dScale, scaling->m_bSnap);
            });
    });
    install(MapCommand::Distribution, [this](CMorviView& view) {
        if (const auto options = DistributionDialog::Ask(&m_Frame))
            run(view, "Distribution",
                [&options](const EditContext& ctx) { return DistributeSectors(ctx, *options); });
    });
    install(MapCommand::Alignment, [this](CMorviView& view) {
        const auto options = AlignmentDialog::Ask(&m_Frame);
        if (!options) return;
        run(view, "Alignment", [&options](const EditContext& ctx) {
            return AlignWalls(ctx, *options, [](std::string_view texture) {
                return AppContext::instance().resources().textureSize(texture);
            });
        });
    });
    install(MapCommand::ChangeOffsets, [this](CMorviView& view) {
        if (const auto offsets = ChangeOffsetsDialog::Ask(&m_Frame))
            run(view, "Change Offsets", [&offsets](const EditContext& ctx) {
                return ChangeOffsets(ctx, offsets->m_dX, offsets->m_dY, offsets->m_dZ);
            });
    });
    const auto passage = [this](MapCommand command, PassageKind kind, const QString& label) {
        install(command, [this, kind, label](CMorviView& view) {
            if (const auto options = PassageDialog::AskFor(&m_Frame, view.engine().Context(), kind))
                run(view, label,
                    [&options, kind](const EditContext& ctx) { return CreatePassage(ctx, kind, *options); });
        });
    };
    passage(MapCommand::CreateDoor, PassageKind::Door, "Create Door");
    passage(MapCommand::CreateStaircase, PassageKind::Staircase, "Create Staircase");
    passage(MapCommand::CreateElevator, PassageKind::Elevator, "Create Elevator");
    install(MapCommand::CreateCylinder, [this](CMorviView& view) {
        if (const auto options = CylinderDialog::Ask(&m_Frame))
            run(view, "Create Cylinder",
                [&options](const EditContext& ctx) { return CreateCylinder(ctx, *options); });
    });
    install(MapCommand::LibraryLoad, [this](CMorviView& view) { loadLibrary(view); });
    install(MapCommand::LibrarySave, [this](CMorviView& view) { saveLibrary(view); });

    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &MapEditCommands::onSystemClipboardChanged);
    onSystemClipboardChanged();
}

const ClipboardBuffer& MapEditCommands::clipboard() const {
    return m_System.empty() ? ClipboardBuffer::Application() : m_System;
}

void MapEditCommands::install(MapCommand command, const QString& label, Operation operation) {
    install(command, [this, label, operation](CMorviView& view) { run(view, label, operation); });
}

void MapEditCommands::install(MapCommand command, std::function<void(CMorviView&)> runner) {
    m_Frame.setCommandHandler(
        static_cast<int>(command),
        [this, command, runner] {
            CMorviView* view = m_Frame.activeView();
            if (!view || !enabled(command)) return;
            if (const char* question = MapCommandConfirmation(command)) {
                if (QMessageBox::question(&m_Frame, "Morvi", QString::fromUtf8(question),
                                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
                    return;
            }
            runner(*view);
        },
        [this, command] { return enabled(command); });
}

bool MapEditCommands::enabled(MapCommand command) const {
    CMorviView* view = m_Frame.activeView();
    return view && IsMapCommandEnabled(view->engine().Context(), command, clipboard());
}

std::optional<ScreenPoint> MapEditCommands::mouseOver(const CMorviView& view) {
    const QPoint at = view.viewport()->mapFromGlobal(QCursor::pos());
    if (!view.viewport()->rect().contains(at)) return std::nullopt;
    return ScreenPoint{at.x(), at.y()};
}

void MapEditCommands::run(CMorviView& view, const QString& label, const Operation& operation) {
    runAt(view, mouseOver(view), label, operation);
}

void MapEditCommands::runAt(CMorviView& view, std::optional<ScreenPoint> mouse, const QString& label,
                            const Operation& operation) {
    // New sectors and objects go where the mouse pointed when the command was given.
    const EditContext ctx = view.engine().ContextAt(mouse);
    const EditResult result = view.document().runEdit(label, [&] { return operation(ctx); });
    // A command that only changed the selection still has every view repaint it.
    if (!result.m_bChanged && result.m_bSelectionChanged) view.document().updateAllViews();
    if (!result.m_strMessage.empty())
        QMessageBox::information(&m_Frame, "Morvi", QString::fromStdString(result.m_strMessage));
}

void MapEditCommands::publish() {
    const auto bytes = ClipboardBuffer::Application().bytes();
    if (bytes.empty()) return;
    auto* data = new QMimeData;
    data->setData(kMimeType, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

void MapEditCommands::onSystemClipboardChanged() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(kMimeType)) {
        m_System.Clear();
        return;
    }
    const QByteArray bytes = data->data(kMimeType);
    m_System.Set(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void MapEditCommands::loadLibrary(CMorviView& view) {
    const std::optional<ScreenPoint> mouse = mouseOver(view);
    const QString path = QFileDialog::getOpenFileName(&m_Frame, "Library, Load", QString(), kLibraryFilter);
    if (path.isEmpty()) return;
    runAt(view, mouse, "Library, Load",
          [&path](const EditContext& ctx) { return LoadLibrary(ctx, ToPath(path), ctx.place()); });
}

void MapEditCommands::saveLibrary(CMorviView& view) {
    QFileDialog dialog(&m_Frame, "Library, Save", QString(), kLibraryFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("lib");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().front();
    if (const Status status = SaveLibrary(view.engine(), ToPath(path)); !status)
        QMessageBox::warning(&m_Frame, "Morvi", QString::fromStdString(status.message()));
}

} // namespace morvi::ui
