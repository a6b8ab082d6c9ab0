#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a page the service sent back says to a person: the visible text of
// a reply that has neither marker, with the HTTP head, markup, scripts and
// styles left out, Windows-1251 decoded and white space folded. Fed as the
// bytes arrive; only the first MaxLength characters are kept, so memory
// stays bounded however long the reply runs. A service's error page may
// echo the request's head, so the request's secrets are masked before the
// words are printed, shown or logged.
class ServiceWords
{
public:
    static constexpr qsizetype MaxLength = 300;

    // Forgets the words, not the secrets.
    void Clear();
    // The secrets of the request these words answer: the password, its
    // digest and the cookie's value.
    void SetCredentials(const QString &login, const QString &password);
    void Append(QByteArrayView bytes);
    QString Text() const;

private:
    enum class Mode { Start, Head, Text, Tag, Entity };

    void Take(char byte);
    void EndTag();
    void EndEntity();
    void Emit(QChar ch);
    void Space() { m_space = true; }

    QString Masked(QString text) const;

    Mode m_mode = Mode::Start;
    QByteArray m_start;
    QByteArray m_name;
    QByteArray m_skipUntil;
    QString m_text;
    QStringList m_secrets;
    // Kept beyond MaxLength, so that a secret the cut would split is still
    // found whole.
    qsizetype m_margin = 0;
    int m_headBreaks = 0;
    bool m_nameDone = false;
    bool m_space = false;
    bool m_cut = false;
};
