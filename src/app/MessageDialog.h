#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

class QMessageBox;
class QWidget;

// The window's messages: an unexpected error, named, in a modal box; and
// notices that must not hold up a run, gathered in one box that does not
// block. A class of its own so that tests can put a double in place.
class MessageDialog
{
public:
    virtual ~MessageDialog();
    virtual void ShowError(QWidget *owner, const QString &message);
    virtual void ShowNotice(QWidget *owner, const QString &message);
    // true when the member chose to stop the run.
    virtual bool AskToStop(QWidget *owner);

private:
    QPointer<QMessageBox> m_notices;
    QStringList m_noticeLines;
};
