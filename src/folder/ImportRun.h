#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class FileList;

// One import into the image folder, with the steps the member follows on
// the status line, for the window and `picaroon import` alike. Folders give
// their "*.jpg" pictures, single pictures themselves; the first failure
// ends the copy, and what was copied before it stays.
class ImportRun : public QObject
{
    Q_OBJECT

public:
    explicit ImportRun(FileList &files, QObject *parent = nullptr);

    // False with *error naming the trouble; the list is read again either way.
    bool Run(const QStringList &folders, const QStringList &pictures, QString *error);

signals:
    void StatusChanged(const QString &text);

private:
    bool Copy(const QStringList &folders, const QStringList &pictures, QString *error);

    FileList &m_files;
};
