#include "app/PictureDrop.h"

#include "folder/ImageFolder.h"
#include "folder/NameFilter.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

PictureDrop::PictureDrop(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = QDir::toNativeSeparators(QDir::cleanPath(url.toLocalFile()));
        const QFileInfo info(path);
        if (info.isDir())
            m_folders.append(path);
        else if (info.isFile() && IsPictureName(info.fileName()))
            m_pictures.append(path);
    }
}

QString PictureDrop::LastFolder() const
{
    if (!m_folders.isEmpty())
        return m_folders.first();
    if (!m_pictures.isEmpty())
        return QDir::toNativeSeparators(QFileInfo(m_pictures.first()).path());
    return QString();
}

// The import's own filter.
bool PictureDrop::IsPictureName(const QString &name)
{
    static const NameFilter pictures(QString::fromLatin1(ImageFolder::Pattern));
    return pictures.Matches(name);
}
