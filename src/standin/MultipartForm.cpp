#include "standin/MultipartForm.h"

namespace {

const QByteArrayView CrLf("\r\n");

// Splits "a; b=c; d=\"e;f\"" at the semicolons outside quotes.
QList<QByteArrayView> SplitParameters(QByteArrayView text)
{
    QList<QByteArrayView> items;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '"')
            quoted = !quoted;
        if (i == text.size() || (text[i] == ';' && !quoted)) {
            items.append(text.sliced(start, i - start).trimmed());
            start = i + 1;
        }
    }
    return items;
}

std::optional<QByteArray> Parameter(QByteArrayView header, QByteArrayView key)
{
    const QList<QByteArrayView> items = SplitParameters(header);
    for (qsizetype i = 1; i < items.size(); ++i) {
        const qsizetype eq = items[i].indexOf('=');
        if (eq < 0 || items[i].first(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        QByteArrayView value = items[i].sliced(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.sliced(1, value.size() - 2);
        return value.toByteArray();
    }
    return std::nullopt;
}

// A delimiter only counts at the start of a line and when the line ends
// right after it (or goes on with "--" for the last one), so a picture may
// hold the boundary text anywhere else.
qsizetype FindDelimiterLine(QByteArrayView body, QByteArrayView delimiter, qsizetype from)
{
    for (qsizetype at = body.indexOf(delimiter, from); at >= 0; at = body.indexOf(delimiter, at + 1)) {
        const bool lineStart = at == 0 || (at >= 2 && body.sliced(at - 2, 2) == CrLf);
        const QByteArrayView after = body.sliced(at + delimiter.size());
        if (lineStart && (after.startsWith(CrLf) || after.startsWith("--")))
            return at;
    }
    return -1;
}

}

QByteArray MultipartForm::BoundaryOf(QByteArrayView contentType)
{
    const QList<QByteArrayView> items = SplitParameters(contentType);
    if (items.front().compare("multipart/form-data", Qt::CaseInsensitive) != 0)
        return {};
    return Parameter(contentType, "boundary").value_or(QByteArray());
}

std::optional<MultipartForm> MultipartForm::Parse(QByteArrayView body, QByteArrayView boundary)
{
    if (boundary.isEmpty())
        return std::nullopt;
    const QByteArray delimiter = "--" + boundary.toByteArray();
    qsizetype at = FindDelimiterLine(body, delimiter, 0);
    if (at < 0)
        return std::nullopt;
    MultipartForm form;
    for (;;) {
        const qsizetype lineEnd = at + delimiter.size();
        if (body.sliced(lineEnd).startsWith("--"))
            return form;
        const qsizetype partStart = lineEnd + CrLf.size();
        const qsizetype next = FindDelimiterLine(body, delimiter, partStart);
        if (next < 0)
            return std::nullopt;
        // The CRLF before the next delimiter line belongs to the framing.
        const qsizetype partEnd = qMax(partStart, next - CrLf.size());
        std::optional<Part> part = ParsePart(body.sliced(partStart, partEnd - partStart));
        if (!part)
            return std::nullopt;
        form.m_parts.append(*part);
        at = next;
    }
}

std::optional<MultipartForm::Part> MultipartForm::ParsePart(QByteArrayView part)
{
    // A part with no headers starts with its blank line at once.
    const qsizetype headEnd = part.startsWith(CrLf) ? 0 : part.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return std::nullopt;
    Part result;
    result.content = part.sliced(headEnd + (headEnd == 0 ? 2 : 4));
    QByteArrayView headers = part.first(headEnd);
    while (!headers.isEmpty()) {
        qsizetype end = headers.indexOf(CrLf);
        if (end < 0)
            end = headers.size();
        const QByteArrayView line = headers.first(end);
        headers = headers.sliced(qMin(headers.size(), end + CrLf.size()));
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.first(colon).trimmed().compare("content-disposition", Qt::CaseInsensitive) != 0)
            continue;
        const QByteArrayView value = line.sliced(colon + 1).trimmed();
        result.name = Parameter(value, "name").value_or(QByteArray());
        result.fileName = Parameter(value, "filename");
    }
    return result;
}

const MultipartForm::Part *MultipartForm::Find(QByteArrayView name) const
{
    for (const Part &part : m_parts) {
        if (part.name == name)
            return &part;
    }
    return nullptr;
}
