#pragma once

#include <QSortFilterProxyModel>

// The folder dialog's view of a folder: its subfolders, and its pictures
// greyed and out of reach, so that a folder of photos is seen to hold them
// while only a folder can be chosen. Other files are left out.
class FolderPictureModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool IsFolder(const QModelIndex &sourceIndex) const;
};
