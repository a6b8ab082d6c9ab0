#include "linktools/LinkExtractor.h"

#include "config/BuildSettings.h"
#include "linktools/TextFileAppender.h"
#include "text/Cp1251.h"

#include <QDir>

#include <algorithm>

namespace {

// Everything of the marker before the address: class="other"></a><span><a href='
const QString MarkerLead = QStringLiteral("class=\"other\"></a><span><a href='");
const QString AccountDir = QStringLiteral("/userdir/4/1/8/2/418265/");
const QString AddressEnd = QStringLiteral(".jpg' ");
constexpr qsizetype KeptOfEnd = 4; // ".jpg"

QString Marker(const QString &imageHost)
{
    return MarkerLead + QStringLiteral("http://") + imageHost + AccountDir;
}

// Marker and end are ASCII, and UTF-8 never uses ASCII bytes inside a
// longer sequence, so the byte positions in UTF-8 are those of the text.
template <typename View, typename Matcher, typename Encode>
QList<QByteArray> Addresses(View page, const Matcher &marker, const Matcher &addressEnd, Encode encode)
{
    QList<QByteArray> addresses;
    qsizetype end = -1;
    qsizetype found = marker.indexIn(page, 0);
    while (found >= 0) {
        const qsizetype start = found + MarkerLead.size();
        // An end found for an earlier marker that lies past this start is
        // still the first one after it: searching again would make runs of
        // markers without ends quadratic.
        if (end < start)
            end = addressEnd.indexIn(page, start);
        // With no end left anywhere, no later marker can have one either.
        if (end < 0)
            break;
        addresses.append(encode(page.sliced(start, end + KeptOfEnd - start)));
        found = marker.indexIn(page, start);
    }
    return addresses;
}

}

LinkExtractor::LinkExtractor()
    : LinkExtractor(QString::fromLatin1(BuildSettings::ImageHost))
{
}

LinkExtractor::LinkExtractor(const QString &imageHost)
    : m_marker(Marker(imageHost))
    , m_end(AddressEnd)
    , m_markerUtf8(Marker(imageHost).toUtf8())
    , m_endUtf8(AddressEnd.toUtf8())
{
}

QString LinkExtractor::UrlFilePath(const QString &home)
{
    return QDir(home).filePath(QStringLiteral("url.txt"));
}

QList<QByteArray> LinkExtractor::Extract(QStringView page) const
{
    return Addresses(page, m_marker, m_end, [](QStringView address) { return Cp1251::FromUnicode(address); });
}

QList<QByteArray> LinkExtractor::ExtractUtf8(QByteArrayView page) const
{
    return Addresses(page, m_markerUtf8, m_endUtf8, [](QByteArrayView address) {
        // Addresses are plain ASCII as a rule, the same bytes in both encodings.
        if (std::all_of(address.begin(), address.end(), [](char c) { return uchar(c) < 0x80; }))
            return address.toByteArray();
        return Cp1251::FromUnicode(QString::fromUtf8(address));
    });
}

bool LinkExtractor::AppendToUrlFile(const QString &home, QStringView page, int *count, QString *error) const
{
    return AppendLines(home, Extract(page), count, error);
}

bool LinkExtractor::AppendUtf8ToUrlFile(const QString &home, QByteArrayView page, int *count, QString *error) const
{
    return AppendLines(home, ExtractUtf8(page), count, error);
}

bool LinkExtractor::AppendLines(const QString &home, const QList<QByteArray> &addresses, int *count, QString *error)
{
    *count = 0;
    TextFileAppender file(UrlFilePath(home));
    if (!file.Open(error))
        return false;
    // A last line left without its break would take the first address in.
    const QByteArray tail = file.Tail();
    const bool lineOpen = !tail.isEmpty() && !tail.endsWith('\r') && !tail.endsWith("\r\n");
    if (lineOpen && !addresses.isEmpty() && !file.Write("\r\n", error))
        return false;
    for (const QByteArray &address : addresses) {
        if (!file.Write(address, error) || !file.Write("\r\n", error))
            return false;
    }
    if (!file.Commit(error))
        return false;
    *count = int(addresses.size());
    return true;
}
