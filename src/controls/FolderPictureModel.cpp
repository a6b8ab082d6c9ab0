#include "controls/FolderPictureModel.h"

#include <QFileSystemModel>

namespace {

bool IsPictureName(const QString &name)
{
    return name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)
        || name.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive);
}

}

bool FolderPictureModel::IsFolder(const QModelIndex &sourceIndex) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    return !files || files->isDir(sourceIndex);
}

bool FolderPictureModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    return IsFolder(index) || IsPictureName(index.data().toString());
}

Qt::ItemFlags FolderPictureModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QSortFilterProxyModel::flags(index);
    if (!index.isValid() || IsFolder(mapToSource(index)))
        return flags;
    return (flags & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable)) | Qt::ItemNeverHasChildren;
}
