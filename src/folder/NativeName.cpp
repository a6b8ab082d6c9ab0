#include "folder/NativeName.h"

#include <algorithm>

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool IsEscapedByte(char16_t unit)
{
    return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF;
}

// The length of the valid UTF-8 sequence at the start of bytes, or 0.
qsizetype ValidSequence(const unsigned char *bytes, qsizetype left)
{
    const unsigned char lead = bytes[0];
    if (lead < 0x80)
        return 1;
    qsizetype length;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F; // no surrogates: they are how escaped bytes travel
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || bytes[1] < low || bytes[1] > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (bytes[i] < 0x80 || bytes[i] > 0xBF)
            return 0;
    }
    return length;
}

}

namespace NativeName {

QString Decode(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    QString name;
    name.reserve(size);
    qsizetype runStart = 0;
    auto flushRun = [&](qsizetype end) {
        if (end > runStart)
            name += QString::fromUtf8(bytes.constData() + runStart, end - runStart);
    };
    for (qsizetype at = 0; at < size;) {
        const qsizetype length = ValidSequence(data + at, size - at);
        if (length > 0) {
            at += length;
            continue;
        }
        flushRun(at);
        name += QChar(char16_t(EscapeBase + data[at]));
        runStart = ++at;
    }
    flushRun(size);
    return name;
}

QByteArray Encode(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    auto flushRun = [&](qsizetype end) {
        if (end > runStart)
            bytes += QStringView(name).mid(runStart, end - runStart).toUtf8();
    };
    for (qsizetype at = 0; at < name.size(); ++at) {
        const char16_t unit = name.at(at).unicode();
        // Only a lone low surrogate is an escape; the second half of a pair
        // is part of a real character.
        if (!IsEscapedByte(unit) || (at > 0 && name.at(at - 1).isHighSurrogate()))
            continue;
        flushRun(at);
        bytes += char(unit - EscapeBase);
        runStart = at + 1;
    }
    flushRun(name.size());
    return bytes;
}

QString Escaped(const QString &text)
{
    const auto plain = [](QChar ch) {
        return ch != QLatin1Char('\\') && ch.category() != QChar::Other_Control && !ch.isSurrogate()
            && ch != QChar::LineSeparator && ch != QChar::ParagraphSeparator;
    };
    if (std::all_of(text.cbegin(), text.cend(), plain))
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar ch = text.at(at);
        if (plain(ch)) {
            out += ch;
        } else if (ch.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
            out += ch;
            out += text.at(++at);
        } else if (ch == QLatin1Char('\t')) {
            out += QStringLiteral("\\t");
        } else if (ch == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else if (ch == QLatin1Char('\r')) {
            out += QStringLiteral("\\r");
        } else if (ch == QLatin1Char('\\')) {
            out += QStringLiteral("\\\\");
        } else {
            for (const char byte : Encode(QString(ch)))
                out += QStringLiteral("\\x%1").arg(uint(uchar(byte)), 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

QString Displayable(const QString &name)
{
    QString shown = name;
    for (qsizetype at = 0; at < shown.size(); ++at) {
        if (IsEscapedByte(shown.at(at).unicode()) && !(at > 0 && shown.at(at - 1).isHighSurrogate()))
            shown[at] = QChar::ReplacementCharacter;
    }
    return shown;
}

}
