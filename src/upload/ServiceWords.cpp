#include "upload/ServiceWords.h"

#include "md5/clsMD5.h"
#include "text/Cp1251.h"
#include "upload/RequestBuilder.h"

#include <QByteArrayList>
#include <QList>
#include <QRegularExpression>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr qsizetype MaxName = 16;
// Stands in for each character of a secret until the words are cut.
constexpr char16_t MaskMark = 0xE000;

bool IsSpace(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n' || byte == '\f' || byte == '\v';
}

// Tags that break a line on the page, so their neighbours do not run
// together into one word.
bool BreaksLine(const QByteArray &name)
{
    static const QByteArrayList Breaking = {"br", "p", "div", "li", "tr", "td", "th", "table", "h1", "h2", "h3",
                                            "h4", "h5", "h6", "hr", "title", "body", "ul", "ol", "center", "form"};
    QByteArray bare = name.startsWith('/') ? name.mid(1) : name;
    return Breaking.contains(bare);
}

}

void ServiceWords::Clear()
{
    ServiceWords cleared;
    cleared.m_secrets = std::move(m_secrets);
    cleared.m_margin = m_margin;
    *this = std::move(cleared);
}

void ServiceWords::SetCredentials(const QString &login, const QString &password)
{
    // As they would read once decoded and folded like the page's words.
    const auto asShown = [](const QByteArray &bytes) { return Cp1251::ToUnicode(bytes).simplified(); };
    QStringList secrets = {asShown(Cp1251::FromUnicode(password))};
    if (const std::optional<QString> digest = clsMD5().CalculateMD5(password)) {
        secrets.append(*digest);
        secrets.append(asShown("user_login=" + RequestBuilder::CookieLogin(login) + "; user_pass=" + digest->toLatin1()));
    }
    secrets.removeAll(QString());
    // The longest first: the cookie's value holds the digest.
    std::sort(secrets.begin(), secrets.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    m_secrets = secrets;
    m_margin = secrets.isEmpty() ? 0 : secrets.first().size();
}

void ServiceWords::Append(QByteArrayView bytes)
{
    for (char byte : bytes) {
        if (m_cut)
            return;
        Take(byte);
    }
}

void ServiceWords::Take(char byte)
{
    switch (m_mode) {
    case Mode::Start:
        // A reply with an HTTP head: its status line and headers are no
        // words of the page.
        m_start += byte;
        if (!QByteArrayView("HTTP/").startsWith(m_start)) {
            const QByteArray taken = std::exchange(m_start, QByteArray());
            m_mode = Mode::Text;
            for (char b : taken)
                Take(b);
        } else if (m_start.size() == 5) {
            m_mode = Mode::Head;
        }
        return;
    case Mode::Head:
        if (byte == '\n') {
            if (++m_headBreaks == 2)
                m_mode = Mode::Text;
        } else if (byte != '\r') {
            m_headBreaks = 0;
        }
        return;
    case Mode::Text:
        if (byte == '<') {
            m_mode = Mode::Tag;
            m_name.clear();
            m_nameDone = false;
        } else if (!m_skipUntil.isEmpty()) {
            return;
        } else if (byte == '&') {
            m_mode = Mode::Entity;
            m_name.clear();
        } else if (IsSpace(byte)) {
            Space();
        } else {
            Emit(Cp1251::ToUnicode(byte));
        }
        return;
    case Mode::Tag:
        if (byte == '>') {
            EndTag();
            m_mode = Mode::Text;
        } else if (!m_nameDone) {
            if (IsSpace(byte) || (byte == '/' && !m_name.isEmpty()))
                m_nameDone = true;
            else if (m_name.size() < MaxName)
                m_name += byte >= 'A' && byte <= 'Z' ? char(byte + ('a' - 'A')) : byte;
        }
        return;
    case Mode::Entity:
        if (byte == ';') {
            EndEntity();
            m_mode = Mode::Text;
        } else if (m_name.size() < 10 && !IsSpace(byte) && byte != '<' && byte != '&') {
            m_name += byte;
        } else {
            // Not an entity after all: the ampersand was meant as one.
            const QByteArray taken = "&" + std::exchange(m_name, QByteArray());
            m_mode = Mode::Text;
            for (char b : taken)
                Emit(Cp1251::ToUnicode(b));
            Take(byte);
        }
        return;
    }
}

void ServiceWords::EndTag()
{
    const QByteArray name = m_name;
    if (!m_skipUntil.isEmpty()) {
        if (name == "/" + m_skipUntil)
            m_skipUntil.clear();
        return;
    }
    if (name == "script" || name == "style" || name == "title" || name == "head")
        m_skipUntil = name;
    else if (BreaksLine(name))
        Space();
}

void ServiceWords::EndEntity()
{
    static const QList<std::pair<QByteArray, char16_t>> Named = {
        {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}, {"nbsp", u' '},
        {"laquo", u'«'}, {"raquo", u'»'}, {"mdash", u'—'}, {"ndash", u'–'}};
    const QByteArray name = std::exchange(m_name, QByteArray());
    char32_t code = 0;
    if (name.startsWith("#x") || name.startsWith("#X")) {
        code = name.mid(2).toUInt(nullptr, 16);
    } else if (name.startsWith('#')) {
        code = name.mid(1).toUInt();
    } else {
        for (const auto &[entity, ch] : Named) {
            if (entity == name)
                code = ch;
        }
    }
    if (code == ' ' || code == 0xA0) {
        Space();
        return;
    }
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code < 0x20) {
        for (char b : "&" + name + ";")
            Emit(Cp1251::ToUnicode(b));
        return;
    }
    for (QChar ch : QString::fromUcs4(&code, 1))
        Emit(ch);
}

void ServiceWords::Emit(QChar ch)
{
    if (ch.isSpace() || ch.category() == QChar::Other_Control) {
        Space();
        return;
    }
    const bool gap = m_space && !m_text.isEmpty();
    if (m_text.size() + (gap ? 1 : 0) >= MaxLength + m_margin) {
        m_cut = true;
        return;
    }
    if (gap)
        m_text += QLatin1Char(' ');
    m_space = false;
    m_text += ch;
}

QString ServiceWords::Masked(QString text) const
{
    for (const QString &secret : m_secrets) {
        for (qsizetype at = text.indexOf(secret, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(secret, at + secret.size(), Qt::CaseInsensitive))
            text.replace(at, secret.size(), QString(secret.size(), QChar(MaskMark)));
    }
    return text;
}

QString ServiceWords::Text() const
{
    // Masked at full length and cut before each mask shrinks to "***", so
    // that nothing of a secret beyond the cut can move into view.
    QString shown = Masked(m_text);
    bool cut = m_cut || shown.size() > MaxLength;
    if (cut)
        shown.truncate(MaxLength - 1);
    static const QRegularExpression Masks(QStringLiteral("\\x{E000}+"));
    shown.replace(Masks, QStringLiteral("***"));
    if (shown.size() > MaxLength) {
        shown.truncate(MaxLength - 1);
        cut = true;
    }
    return cut ? shown.trimmed() + QChar(0x2026) : shown;
}
