#include "upload/PictureQueue.h"

#include "folder/FileList.h"
#include "folder/ImageFolder.h"

PictureQueue::PictureQueue(FileList &files)
    : m_files(files)
{
}

bool PictureQueue::Begin(QString *error)
{
    m_passedOver.clear();
    m_files.SetPattern(QString::fromLatin1(ImageFolder::Pattern));
    return Refresh(error);
}

bool PictureQueue::Refresh(QString *error)
{
    if (m_files.Refresh())
        return true;
    *error = m_files.ErrorString();
    return false;
}

QStringList PictureQueue::Paths() const
{
    QStringList paths;
    paths.reserve(m_files.Count());
    for (qsizetype i = 0; i < m_files.Count(); ++i)
        paths.append(m_files.EntryPath(i));
    return paths;
}

QString PictureQueue::Next(const QStringList &skip) const
{
    for (qsizetype i = 0; i < m_files.Count(); ++i) {
        const QString path = m_files.EntryPath(i);
        if (!skip.contains(path) && !m_passedOver.contains(path))
            return path;
    }
    return QString();
}
