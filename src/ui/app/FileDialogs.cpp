#include "app/FileDialogs.h"

#include <QFileDialog>

#include <utility>

namespace morvi::ui {

namespace {

FileAnswerer& Answerer() {
    static FileAnswerer answerer;
    return answerer;
}

} // namespace

QString QtFileFilter(std::string_view filter) {
    const QStringList parts = QString::fromLatin1(filter.data(), static_cast<qsizetype>(filter.size()))
                                  .split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList texts;
    // Every second part is the pattern the text already shows in its brackets.
    for (qsizetype i = 0; i < parts.size(); i += 2)
        texts << parts[i];
    return texts.join(QStringLiteral(";;"));
}

QStringList AskFiles(QWidget* parent, const FileQuestion& question) {
    if (Answerer()) return Answerer()(question);
    QFileDialog dialog(parent, question.m_strTitle, question.m_strStart, question.m_strFilter);
    dialog.setDefaultSuffix(question.m_strDefaultSuffix);
    switch (question.m_Kind) {
    case FileQuestion::Kind::Open:
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case FileQuestion::Kind::OpenMany:
        dialog.setFileMode(QFileDialog::ExistingFiles);
        break;
    case FileQuestion::Kind::Folder:
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        break;
    case FileQuestion::Kind::Save:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        break;
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

QString AskFile(QWidget* parent, const FileQuestion& question) {
    const QStringList files = AskFiles(parent, question);
    return files.isEmpty() ? QString() : files.front();
}

void SetFileAnswerer(FileAnswerer answerer) {
    Answerer() = std::move(answerer);
}

} // namespace morvi::ui
