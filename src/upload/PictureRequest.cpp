#include "upload/PictureRequest.h"

#include "upload/RequestBuilder.h"

#include <QDir>

#include <utility>

bool PictureRequest::Build(RequestBuilder &builder, const QString &path, const QString &login,
                           const QString &password, QString *error)
{
    Clear();
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), file->errorString());
        return false;
    }
    // Taken before the read: a change made while reading then shows.
    const std::optional<FileStamp> stamp = FileStamp::OfOpen(*file);
    QString why;
    std::optional<QByteArray> request = builder.BuildRequest(login, password, *file, &why);
    if (!request) {
        *error = QStringLiteral("Cannot send %1: %2").arg(QDir::toNativeSeparators(path), why);
        return false;
    }
    m_pictureSize = file->size();
    m_file = std::move(file);
    m_path = path;
    m_login = login;
    m_password = password;
    m_request = std::move(*request);
    m_stamp = stamp;
    return true;
}

bool PictureRequest::Fits(const QString &path, const QString &login, const QString &password) const
{
    if (!m_stamp || m_request.isNull() || path != m_path || login != m_login || password != m_password)
        return false;
    return FileStamp::OfPath(path) == m_stamp;
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
    m_request = QByteArray();
    m_pictureSize = 0;
    m_stamp.reset();
}
