#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string_view>

class QWidget;

namespace morvi::ui {

// The resource windows' filters are written as "LFD Files (*.lfd)|*.lfd|ANIM Files (*.anm)|*.anm||":
// pairs of a text and its patterns. As a Qt filter that is "LFD Files (*.lfd);;ANIM Files (*.anm)".
QString QtFileFilter(std::string_view filter);

// One question for a file name.
struct FileQuestion {
    enum class Kind { Open, OpenMany, Save, Folder };
    Kind m_Kind = Kind::Open;
    QString m_strTitle;
    // Already in Qt's form (QtFileFilter).
    QString m_strFilter;
    // Added to a typed name without an extension, as in "lfd".
    QString m_strDefaultSuffix;
    // The file or folder the dialog starts on.
    QString m_strStart;
};

// Asks the user; the chosen paths, nothing when cancelled (one path unless OpenMany). Files to open
// must exist; a Save dialog asks before overwriting.
QStringList AskFiles(QWidget* parent, const FileQuestion& question);
QString AskFile(QWidget* parent, const FileQuestion& question);

// Tests answer the questions without a dialog: while an answerer is set it is asked instead.
using FileAnswerer = std::function<QStringList(const FileQuestion&)>;
void SetFileAnswerer(FileAnswerer answerer);

} // namespace morvi::ui
