#pragma once

#include "settings/SettingKey.h"

#include <QByteArray>
#include <QByteArrayMatcher>
#include <QList>
#include <QString>
#include <QStringMatcher>

#include <functional>

// Picks the account's picture addresses out of photo-library page markup.
// Each address follows the link marker and ends in ".jpg' ". What would hold
// a quote, an angle bracket or white space on its way there, or run longer
// than 2,048 bytes, is no address and is skipped.
class LinkExtractor
{
public:
    // The member whose pictures the tools pick out unless told otherwise.
    static constexpr auto &DefaultAccount = SettingDefaults::Account;

    // The image host of the build.
    LinkExtractor();
    // account: a whole number, its digits only.
    explicit LinkExtractor(const QString &imageHost, const QString &account = QString::fromLatin1(DefaultAccount));

    static QString UrlFilePath(const QString &home);
    // The account's picture directory: its first four digits as nested
    // folders, then the whole number ("4/1/8/2/418265/").
    static QString PictureDirectory(const QString &account);

    // In page order, in the Windows-1251 bytes they are written with.
    QList<QByteArray> Extract(QStringView page) const;
    // The same for markup still in UTF-8, so that a large page need not be
    // decoded whole: only the addresses are.
    QList<QByteArray> ExtractUtf8(QByteArrayView page) const;

    // Append each address and CR LF to url.txt in home, all or nothing
    // (nothing when stopped() holds before the end).
    bool AppendToUrlFile(const QString &home, QStringView page, int *count, QString *error) const;
    bool AppendUtf8ToUrlFile(const QString &home, QByteArrayView page, int *count, QString *error,
                             const std::function<bool()> &stopped = {}) const;

private:
    static bool AppendLines(const QString &home, const QList<QByteArray> &addresses, int *count, QString *error,
                            const std::function<bool()> &stopped = {});

    QStringMatcher m_marker;
    QByteArrayMatcher m_markerUtf8;
};
