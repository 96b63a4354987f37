#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace morvi::ui::testing {

// Answers the modal windows a test opens without waiting on them: while it lives, every modal
// window that comes up is handed to the handler, which must close it. Without a handler, message
// boxes are closed with OK (other dialogs are rejected) and their texts recorded, so a test can also show
// that none came up.
class ModalWatcher : public QObject {
public:
    using Handler = std::function<void(QWidget* modal)>;
    explicit ModalWatcher(Handler handler = {});

    // The texts of the message boxes closed so far.
    const QStringList& messages() const { return m_Messages; }
    // How many modal windows were handed over.
    int seen() const { return m_nSeen; }

private:
    void poll();

    Handler m_Handler;
    QTimer m_Timer;
    QStringList m_Messages;
    int m_nSeen = 0;
    // The window handed over last, while it lives.
    QPointer<QWidget> m_pLast;
};

} // namespace morvi::ui::testing
