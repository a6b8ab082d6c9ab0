#pragma once

#include "standin/HttpReply.h"
#include "standin/HttpRequest.h"
#include "standin/PhotoLibraryPage.h"
#include "standin/PictureStore.h"
#include "standin/StandinAccount.h"

// What the service answers, request by request, apart from any socket: the
// upload script, the photo-library page and the pictures themselves.
class StandinService
{
public:
    StandinService(StandinAccount account, PictureStore store, PhotoLibraryPage page);

    HttpReply Respond(const HttpRequest &request);
    static HttpReply Reject(int status, const QByteArray &reason);

private:
    HttpReply Upload(const HttpRequest &request);
    HttpReply Library() const;
    HttpReply Picture(const QByteArray &path) const;

    StandinAccount m_account;
    PictureStore m_store;
    PhotoLibraryPage m_page;
};
