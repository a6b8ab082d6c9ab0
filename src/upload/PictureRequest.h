#pragma once

#include "folder/FileStamp.h"
#include "pictures/PicturePreparation.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <optional>

class RequestBuilder;

// One picture's request, with the picture's file kept open from its open
// on. A request built ahead of its turn is used only if it still fits the
// picture and the credentials when the turn comes.
class PictureRequest
{
public:
    // The whole request is held in memory, and a second one is read ahead
    // while the service stores the first: 256 MiB is far above any camera's
    // JPEG and keeps the program's peak well under a gigabyte.
    static constexpr qint64 MaxPictureSize = qint64(256) * 1024 * 1024;

    enum class Result { Built, PictureUnusable, Unsendable };

    // Opens the picture without ever waiting and checks that it can be
    // sent at all; error: why not, when false.
    bool Open(const QString &path, QString *error);
    // Reads the opened picture into its request. PictureUnusable: the
    // picture could not be read; Unsendable: the credentials cannot be sent.
    // The picture is prepared first (PicturePreparation); one that cannot
    // be is PictureUnusable.
    Result Build(RequestBuilder &builder, const PicturePreparation &preparation, const QString &login,
                 const QString &password, QString *error);
    // Open() and Build() in one, for a request made ahead of its turn.
    bool BuildAhead(RequestBuilder &builder, const PicturePreparation &preparation, const QString &path,
                    const QString &login, const QString &password);
    // Built for this picture with these credentials and choices, and the
    // picture on disk is still the one that was read.
    bool Fits(const QString &path, const QString &login, const QString &password,
              const PicturePreparation::Options &chosen) const;
    // What was done to the picture's bytes in its request, for the log and
    // in the member's words.
    const QString &Done() const { return m_done; }
    const QString &Shown() const { return m_shown; }
    // The name still leads to the very bytes that were read.
    bool StillOnDisk() const;
    // The file at path, renamed since, is the one that was read.
    bool IsTheFileRead(const QString &path) const;

    bool IsOpen() const { return m_file != nullptr; }
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
    PicturePreparation::Options m_chosen;
    QString m_done;
    QString m_shown;
    QByteArray m_request;
    qint64 m_pictureSize = 0;
    std::optional<FileStamp> m_stamp;
};
