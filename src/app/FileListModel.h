#pragma once

#include <QAbstractListModel>

class FileList;

// Shows the picture list in the window's list box. The upload cycle
// refreshes the list before every picture, so the view follows the list
// change by change, never by reading it all again.
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
