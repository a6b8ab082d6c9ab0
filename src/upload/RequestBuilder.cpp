#include "upload/RequestBuilder.h"

#include "text/Cp1251.h"

#include <QIODevice>
#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

namespace {

constexpr char BodyHead[] =
    "------------IueSxZI5qhfr8cpW1iNd7v\r\n"
    "Content-Disposition: form-data; name=\"module\"\r\n"
    "\r\n"
    "photolib\r\n"
    "------------IueSxZI5qhfr8cpW1iNd7v\r\n"
    "Content-Disposition: form-data; name=\"new_file\"; filename=\"Virtual File\"\r\n"
    "Content-Type: image/pjpeg\r\n"
    "\r\n";

constexpr char BodyTail[] =
    "\r\n"
    "------------IueSxZI5qhfr8cpW1iNd7v--\r\n"
    "\r\n";

constexpr qsizetype BodyHeadSize = sizeof BodyHead - 1;
constexpr qsizetype BodyTailSize = sizeof BodyTail - 1;
static_assert(BodyHeadSize == 234 && BodyTailSize == 42);
static_assert(BodyHeadSize + BodyTailSize == RequestBuilder::BodyFraming);

const char HexDigits[] = "0123456789ABCDEF";

// Sixteen bytes compared at once, in whatever vector unit the machine has.
using Lane = signed char __attribute__((vector_size(16)));

Lane LoadLane(const char *at)
{
    Lane lane;
    std::memcpy(&lane, at, sizeof lane);
    return lane;
}

bool Holds(QByteArrayView haystack, QByteArrayView boundary)
{
    // A byte-wise search waits on each step before the next; comparing
    // every position's first and last byte at once, 64 positions a step,
    // leaves byte-wise search to the rare window where both match (one in
    // about a thousand on a picture's near-random bytes).
    constexpr qsizetype Window = 64;
    const qsizetype last = boundary.size() - 1;
    const char *at = haystack.data();
    const char *const end = at + haystack.size();
    const auto found = [&boundary](const char *from, const char *to) {
        return std::search(from, to, boundary.begin(), boundary.end()) != to;
    };
    if (boundary.size() >= 2) {
        const auto first = static_cast<signed char>(boundary.front());
        const auto final = static_cast<signed char>(boundary.back());
        for (; end - at >= Window + last; at += Window) {
            Lane any = (LoadLane(at) == first) & (LoadLane(at + last) == final);
            for (qsizetype lane = sizeof(Lane); lane < Window; lane += qsizetype(sizeof(Lane)))
                any |= (LoadLane(at + lane) == first) & (LoadLane(at + lane + last) == final);
            quint64 words[2];
            std::memcpy(words, &any, sizeof words);
            if ((words[0] | words[1]) != 0 && found(at, at + Window + last))
                return true;
        }
    }
    return found(at, end);
}

// A boundary that looks like the fixed one: ten hyphens and 22 letters and
// digits, drawn from a fixed sequence so that a picture always gets the
// same request.
QByteArray Alternative(quint64 n)
{
    static const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray boundary(10, '-');
    quint64 state = n * 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 22; ++i) {
        state ^= state >> 31;
        state *= 0xBF58476D1CE4E5B9ull;
        state ^= state >> 29;
        boundary += Alphabet[state % 62];
    }
    return boundary;
}

void AppendPercent(QByteArray &out, unsigned char byte)
{
    out += '%';
    out += HexDigits[byte >> 4];
    out += HexDigits[byte & 0xF];
}

}

const QByteArray RequestBuilder::DefaultBoundary = QByteArrayLiteral("----------IueSxZI5qhfr8cpW1iNd7v");

QByteArray RequestBuilder::BoundaryFor(QByteArrayView picture)
{
    if (!Holds(picture, DefaultBoundary))
        return DefaultBoundary;
    for (quint64 n = 1;; ++n) {
        const QByteArray boundary = Alternative(n);
        if (!Holds(picture, boundary))
            return boundary;
    }
}

RequestBuilder::RequestBuilder(const QString &hostHeader)
    : m_hostHeader(hostHeader)
{
}

QString RequestBuilder::NickLang(QStringView login)
{
    if (login.isEmpty())
        return QStringLiteral("en");
    const auto code = static_cast<unsigned char>(Cp1251::FromUnicode(login.front()));
    return code >= 192 ? QStringLiteral("rus") : QStringLiteral("en");
}

QString RequestBuilder::NickConv(QStringView nick)
{
    if (nick.startsWith(QLatin1Char('%')))
        return nick.toString();
    QByteArray encoded;
    encoded.reserve(nick.size() * 3);
    for (QChar ch : nick) {
        if (ch == QLatin1Char(' '))
            encoded += '+';
        else
            AppendPercent(encoded, static_cast<unsigned char>(Cp1251::FromUnicode(ch)));
    }
    return QString::fromLatin1(encoded);
}

QByteArray RequestBuilder::CookieLogin(QStringView login)
{
    if (NickLang(login) == QLatin1String("rus"))
        return Cp1251::FromUnicode(NickConv(login));
    // Sent as typed, but a line break would end the header block early and
    // let the login write headers of its own.
    QByteArray bytes = Cp1251::FromUnicode(login);
    if (!bytes.contains('\r') && !bytes.contains('\n'))
        return bytes;
    QByteArray safe;
    for (char b : std::as_const(bytes)) {
        if (b == '\r' || b == '\n')
            AppendPercent(safe, static_cast<unsigned char>(b));
        else
            safe += b;
    }
    return safe;
}

std::optional<QByteArray> RequestBuilder::BuildRequest(const QString &login, const QString &password,
                                                       QByteArrayView picture, QString *error)
{
    qsizetype done = 0;
    return Compose(login, password, picture.size(), [picture, &done](char *at, qint64 size) {
        std::memcpy(at, picture.data() + done, size_t(size));
        done += size;
        return true;
    }, error, nullptr);
}

std::optional<QByteArray> RequestBuilder::BuildRequest(const QString &login, const QString &password,
                                                       QIODevice &picture, qint64 size, QString *error,
                                                       bool *pictureAtFault)
{
    return BuildRequest(login, password, QByteArrayView(), picture, size, error, pictureAtFault);
}

std::optional<QByteArray> RequestBuilder::BuildRequest(const QString &login, const QString &password,
                                                       QByteArrayView head, QIODevice &rest, qint64 size,
                                                       QString *error, bool *pictureAtFault)
{
    qsizetype headDone = 0;
    return Compose(login, password, head.size() + size, [head, &headDone, &rest, error](char *at, qint64 size) {
        // Blocks are asked for in order: the head's bytes come first.
        const qint64 fromHead = std::min<qint64>(size, head.size() - headDone);
        if (fromHead > 0) {
            std::memcpy(at, head.data() + headDone, size_t(fromHead));
            headDone += fromHead;
            at += fromHead;
            size -= fromHead;
        }
        qint64 done = 0;
        while (done < size) {
            const qint64 got = rest.read(at + done, size - done);
            if (got <= 0) {
                *error = got < 0 ? rest.errorString()
                                 : QCoreApplication::translate("RequestBuilder",
                                                               "the file ended early; it changed while being read");
                return false;
            }
            done += got;
        }
        return true;
    }, error, pictureAtFault);
}

std::optional<QByteArray> RequestBuilder::Compose(const QString &login, const QString &password,
                                                  qint64 pictureSize, const Filler &fill, QString *error,
                                                  bool *pictureAtFault)
{
    if (pictureAtFault)
        *pictureAtFault = false;
    const std::optional<QString> digest = m_Hasher.CalculateMD5(password);
    if (!digest) {
        *error = QCoreApplication::translate("RequestBuilder", "Overflow: the password is longer than %1 characters")
                     .arg(clsMD5::MaxTextLength);
        return std::nullopt;
    }
    const QByteArray cookieLogin = CookieLogin(login);
    const qint64 bodySize = pictureSize + BodyFraming;

    QByteArray header;
    header += "POST /kiplog.php HTTP/1.0\r\n"
              "Accept: */*\r\n"
              "Accept-Language: ru\r\n"
              "Content-Type: multipart/form-data; boundary=----------IueSxZI5qhfr8cpW1iNd7v\r\n";
    header += "Host: " + Cp1251::FromUnicode(m_hostHeader) + "\r\n";
    header += "Cookie: user_login=" + cookieLogin + "; user_pass=" + digest->toLatin1() + "\r\n";
    header += "Content-Length: " + QByteArray::number(bodySize) + "\r\n";
    header += "Connection: Close\r\n"
              "\r\n";

    const qint64 total = header.size() + bodySize;
    if (total > std::numeric_limits<qsizetype>::max() / 2) {
        *error = QCoreApplication::translate("RequestBuilder", "the picture is too large to send (%1 bytes)")
                     .arg(pictureSize);
        if (pictureAtFault)
            *pictureAtFault = true;
        return std::nullopt;
    }
    QByteArray request(qsizetype(total), Qt::Uninitialized);
    char *at = request.data();
    std::memcpy(at, header.constData(), size_t(header.size()));
    at += header.size();
    std::memcpy(at, BodyHead, BodyHeadSize);
    at += BodyHeadSize;
    // Each search reaches back over the end of the block before, for a
    // boundary that straddles the two.
    bool holdsDefault = false;
    for (qint64 done = 0; done < pictureSize;) {
        const qint64 block = std::min(ReadBlock, pictureSize - done);
        if (!fill(at + done, block)) {
            if (pictureAtFault)
                *pictureAtFault = true;
            return std::nullopt;
        }
        if (!holdsDefault) {
            const qint64 from = std::max<qint64>(0, done - (BoundaryLength - 1));
            holdsDefault = Holds(QByteArrayView(at + from, done + block - from), DefaultBoundary);
        }
        done += block;
    }
    const QByteArray boundary = holdsDefault ? BoundaryFor(QByteArrayView(at, pictureSize)) : DefaultBoundary;
    at += pictureSize;
    std::memcpy(at, BodyTail, BodyTailSize);
    if (boundary != DefaultBoundary) {
        // Same length, so only the framing's bytes change, never a length.
        auto replaceIn = [&boundary](char *from, qsizetype size, int times) {
            for (char *end = from + size; times-- > 0;) {
                from = std::search(from, end, DefaultBoundary.cbegin(), DefaultBoundary.cend());
                if (from == end)
                    return;
                std::memcpy(from, boundary.constData(), BoundaryLength);
            }
        };
        // The Content-Type line comes before the cookie, so a login that
        // happens to hold the boundary stays as typed.
        char *body = request.data() + header.size();
        replaceIn(request.data(), header.size(), 1);
        replaceIn(body, BodyHeadSize, 2);
        replaceIn(at, BodyTailSize, 1);
    }
    return request;
}
