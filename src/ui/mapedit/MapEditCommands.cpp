#include "mapedit/MapEditCommands.h"

#include "app/CMainFrame.h"
#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"
#include "mapedit/StructuralEdits.h"
#include "mapedit/TransformTools.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
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

MapEditCommands::MapEditCommands(CMainFrame& frame) : QObject(&frame), m_Frame(frame) {
    install(MapCommand::Insert, [this](CMorviView& view) {
        // Sector mode inserts through the polygon dialog (wired with the generators).
        if (view.document().doc().m_nMode != kModeSector) run(view, "Insert", InsertAtSelection);
    });
    install(MapCommand::Delete, "Delete", DeleteSelection);
    install(MapCommand::Cut, "Cut", [this](CMapEngine& engine) {
        EditResult result = Cut(engine, ClipboardBuffer::Application());
        publish();
        return result;
    });
    install(MapCommand::Copy, "Copy", [this](CMapEngine& engine) {
        EditResult result = Copy(engine, ClipboardBuffer::Application());
        publish();
        return result;
    });
    install(MapCommand::Paste, "Paste", [this](CMapEngine& engine) { return Paste(engine, clipboard()); });
    install(MapCommand::Link, "Link", LinkSelection);
    install(MapCommand::Unlink, "Unlink", UnlinkSelection);
    install(MapCommand::Extrude, "Extrude", [](CMapEngine& engine) { return ExtrudeSelection(engine); });
    install(MapCommand::FlipLeft, "Flip Left",
            [](CMapEngine& engine) { return FlipSectors(engine, FlipDirection::LeftToRight); });
    install(MapCommand::FlipTop, "Flip Top",
            [](CMapEngine& engine) { return FlipSectors(engine, FlipDirection::TopToBottom); });
    install(MapCommand::RotateLeft, "Rotate Left",
            [](CMapEngine& engine) { return RotateSectors(engine, 90.0); });
    install(MapCommand::RotateRight, "Rotate Right",
            [](CMapEngine& engine) { return RotateSectors(engine, -90.0); });
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
    return view && IsMapCommandEnabled(view->engine(), command, clipboard());
}

void MapEditCommands::run(CMorviView& view, const QString& label, const Operation& operation) {
    CMapEngine& engine = view.engine();
    const EditResult result = view.document().runEdit(engine, label, [&] { return operation(engine); });
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
    const QString path = QFileDialog::getOpenFileName(&m_Frame, "Library, Load", QString(), kLibraryFilter);
    if (path.isEmpty()) return;
    run(view, "Library, Load",
        [&path](CMapEngine& engine) { return LoadLibrary(engine, ToPath(path), ViewCentre(engine)); });
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
