#pragma once

#include "md5/clsMD5.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

// Composes the one HTTP/1.0 multipart POST that carries a picture to the
// service, byte for byte as the service's upload script expects it.
class RequestBuilder
{
public:
    static constexpr qsizetype BodyFraming = 276;

    // hostHeader: written after "Host: ", with ":port" where it is not 80.
    explicit RequestBuilder(const QString &hostHeader);
    void SetHostHeader(const QString &hostHeader) { m_hostHeader = hostHeader; }

    static constexpr qsizetype BoundaryLength = 32;
    static const QByteArray DefaultBoundary;
    // A picture is read in blocks of this size, each searched for the
    // boundary right after its read, so the search is no second pass.
    static constexpr qint64 ReadBlock = 1024 * 1024;

    // Nothing when the password is too long for the hasher or the picture
    // cannot be read whole; *error then says why.
    std::optional<QByteArray> BuildRequest(const QString &login, const QString &password,
                                           QByteArrayView picture, QString *error);
    // Reads size bytes of the picture straight into the request, so that a
    // large picture is held in memory once, not twice. *pictureAtFault:
    // the picture, not the credentials, stood in the way.
    std::optional<QByteArray> BuildRequest(const QString &login, const QString &password,
                                           QIODevice &picture, qint64 size, QString *error,
                                           bool *pictureAtFault = nullptr);
    // A picture whose first bytes were changed on the way (head), the rest
    // read from where the device stands, size bytes of it.
    std::optional<QByteArray> BuildRequest(const QString &login, const QString &password, QByteArrayView head,
                                           QIODevice &rest, qint64 size, QString *error,
                                           bool *pictureAtFault = nullptr);
    // The boundary of the request's multipart body: the fixed one, unless
    // the picture holds it, since a parser would then end the picture
    // there. Another of the same length keeps every length unchanged.
    static QByteArray BoundaryFor(QByteArrayView picture);

    static QString NickLang(QStringView login);
    static QString NickConv(QStringView nick);
    static QByteArray CookieLogin(QStringView login);

private:
    // Called block after block, each time for the picture's next bytes.
    using Filler = std::function<bool(char *at, qint64 size)>;
    std::optional<QByteArray> Compose(const QString &login, const QString &password,
                                      qint64 pictureSize, const Filler &fill, QString *error,
                                      bool *pictureAtFault);

    clsMD5 m_Hasher;
    QString m_hostHeader;
};
