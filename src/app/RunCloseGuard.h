#pragma once

#include <QObject>

class Main;

// Closing the window in the middle of a run asks first; a yes stops the
// run the ordinary way, so the picture in flight stays and is logged.
class RunCloseGuard : public QObject
{
    Q_OBJECT

public:
    explicit RunCloseGuard(Main &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Main &m_window;
};
