#include "cli/ExtractLinksCommand.h"

#include "cli/ExitStatus.h"
#include "cli/StopSignals.h"
#include "cli/StandardInput.h"
#include "linktools/LinkExtractor.h"

#include <QCoreApplication>

namespace {

// A page of 20,000 pictures is about 10 MB; the cap only stops input that
// never ends from filling memory.
constexpr qsizetype LargestPage = 64 * 1024 * 1024;

}

int ExtractLinksCommand::Run(const Context &context)
{
    StopSignals stopSignals;
    QByteArray page;
    QString error;
    switch (StandardInput::All(LargestPage, &page, &error)) {
    case StandardInput::Result::Failed:
        return Fail(QCoreApplication::translate("ExtractLinksCommand", "Cannot read standard input: %1").arg(error));
    case StandardInput::Result::TooLong:
        Fail(QCoreApplication::translate("ExtractLinksCommand",
                                         "The page on standard input is larger than %1 MiB: is it a page?")
                 .arg(LargestPage >> 20));
        return ExitStatus::Usage;
    case StandardInput::Result::Ended:
    case StandardInput::Result::Read: break;
    }

    int count = 0;
    const LinkExtractor extractor(context.values.value(SettingKey::ImageHost), context.values.value(SettingKey::Account));
    if (!extractor.AppendUtf8ToUrlFile(context.home, page, &count, &error,
                                       [&stopSignals] { return stopSignals.Requested(); })) {
        return Fail(error, stopSignals.Requested());
    }
    PrintAppended(QCoreApplication::translate("ExtractLinksCommand", "%n address(es) appended to %1", nullptr, count),
                  LinkExtractor::UrlFilePath(context.home));
    return ExitStatus::Success;
}
