#pragma once

#include <QByteArray>
#include <QString>

// What a page the service sent back says to a person: the visible text of
// a reply that has neither marker, with the HTTP head, markup, scripts and
// styles left out, Windows-1251 decoded and white space folded. Fed as the
// bytes arrive; only the first MaxLength characters are kept, so memory
// stays bounded however long the reply runs.
class ServiceWords
{
public:
    static constexpr qsizetype MaxLength = 300;

    void Clear();
    void Append(QByteArrayView bytes);
    QString Text() const;

private:
    enum class Mode { Start, Head, Text, Tag, Entity };

    void Take(char byte);
    void EndTag();
    void EndEntity();
    void Emit(QChar ch);
    void Space() { m_space = true; }

    Mode m_mode = Mode::Start;
    QByteArray m_start;
    QByteArray m_name;
    QByteArray m_skipUntil;
    QString m_text;
    int m_headBreaks = 0;
    bool m_nameDone = false;
    bool m_space = false;
    bool m_cut = false;
};
