#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// RFC 1321 MD5 of a text taken as Windows-1251 bytes, written as 32
// lowercase hex digits: the form the service expects in its cookie.
class clsMD5
{
public:
    static constexpr qsizetype MaxTextLength = 32767;

    // No digest for a text longer than MaxTextLength (an overflow).
    std::optional<QString> CalculateMD5(QStringView text);

private:
    using Word = std::uint32_t;

    static QByteArray TextToBytes(QStringView text);
    void ResetContext();
    void AbsorbBytes(qsizetype count, const unsigned char *bytes);
    void FinishDigest();
    void CompressBlock(const unsigned char *block);
    static std::array<Word, 16> WordsFromBlock(const unsigned char *block);
    static Word AddWords(Word a, Word b) { return a + b; }
    static Word AddFourWords(Word a, Word b, Word c, Word d) { return a + b + c + d; }
    static Word RotateLeft(Word w, unsigned s);
    static QString WordToHex(Word w);
    QString DigestToHex() const;

    std::array<Word, 4> m_ChainWords {};
    std::int32_t m_BytesSeen = 0;
    std::array<unsigned char, 64> m_PendingBlock {};
};
