#pragma once

#include "controls/CommonDialog.h"

// The import's folder dialog, opening in the folder chosen last time, even
// in an earlier run.
class ImportFolderPicker : public CommonDialog
{
    Q_OBJECT

public:
    explicit ImportFolderPicker(const QString &lastFolder, QWidget *parent = nullptr);

    QString OpenFolder(const QString &Title, QWidget *OwnerWindow) override;

signals:
    // A folder was chosen: it is where the next dialog opens.
    void Chosen(const QString &folder);

private:
    QString m_lastFolder;
};
