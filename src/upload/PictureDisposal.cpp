#include "upload/PictureDisposal.h"

#include "folder/FileOps.h"
#include "upload/PictureRequest.h"

PictureDisposal PictureDisposal::Of(ReplyJudge::Verdict verdict, const PictureRequest &sent)
{
    PictureDisposal disposal;
    if (verdict == ReplyJudge::Verdict::Refused || !sent.StillOnDisk())
        return disposal;
    if (verdict == ReplyJudge::Verdict::Accepted) {
        disposal.kind = FileOps::DeleteFile(sent.Path(), true, &disposal.error) ? Kind::Deleted : Kind::Unexpected;
        return disposal;
    }
    disposal.kind = FileOps::SetAside(sent.Path(), &disposal.asideName, &disposal.error) ? Kind::SetAside
                                                                                         : Kind::PassedOver;
    return disposal;
}
