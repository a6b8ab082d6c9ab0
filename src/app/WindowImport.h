#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class CommonDialog;
class FileList;
class FolderLock;
class ImportRun;
class Main;

// The window's imports, from the folder picker or a drop. The copy runs on
// a thread of its own, so the window stays with the member, who may stop it
// with Esc or the Stop button. An import never runs beside an upload: asked
// for during one it is refused with the reason, and a drop waits for its end.
class WindowImport : public QObject
{
    Q_OBJECT

public:
    WindowImport(Main &window, FileList &files, FolderLock &lock, const QString &home);

    // Tests replace the modal picker.
    void SetPicker(CommonDialog *picker);
    bool IsRunning() const;
    void Cancel();

    // Where the folder picker opens: the folder last imported from, else
    // the member's pictures folder.
    QString StartFolder() const;
    void SetLastFolder(const QString &folder) { m_lastFolder = folder; }

    void ChooseAndImport();
    void Drop(const QStringList &folders, const QStringList &pictures, const QString &lastFolder);

signals:
    // A folder imported from, to be remembered between runs.
    void FolderChosen(const QString &folder);

private:
    // True when an upload or another copy is running, told to the member.
    bool Refused() const;
    void Import(const QStringList &folders, const QStringList &pictures);
    void ImportWaiting();
    void Remember(const QString &folder);
    void OnFinished(bool ok, const QString &error);

    Main &m_window;
    FolderLock &m_lock;
    QString m_home;
    ImportRun *m_import;
    CommonDialog *m_picker = nullptr;
    QString m_lastFolder;
    QStringList m_waitingFolders;
    QStringList m_waitingPictures;
};
