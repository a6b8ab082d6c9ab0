#include "folder/NameFilter.h"

#include "folder/NativeName.h"

NameFilter::NameFilter(const QString &pattern)
    : m_pattern(pattern)
    , m_matcher(QRegularExpression::wildcardToRegularExpression(pattern), QRegularExpression::CaseInsensitiveOption)
{
}

bool NameFilter::Matches(const QString &name) const
{
    return !name.startsWith(QLatin1Char('.')) && m_matcher.match(NativeName::Displayable(name)).hasMatch();
}
