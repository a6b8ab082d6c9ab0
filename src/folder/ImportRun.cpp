#include "folder/ImportRun.h"

#include "folder/FileList.h"
#include "folder/FileOps.h"
#include "folder/ImageFolder.h"
#include "folder/ImageImport.h"

#include <QDir>
#include <QFileInfo>

ImportRun::ImportRun(FileList &files, QObject *parent)
    : QObject(parent)
    , m_files(files)
{
}

bool ImportRun::Run(const QStringList &folders, const QStringList &pictures, QString *error)
{
    m_files.SetPattern(QString::fromLatin1(ImageFolder::Pattern));
    m_wasStopped = false;
    m_tally = {};
    emit StatusChanged(QStringLiteral("Ждите, идет копирование..."));
    if (!Copy(folders, pictures, error)) {
        m_files.Refresh();
        m_wasStopped = m_stopped && m_stopped();
        emit StatusChanged(m_wasStopped ? QStringLiteral("Остановлено") : QStringLiteral("Копирование не удалось"));
        return false;
    }
    emit StatusChanged(QStringLiteral("Файлы скопированы"));
    if (!m_files.Refresh()) {
        *error = m_files.ErrorString();
        return false;
    }
    QString found = QStringLiteral("Найдено файлов - %1").arg(m_files.Count());
    if (m_tally.alreadyThere > 0)
        found += QStringLiteral(" (уже в очереди: %1)").arg(m_tally.alreadyThere);
    emit StatusChanged(found);
    return true;
}

bool ImportRun::Copy(const QStringList &folders, const QStringList &pictures, QString *error)
{
    for (const QString &folder : folders) {
        if (!ImageImport::CopyPictures(folder, m_files.Folder(), m_stopped, &m_tally, error))
            return false;
    }
    const QDir imageFolder(m_files.Folder());
    for (const QString &picture : pictures) {
        const QFileInfo from(picture);
        const QFileInfo to(imageFolder.filePath(from.fileName()));
        // A picture dropped from the image folder is already where it goes.
        if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
            continue;
        if (!FileOps::CopyFile(from.filePath(), to.filePath(), m_stopped, &m_tally, error))
            return false;
    }
    return true;
}
