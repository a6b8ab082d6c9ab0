#include "upload/PictureDisposal.h"

#include "folder/FileOps.h"
#include "upload/PictureRequest.h"

PictureDisposal PictureDisposal::Of(ReplyJudge::Verdict verdict, const PictureRequest &sent)
{
    PictureDisposal disposal;
    if (verdict == ReplyJudge::Verdict::Refused || !sent.StillOnDisk())
        return disposal;
    if (verdict == ReplyJudge::Verdict::Accepted) {
        // Another program may put a picture under this name at any moment,
        // also after the check above.
        bool deleted = false;
        const bool fine = FileOps::DeleteOnlyIf(
            sent.Path(), [&sent](const QString &taken) { return sent.IsTheFileRead(taken); }, &deleted,
            &disposal.error);
        disposal.kind = !fine ? Kind::Unexpected : deleted ? Kind::Deleted : Kind::Stays;
        return disposal;
    }
    disposal.kind = FileOps::SetAside(sent.Path(), &disposal.asideName, &disposal.error) ? Kind::SetAside
                                                                                         : Kind::PassedOver;
    return disposal;
}
