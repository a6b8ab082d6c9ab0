#pragma once

#include "folder/FileStamp.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <optional>

class RequestBuilder;

// One picture's request, with the picture's file kept open from its read
// on. A request built ahead of its turn is used only if it still fits the
// picture and the credentials when the turn comes.
class PictureRequest
{
public:
    // error: a message naming the picture when false.
    bool Build(RequestBuilder &builder, const QString &path, const QString &login,
               const QString &password, QString *error);
    // Built for this picture with these credentials, and the picture on
    // disk is still the one that was read.
    bool Fits(const QString &path, const QString &login, const QString &password) const;

    bool IsBuilt() const { return m_file != nullptr; }
    const QString &Path() const { return m_path; }
    qint64 PictureSize() const { return m_pictureSize; }
    // Leaves the request empty: the socket then holds the only copy.
    QByteArray TakeRequest();
    // Deleting a picture that is still open only takes its name away; its
    // storage is given back when the file is closed.
    std::unique_ptr<QFile> TakeFile();
    void Clear();

private:
    std::unique_ptr<QFile> m_file;
    QString m_path;
    QString m_login;
    QString m_password;
    QByteArray m_request;
    qint64 m_pictureSize = 0;
    std::optional<FileStamp> m_stamp;
};
