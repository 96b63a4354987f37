#include "app/LongTask.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <thread>

namespace morvi::ui {

Status RunLongTask(QWidget* parent, const QString& label, const std::function<Status(TaskProgress&)>& work) {
    TaskProgress progress;
    std::atomic<bool> finished{false};
    Status result;
    std::thread worker([&] {
        result = work(progress);
        finished = true;
    });

    QProgressDialog dialog(label, QStringLiteral("Cancel"), 0, 1000, parent);
    dialog.setWindowTitle(QStringLiteral("Morvi"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(400);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    QObject::connect(&dialog, &QProgressDialog::canceled, [&] { progress.m_bCancel = true; });
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (finished) {
            loop.quit();
            return;
        }
        const std::uint64_t total = progress.m_nTotal;
        if (total == 0) {
            dialog.setRange(0, 0);
            dialog.setValue(0);
        } else {
            dialog.setRange(0, 1000);
            dialog.setValue(static_cast<int>(std::min<std::uint64_t>(progress.m_nDone * 1000 / total, 999)));
        }
    });
    timer.start(40);
    if (!finished) loop.exec();
    timer.stop();
    worker.join();
    return result;
}

} // namespace morvi::ui
