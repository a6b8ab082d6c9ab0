#include "app/FileListModel.h"

#include "folder/FileList.h"
#include "upload/SetAsideWords.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

#include <algorithm>
#include <limits>

namespace {

int Clamped(qsizetype count)
{
    return int(std::min<qsizetype>(count, std::numeric_limits<int>::max() / 2));
}

}

FileListModel::FileListModel(const FileList &files, const FileList &setAside, QObject *parent)
    : QAbstractListModel(parent)
    , m_files(files)
    , m_setAside(setAside)
{
    Follow(files, &FileListModel::NoOffset);
    Follow(setAside, &FileListModel::PicturesCount);
}

void FileListModel::Follow(const FileList &list, int (FileListModel::*offset)() const)
{
    connect(&list, &FileList::AboutToReset, this, &FileListModel::beginResetModel);
    connect(&list, &FileList::Reset, this, &FileListModel::endResetModel);
    connect(&list, &FileList::AboutToInsert, this, [this, offset](qsizetype index) {
        const int row = (this->*offset)() + int(index);
        beginInsertRows(QModelIndex(), row, row);
    });
    connect(&list, &FileList::Inserted, this, &FileListModel::endInsertRows);
    connect(&list, &FileList::AboutToRemove, this, [this, offset](qsizetype index) {
        const int row = (this->*offset)() + int(index);
        beginRemoveRows(QModelIndex(), row, row);
    });
    connect(&list, &FileList::Removed, this, &FileListModel::endRemoveRows);
}

int FileListModel::PicturesCount() const
{
    return Clamped(m_files.Count());
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return PicturesCount() + Clamped(m_setAside.Count());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int pictures = PicturesCount();
    const bool setAside = index.row() >= pictures;
    switch (role) {
    case Qt::DisplayRole:
        if (setAside) {
            // The mark shows it is set aside; the suffix is for the folder.
            QString name = m_setAside.Entry(index.row() - pictures);
            if (name.endsWith(QLatin1String("_!")))
                name.chop(2);
            return name;
        }
        return m_files.Entry(index.row());
    case SetAsideRole:
        return setAside;
    case Qt::ForegroundRole:
        if (setAside)
            return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::DecorationRole:
        if (setAside)
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return {};
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        if (setAside) {
            const QString said = m_words ? m_words->Of(m_setAside.Entry(index.row() - pictures)) : QString();
            const QString why
                = said.isEmpty() ? tr("the service did not take it") : tr("the service said: %1").arg(said);
            return tr("Set aside: %1. “Return to the queue” sends it again.").arg(why);
        }
        return {};
    default:
        return {};
    }
}
