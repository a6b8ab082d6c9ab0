#include "app/FileListModel.h"

#include "folder/FileList.h"

FileListModel::FileListModel(const FileList &files, QObject *parent)
    : QAbstractListModel(parent)
    , m_files(files)
{
    connect(&files, &FileList::AboutToChange, this, &FileListModel::beginResetModel);
    connect(&files, &FileList::Changed, this, &FileListModel::endResetModel);
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
