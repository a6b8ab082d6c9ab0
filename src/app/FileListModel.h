#pragma once

#include <QAbstractListModel>

class FileList;
class SetAsideWords;

// Shows the picture list in the window's list box, and below it, greyed
// and marked, the pictures set aside by earlier failures. The upload cycle
// refreshes the list before every picture, so the view follows each list
// change by change, never by reading it all again.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { SetAsideRole = Qt::UserRole + 1 };

    FileListModel(const FileList &files, const FileList &setAside, QObject *parent = nullptr);

    // Where a set-aside picture's tooltip finds what the service said of it.
    void SetWords(const SetAsideWords *words) { m_words = words; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    void Follow(const FileList &list, int (FileListModel::*offset)() const);
    int NoOffset() const { return 0; }
    int PicturesCount() const;

    const FileList &m_files;
    const FileList &m_setAside;
    const SetAsideWords *m_words = nullptr;
};
