#include "cli/MakePostsCommand.h"

#include "cli/ExitStatus.h"
#include "linktools/PostMarkup.h"

int MakePostsCommand::Run(const Context &context)
{
    qint64 count = 0;
    QString error;
    if (!PostMarkup::MakePosts(context.home, context.values.value(SettingKey::Account), &count, &error))
        return Fail(error);
    PrintAppended(count, QStringLiteral("record"), QStringLiteral("records"), PostMarkup::PostFilePath(context.home));
    return ExitStatus::Success;
}
