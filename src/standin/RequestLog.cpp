#include "standin/RequestLog.h"

namespace RequestLog {

QByteArray Printable(QByteArrayView text)
{
    static const char Hex[] = "0123456789abcdef";
    const QByteArrayView shown = text.first(qMin(text.size(), MaxShown));
    QByteArray out;
    out.reserve(shown.size() + 3);
    for (char c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f || c == '\\') {
            out += "\\x";
            out += Hex[byte >> 4];
            out += Hex[byte & 0xf];
        } else {
            out += c;
        }
    }
    if (shown.size() < text.size())
        out += "...";
    return out;
}

QByteArray Line(QByteArrayView method, QByteArrayView path, QByteArrayView outcome, qint64 bytesIn, qint64 bytesOut)
{
    const auto field = [](QByteArrayView text) { return text.isEmpty() ? QByteArray("-") : Printable(text); };
    return field(method) + ' ' + field(path) + ' ' + field(outcome) + " in=" + QByteArray::number(bytesIn)
        + " out=" + QByteArray::number(bytesOut) + '\n';
}

}
