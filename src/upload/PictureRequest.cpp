#include "upload/PictureRequest.h"

#include "folder/PlainFile.h"
#include "upload/RequestBuilder.h"

#include <QCoreApplication>

#include <utility>

bool PictureRequest::Open(const QString &path, QString *error)
{
    Clear();
    auto file = std::make_unique<QFile>();
    if (!PlainFile::OpenForReading(path, error).HandTo(*file, error))
        return false;
    // Taken before the read: a change made while reading then shows.
    const std::optional<FileStamp> stamp = FileStamp::OfOpen(*file);
    const qint64 size = file->size();
    if (size > MaxPictureSize) {
        *error = QCoreApplication::translate("PictureRequest", "it is larger than %1 MiB (%2 bytes)")
                     .arg(MaxPictureSize / (1024 * 1024))
                     .arg(size);
        return false;
    }
    m_file = std::move(file);
    m_path = path;
    m_pictureSize = size;
    m_stamp = stamp;
    return true;
}

PictureRequest::Result PictureRequest::Build(RequestBuilder &builder, const PicturePreparation &preparation,
                                             const QString &login, const QString &password, QString *error)
{
    m_request = QByteArray();
    if (!m_file) {
        *error = QCoreApplication::translate("PictureRequest", "the picture is not open");
        return Result::PictureUnusable;
    }
    // Built again from the same open file when the credentials changed.
    if (!m_file->seek(0)) {
        *error = m_file->errorString();
        return Result::PictureUnusable;
    }
    const PicturePreparation::Outcome prepared = preparation.Prepare(*m_file, m_pictureSize);
    if (prepared.result == PicturePreparation::Result::Unusable) {
        *error = prepared.why;
        return Result::PictureUnusable;
    }
    QString why;
    bool pictureAtFault = false;
    std::optional<QByteArray> request;
    if (prepared.restFrom >= 0) {
        if (!m_file->seek(prepared.restFrom)) {
            *error = m_file->errorString();
            return Result::PictureUnusable;
        }
        request = builder.BuildRequest(login, password, prepared.bytes, *m_file, m_pictureSize - prepared.restFrom,
                                       &why, &pictureAtFault);
    } else if (!prepared.bytes.isNull()) {
        request = builder.BuildRequest(login, password, QByteArrayView(prepared.bytes), &why);
    } else {
        request = builder.BuildRequest(login, password, *m_file, m_pictureSize, &why, &pictureAtFault);
    }
    if (!request) {
        *error = why;
        return pictureAtFault ? Result::PictureUnusable : Result::Unsendable;
    }
    m_login = login;
    m_password = password;
    m_chosen = preparation.Chosen();
    m_done = prepared.done;
    m_shown = prepared.shown;
    m_request = std::move(*request);
    return Result::Built;
}

bool PictureRequest::BuildAhead(RequestBuilder &builder, const PicturePreparation &preparation, const QString &path,
                                const QString &login, const QString &password)
{
    QString ignored;
    if (Open(path, &ignored) && Build(builder, preparation, login, password, &ignored) == Result::Built)
        return true;
    Clear();
    return false;
}

bool PictureRequest::Fits(const QString &path, const QString &login, const QString &password,
                          const PicturePreparation::Options &chosen) const
{
    if (m_request.isNull() || path != m_path || login != m_login || password != m_password || !(chosen == m_chosen))
        return false;
    return StillOnDisk();
}

bool PictureRequest::StillOnDisk() const
{
    return m_stamp && FileStamp::OfPath(m_path) == m_stamp;
}

bool PictureRequest::IsTheFileRead(const QString &path) const
{
    const std::optional<FileStamp> now = FileStamp::OfPath(path);
    return m_stamp && now && now->SameFileAs(*m_stamp);
}

QByteArray PictureRequest::TakeRequest()
{
    return std::exchange(m_request, QByteArray());
}

std::unique_ptr<QFile> PictureRequest::TakeFile()
{
    std::unique_ptr<QFile> file = std::move(m_file);
    Clear();
    return file;
}

void PictureRequest::Clear()
{
    m_file.reset();
    m_path.clear();
    m_login.clear();
    m_password.clear();
    m_chosen = {};
    m_done.clear();
    m_shown.clear();
    m_request = QByteArray();
    m_pictureSize = 0;
    m_stamp.reset();
}
