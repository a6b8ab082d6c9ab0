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

private:
    QPointer<QMessageBox> m_notices;
    QStringList m_noticeLines;
};
