#include "controls/FolderPictureModel.h"

#include "folder/ImageFolder.h"
#include "folder/NameFilter.h"

#include <QFileSystemModel>

bool FolderPictureModel::IsFolder(const QModelIndex &sourceIndex) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    return !files || files->isDir(sourceIndex);
}

bool FolderPictureModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    // The pictures the import would take, by the import's own filter.
    static const NameFilter Pictures(QString::fromLatin1(ImageFolder::Pattern));
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    return IsFolder(index) || Pictures.Matches(index.data().toString());
}

Qt::ItemFlags FolderPictureModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QSortFilterProxyModel::flags(index);
    if (!index.isValid() || IsFolder(mapToSource(index)))
        return flags;
    return (flags & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable)) | Qt::ItemNeverHasChildren;
}
