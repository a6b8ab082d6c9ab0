#include "app/ImportFolderPicker.h"

#include <QFileDialog>

ImportFolderPicker::ImportFolderPicker(const QString &lastFolder, QWidget *parent)
    : CommonDialog(parent)
    , m_lastFolder(lastFolder)
{
}

QString ImportFolderPicker::OpenFolder(const QString &Title, QWidget *OwnerWindow)
{
    const QString folder = ChosenPath(
        QFileDialog::getExistingDirectory(OwnerWindow, Title, m_lastFolder, QFileDialog::ShowDirsOnly));
    if (!folder.isEmpty()) {
        m_lastFolder = folder;
        emit Chosen(folder);
    }
    return folder;
}
