#include "cli/ExtractLinksCommand.h"

#include "cli/ExitStatus.h"
#include "cli/StopSignals.h"
#include "linktools/LinkExtractor.h"

#include <QFile>

int ExtractLinksCommand::Run(const Context &context)
{
    StopSignals stopSignals;
    QFile input;
    const bool opened = input.open(stdin, QIODevice::ReadOnly);
    const QByteArray page = opened ? input.readAll() : QByteArray();
    if (!opened || input.error() != QFileDevice::NoError)
        return Fail(QStringLiteral("Cannot read standard input: ") + input.errorString());

    int count = 0;
    QString error;
    const LinkExtractor extractor(context.values.value(SettingKey::ImageHost), context.values.value(SettingKey::Account));
    if (!extractor.AppendUtf8ToUrlFile(context.home, page, &count, &error,
                                       [&stopSignals] { return stopSignals.Requested(); })) {
        return Fail(error, stopSignals.Requested());
    }
    PrintAppended(count, QStringLiteral("address"), QStringLiteral("addresses"), LinkExtractor::UrlFilePath(context.home));
    return ExitStatus::Success;
}
