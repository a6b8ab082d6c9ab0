#include "app/RunCloseGuard.h"

#include "app/Main.h"
#include "app/MessageDialog.h"
#include "upload/RunScheduler.h"

#include <QCloseEvent>

RunCloseGuard::RunCloseGuard(Main &window)
    : QObject(&window)
    , m_window(window)
{
    window.installEventFilter(this);
}

bool RunCloseGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window || event->type() != QEvent::Close
        || m_window.Run().CurrentState() == RunScheduler::State::Idle)
        return false;
    // The question's own event loop lets the run go on, and maybe end.
    if (!m_window.Messages().AskToStop(&m_window)) {
        event->ignore();
        return true;
    }
    m_window.Run().Stop();
    return false;
}
