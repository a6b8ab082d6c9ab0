#include "md5/clsMD5.h"

#include "text/Cp1251.h"

#include <cstring>

namespace {

constexpr std::uint32_t StepConstants[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr unsigned Shifts[4][4] = {
    {7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// Which block word each step reads: x = (start + step * stride) mod 16.
constexpr unsigned WordStart[4] = {0, 1, 5, 0};
constexpr unsigned WordStride[4] = {1, 5, 3, 7};

std::uint32_t RoundFunction(int round, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    switch (round) {
    case 0: return (b & c) | (~b & d);  // FF
    case 1: return (b & d) | (c & ~d);  // GG
    case 2: return b ^ c ^ d;           // HH
    default: return c ^ (b | ~d);       // II
    }
}

}

std::optional<QString> clsMD5::CalculateMD5(QStringView text)
{
    if (text.size() > MaxTextLength)
        return std::nullopt;
    const QByteArray message = TextToBytes(text);
    ResetContext();
    AbsorbBytes(message.size(), reinterpret_cast<const unsigned char *>(message.constData()));
    FinishDigest();
    return DigestToHex();
}

QByteArray clsMD5::TextToBytes(QStringView text)
{
    return Cp1251::FromUnicode(text);
}

void clsMD5::ResetContext()
{
    m_ChainWords = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    m_BytesSeen = 0;
}

void clsMD5::AbsorbBytes(qsizetype count, const unsigned char *bytes)
{
    qsizetype used = m_BytesSeen % 64;
    m_BytesSeen += std::int32_t(count);
    while (count > 0) {
        const qsizetype take = std::min<qsizetype>(64 - used, count);
        std::memcpy(m_PendingBlock.data() + used, bytes, size_t(take));
        used += take;
        bytes += take;
        count -= take;
        if (used == 64) {
            CompressBlock(m_PendingBlock.data());
            used = 0;
        }
    }
}

void clsMD5::FinishDigest()
{
    const std::uint64_t bitLength = std::uint64_t(std::uint32_t(m_BytesSeen)) * 8;
    const unsigned char marker = 0x80;
    AbsorbBytes(1, &marker);
    const unsigned char zero = 0;
    while (m_BytesSeen % 64 != 56)
        AbsorbBytes(1, &zero);
    unsigned char length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<unsigned char>(bitLength >> (8 * i));
    AbsorbBytes(8, length);
}

void clsMD5::CompressBlock(const unsigned char *block)
{
    const std::array<Word, 16> x = WordsFromBlock(block);
    Word work[4] = {m_ChainWords[0], m_ChainWords[1], m_ChainWords[2], m_ChainWords[3]};
    for (int step = 0; step < 64; ++step) {
        const int round = step / 16;
        const int i = step % 16;
        // The working words rotate one place each step: a, d, c, b.
        Word &a = work[(64 - i) % 4];
        const Word b = work[(65 - i) % 4];
        const Word c = work[(66 - i) % 4];
        const Word d = work[(67 - i) % 4];
        const Word sum = AddFourWords(a, RoundFunction(round, b, c, d),
                                      x[(WordStart[round] + WordStride[round] * i) % 16],
                                      StepConstants[step]);
        a = AddWords(b, RotateLeft(sum, Shifts[round][i % 4]));
    }
    for (int i = 0; i < 4; ++i)
        m_ChainWords[i] = AddWords(m_ChainWords[i], work[i]);
}

std::array<clsMD5::Word, 16> clsMD5::WordsFromBlock(const unsigned char *block)
{
    std::array<Word, 16> words;
    for (int i = 0; i < 16; ++i) {
        const unsigned char *p = block + 4 * i;
        words[i] = Word(p[0]) | Word(p[1]) << 8 | Word(p[2]) << 16 | Word(p[3]) << 24;
    }
    return words;
}

clsMD5::Word clsMD5::RotateLeft(Word w, unsigned s)
{
    s %= 32;
    return s == 0 ? w : (w << s) | (w >> (32 - s));
}

QString clsMD5::WordToHex(Word w)
{
    static const char digits[] = "0123456789abcdef";
    QString hex(8, Qt::Uninitialized);
    for (int i = 0; i < 4; ++i) {
        const unsigned byte = (w >> (8 * i)) & 0xFF;
        hex[2 * i] = QLatin1Char(digits[byte >> 4]);
        hex[2 * i + 1] = QLatin1Char(digits[byte & 0xF]);
    }
    return hex;
}

QString clsMD5::DigestToHex() const
{
    QString hex;
    for (Word w : m_ChainWords)
        hex += WordToHex(w);
    return hex;
}
