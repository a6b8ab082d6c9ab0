#pragma once

#include <QAbstractListModel>

class FileList;

// Shows the picture list in the window's list box. The upload cycle
// refreshes the list before every picture, so the view follows each change
// with a reset that costs the visible rows only (the view's items are of
// one size), not the folder's size.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit FileListModel(const FileList &files, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    const FileList &m_files;
};
