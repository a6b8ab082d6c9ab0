#include "text/Cp1251.h"

#include <array>

namespace {

// 0x80..0xBF; 0x98 has no character in the code page, so it maps to the C1
// control of the same number and round-trips unchanged.
constexpr std::array<char16_t, 64> UpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

constexpr char16_t CyrillicA = 0x0410; // А is 0xC0, я (0x044F) is 0xFF

}

namespace Cp1251 {

char FromUnicode(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80)
        return char(u);
    if (u >= CyrillicA && u < CyrillicA + 64)
        return char(0xC0 + (u - CyrillicA));
    for (std::size_t i = 0; i < UpperHalf.size(); ++i) {
        if (UpperHalf[i] == u)
            return char(0x80 + i);
    }
    return '?';
}

QByteArray FromUnicode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (QChar ch : text)
        *out++ = FromUnicode(ch);
    return bytes;
}

QChar ToUnicode(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    if (b < 0x80)
        return QChar(b);
    if (b >= 0xC0)
        return QChar(char16_t(CyrillicA + (b - 0xC0)));
    return QChar(UpperHalf[b - 0x80]);
}

QString ToUnicode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char b : bytes)
        *out++ = ToUnicode(b);
    return text;
}

}
