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

// What may follow "--boundary" for it to be a delimiter: "--" for the
// closing one, else transport padding and the line's end. Anything else
// there leaves the text to the part it is in. *next: where the next part,
// or the epilogue, starts.
bool EndsDelimiter(QByteArrayView body, qsizetype at, qsizetype *next, bool *closing)
{
    QByteArrayView rest = body.sliced(at);
    if (rest.startsWith("--")) {
        *closing = true;
        *next = at + 2;
        return true;
    }
    qsizetype padding = 0;
    while (padding < rest.size() && (rest[padding] == ' ' || rest[padding] == '\t'))
        ++padding;
    if (!rest.sliced(padding).startsWith(CrLf))
        return false;
    *closing = false;
    *next = at + padding + CrLf.size();
    return true;
}

// The CRLF before "--boundary" belongs to the delimiter, not to the part
// that ends there. Each byte is looked at a bounded number of times: the
// delimiter cannot overlap itself, since a boundary holds no CR.
qsizetype FindDelimiter(QByteArrayView body, QByteArrayView delimiter, qsizetype from, qsizetype *next, bool *closing)
{
    for (qsizetype at = body.indexOf(delimiter, from); at >= 0; at = body.indexOf(delimiter, at + 1)) {
        if (EndsDelimiter(body, at + delimiter.size(), next, closing))
            return at;
    }
    return -1;
}

bool IsBoundaryChar(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
        || QByteArrayView("'()+_,-./:=? ").contains(c);
}

}

bool MultipartForm::IsBoundary(QByteArrayView boundary)
{
    if (boundary.isEmpty() || boundary.size() > MaxBoundarySize || boundary.endsWith(' '))
        return false;
    for (char c : boundary) {
        if (!IsBoundaryChar(c))
            return false;
    }
    return true;
}

QByteArray MultipartForm::BoundaryOf(QByteArrayView contentType)
{
    const QList<QByteArrayView> items = SplitParameters(contentType);
    if (items.front().compare("multipart/form-data", Qt::CaseInsensitive) != 0)
        return {};
    const QByteArray boundary = Parameter(contentType, "boundary").value_or(QByteArray());
    return IsBoundary(boundary) ? boundary : QByteArray();
}

std::optional<MultipartForm> MultipartForm::Parse(QByteArrayView body, QByteArrayView boundary)
{
    if (!IsBoundary(boundary))
        return std::nullopt;
    const QByteArray delimiter = "\r\n--" + boundary.toByteArray();
    const QByteArrayView dashBoundary = QByteArrayView(delimiter).sliced(CrLf.size());
    qsizetype next = 0;
    bool closing = false;
    // Only the first delimiter may open the body without a CRLF before it.
    const bool atStart = body.startsWith(dashBoundary) && EndsDelimiter(body, dashBoundary.size(), &next, &closing);
    if (!atStart && FindDelimiter(body, delimiter, 0, &next, &closing) < 0)
        return std::nullopt;
    MultipartForm form;
    while (!closing) {
        if (form.m_parts.size() == MaxParts)
            return std::nullopt;
        const qsizetype partStart = next;
        const qsizetype partEnd = FindDelimiter(body, delimiter, partStart, &next, &closing);
        if (partEnd < 0)
            return std::nullopt;
        std::optional<Part> part = ParsePart(body.sliced(partStart, partEnd - partStart));
        if (!part)
            return std::nullopt;
        form.m_parts.append(std::move(*part));
    }
    return form;
}

std::optional<MultipartForm::Part> MultipartForm::ParsePart(QByteArrayView part)
{
    // A part with no headers starts with its blank line at once.
    const qsizetype headEnd = part.startsWith(CrLf)
        ? 0
        : part.first(qMin(part.size(), MaxPartHeadSize + 4)).indexOf("\r\n\r\n");
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
