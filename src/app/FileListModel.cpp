#include "app/FileListModel.h"

#include "folder/FileList.h"

FileListModel::FileListModel(const FileList &files, QObject *parent)
    : QAbstractListModel(parent)
    , m_files(files)
{
    connect(&files, &FileList::AboutToReset, this, &FileListModel::beginResetModel);
    connect(&files, &FileList::Reset, this, &FileListModel::endResetModel);
    connect(&files, &FileList::AboutToInsert, this,
            [this](qsizetype index) { beginInsertRows(QModelIndex(), int(index), int(index)); });
    connect(&files, &FileList::Inserted, this, &FileListModel::endInsertRows);
    connect(&files, &FileList::AboutToRemove, this,
            [this](qsizetype index) { beginRemoveRows(QModelIndex(), int(index), int(index)); });
    connect(&files, &FileList::Removed, this, &FileListModel::endRemoveRows);
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(std::min<qsizetype>(m_files.Count(), std::numeric_limits<int>::max()));
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_files.Count())
        return {};
    return m_files.Entry(index.row());
}
