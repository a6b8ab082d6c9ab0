#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Which names of a folder count: wildcard patterns separated by ";", any
// of which may match, with letter case ignored, hidden names never, as in the platform's file list. One filter
// for the picture list, the import, drops and the set-aside pictures, so
// that none of them takes a picture another would leave.
class NameFilter
{
public:
    explicit NameFilter(const QString &pattern = QStringLiteral("*"));

    const QString &Pattern() const { return m_pattern; }
    bool Matches(const QString &name) const;

private:
    QString m_pattern;
    QRegularExpression m_matcher;
};
