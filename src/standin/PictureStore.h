#pragma once

#include <QByteArray>
#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The account's stored pictures, numbered in upload order. The folder is
// read once at start; afterwards the list and the counter live in memory,
// so an upload never waits for a directory scan.
class PictureStore
{
public:
    explicit PictureStore(const QString &folder);

    bool Open(QString *error);
    // The new picture's name; nothing (and no file) when it cannot be written.
    std::optional<QString> Store(QByteArrayView picture, QString *error);
    const QStringList &Names() const { return m_names; }
    bool Contains(const QString &name) const { return m_known.contains(name); }
    std::optional<QByteArray> Read(const QString &name) const;
    // Opened for reading; nothing when it is not one of the stored pictures.
    std::unique_ptr<QFile> Open(const QString &name) const;

private:
    QString PathOf(const QString &name) const;

    QString m_folder;
    QStringList m_names;
    QSet<QString> m_known;
    qint64 m_next = 1;
};
