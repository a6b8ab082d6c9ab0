#include "folder/NameFilter.h"

#include "folder/NativeName.h"

namespace {

QString Alternatives(const QString &patterns)
{
    QStringList each;
    for (const QString &pattern : patterns.split(QLatin1Char(';')))
        each << QRegularExpression::wildcardToRegularExpression(pattern);
    return each.join(QLatin1Char('|'));
}

}

NameFilter::NameFilter(const QString &pattern)
    : m_pattern(pattern)
    , m_matcher(Alternatives(pattern), QRegularExpression::CaseInsensitiveOption)
{
}

bool NameFilter::Matches(const QString &name) const
{
    return !name.startsWith(QLatin1Char('.')) && m_matcher.match(NativeName::Displayable(name)).hasMatch();
}
