#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The account's photo-library page, in the markup the link tools look for:
// each picture's address follows the "other" link marker and ends in
// ".jpg' ". Another member's pictures and plain links sit around it, as on
// the real page, so that extraction is tried on something page-like.
class PhotoLibraryPage
{
public:
    static constexpr char AccountDir[] = "/userdir/4/1/8/2/418265/";
    static constexpr char ThumbDir[] = "thumb/";

    explicit PhotoLibraryPage(const QString &imageHost);

    QByteArray Render(const QStringList &pictures) const;

private:
    QString Entry(const QString &dir, const QString &picture) const;

    QString m_imageHost;
};
