#include "app/MessageDialog.h"

#include <QMessageBox>

void MessageDialog::ShowError(QWidget *owner, const QString &message)
{
    QMessageBox::critical(owner, QStringLiteral("Picaroon"), message);
}
