#pragma once

#include "model/Status.h"
#include "model/TaskProgress.h"

#include <QString>

#include <functional>

class QWidget;

namespace morvi::ui {

// Runs work on a worker thread while the program stays responsive. After a moment a progress
// dialog over parent shows how far the work has come (TaskProgress's done of total, or a busy bar
// without a total) and offers Cancel, which sets the progress's cancel wish. Returns the work's
// status once it has finished. The work must not touch widgets.
Status RunLongTask(QWidget* parent, const QString& label, const std::function<Status(TaskProgress&)>& work);

} // namespace morvi::ui
