#pragma once

#include <QString>

class QWidget;

// The window's one modal message: an unexpected error, named. A class of its
// own so that tests can put a double in place of the modal box.
class MessageDialog
{
public:
    virtual ~MessageDialog() = default;
    virtual void ShowError(QWidget *owner, const QString &message);
};
