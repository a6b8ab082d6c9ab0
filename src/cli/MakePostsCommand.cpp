#include "cli/MakePostsCommand.h"

#include "cli/ExitStatus.h"
#include "cli/StopSignals.h"
#include "linktools/PostMarkup.h"

#include <QCoreApplication>

int MakePostsCommand::Run(const Context &context)
{
    qint64 count = 0;
    QString error;
    StopSignals stopSignals;
    if (!PostMarkup::MakePosts(context.home, context.values.value(SettingKey::Account), &count, &error,
                               [&stopSignals] { return stopSignals.Requested(); })) {
        return Fail(error, stopSignals.Requested());
    }
    PrintAppended(QCoreApplication::translate("MakePostsCommand", "%n record(s) appended to %1", nullptr, int(count)),
                  PostMarkup::PostFilePath(context.home));
    return ExitStatus::Success;
}
