#include "linktools/LinkExtractor.h"

#include "config/BuildSettings.h"
#include "linktools/TextFileAppender.h"
#include "text/Cp1251.h"

#include <QDir>

#include <algorithm>

namespace {

// Everything of the marker before the address: class="other"></a><span><a href='
const QString MarkerLead = QStringLiteral("class=\"other\"></a><span><a href='");
constexpr qsizetype LongestAddress = 2048;
constexpr qsizetype NestedDigits = 4;

QString Marker(const QString &imageHost, const QString &account)
{
    return MarkerLead + QStringLiteral("http://") + imageHost + QStringLiteral("/userdir/")
        + LinkExtractor::PictureDirectory(account);
}

char16_t At(QStringView text, qsizetype i) { return text[i].unicode(); }
char16_t At(QByteArrayView bytes, qsizetype i) { return uchar(bytes[i]); }

bool IsDelimiter(char16_t c)
{
    return c == u'\'' || c == u'"' || c == u'<' || c == u'>' || c == u' ' || (c >= u'\t' && c <= u'\r');
}

// The address runs from start to the first quote, angle bracket or white
// space, and that must be the apostrophe of ".jpg' ". Stopping there keeps
// every address to its own stretch of the page, so neither the scan nor the
// output can outgrow the page, however many markers share one far end.
// Returns the address's end, or -1 when it is no address.
template <typename View>
qsizetype AddressEnd(View page, qsizetype start, qsizetype longest)
{
    const qsizetype stop = std::min(page.size(), start + longest + 1);
    qsizetype end = start;
    while (end < stop && !IsDelimiter(At(page, end)))
        ++end;
    if (end == stop || end + 1 >= page.size() || At(page, end) != u'\'' || At(page, end + 1) != u' ')
        return -1;
    if (end - start < 4 || At(page, end - 4) != u'.' || At(page, end - 3) != u'j' || At(page, end - 2) != u'p'
        || At(page, end - 1) != u'g') {
        return -1;
    }
    return end;
}

// Marker and delimiters are ASCII, and UTF-8 never uses ASCII bytes inside
// a longer sequence, so the byte positions in UTF-8 are those of the text.
// take gets each address as it stands in the page and may still refuse it.
template <typename View, typename Matcher, typename Take>
void ForEachAddress(View page, const Matcher &marker, qsizetype longest, Take take)
{
    for (qsizetype found = marker.indexIn(page, 0); found >= 0;) {
        const qsizetype start = found + MarkerLead.size();
        const qsizetype end = AddressEnd(page, start, longest);
        if (end >= 0)
            take(page.sliced(start, end - start));
        found = marker.indexIn(page, start);
    }
}

// White space beyond ASCII counts as well, so that both readings of a page
// agree.
bool HoldsWideSpace(QStringView address)
{
    return std::any_of(address.begin(), address.end(), [](QChar c) { return c.unicode() >= 0x80 && c.isSpace(); });
}

}

LinkExtractor::LinkExtractor()
    : LinkExtractor(QString::fromLatin1(BuildSettings::ImageHost))
{
}

LinkExtractor::LinkExtractor(const QString &imageHost, const QString &account)
    : m_marker(Marker(imageHost, account))
    , m_markerUtf8(Marker(imageHost, account).toUtf8())
{
}

QString LinkExtractor::UrlFilePath(const QString &home)
{
    return QDir(home).filePath(QStringLiteral("url.txt"));
}

QString LinkExtractor::PictureDirectory(const QString &account)
{
    QString directory;
    for (qsizetype i = 0; i < std::min(NestedDigits, account.size()); ++i)
        directory += account.at(i) + QLatin1Char('/');
    return directory + account + QLatin1Char('/');
}

QList<QByteArray> LinkExtractor::Extract(QStringView page) const
{
    QList<QByteArray> addresses;
    // One Windows-1251 byte per UTF-16 unit.
    ForEachAddress(page, m_marker, LongestAddress, [&](QStringView address) {
        if (!HoldsWideSpace(address))
            addresses.append(Cp1251::FromUnicode(address));
    });
    return addresses;
}

QList<QByteArray> LinkExtractor::ExtractUtf8(QByteArrayView page) const
{
    QList<QByteArray> addresses;
    // Up to three UTF-8 bytes make one UTF-16 unit, and so one byte written.
    ForEachAddress(page, m_markerUtf8, 3 * LongestAddress, [&](QByteArrayView address) {
        // Addresses are plain ASCII as a rule, the same bytes in both encodings.
        if (std::all_of(address.begin(), address.end(), [](char c) { return uchar(c) < 0x80; })) {
            if (address.size() <= LongestAddress)
                addresses.append(address.toByteArray());
            return;
        }
        const QString text = QString::fromUtf8(address);
        if (text.size() <= LongestAddress && !HoldsWideSpace(text))
            addresses.append(Cp1251::FromUnicode(text));
    });
    return addresses;
}

bool LinkExtractor::AppendToUrlFile(const QString &home, QStringView page, int *count, QString *error) const
{
    return AppendLines(home, Extract(page), count, error);
}

bool LinkExtractor::AppendUtf8ToUrlFile(const QString &home, QByteArrayView page, int *count, QString *error,
                                        const std::function<bool()> &stopped) const
{
    return AppendLines(home, ExtractUtf8(page), count, error, stopped);
}

bool LinkExtractor::AppendLines(const QString &home, const QList<QByteArray> &addresses, int *count, QString *error,
                                const std::function<bool()> &stopped)
{
    *count = 0;
    TextFileAppender file(UrlFilePath(home), stopped);
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
