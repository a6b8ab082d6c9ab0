#pragma once

#include "standin/HttpReply.h"
#include "standin/HttpRequest.h"
#include "standin/PhotoLibraryPage.h"
#include "standin/PictureStore.h"
#include "standin/StandinAccount.h"

#include <optional>

// What the service answers, request by request, apart from any socket: the
// upload script, the photo-library page and the pictures themselves.
class StandinService
{
public:
    StandinService(StandinAccount account, PictureStore store, PhotoLibraryPage page);

    // Once the head is in, before any body is read: the answer to all but
    // an upload that the account's cookie admits, which waits for its body
    // (nothing then). No stranger makes the stand-in hold a body.
    std::optional<HttpReply> RespondToHead(const HttpRequest &head);
    HttpReply Respond(const HttpRequest &request);
    static HttpReply Reject(int status, const QByteArray &reason);
    // Every request after the first `requests` is held: a known point at
    // which a test can stop the stand-in in the middle of a run.
    void HoldAfter(qint64 requests) { m_holdAfter = requests; }

private:
    static bool IsUpload(const HttpRequest &request);
    HttpReply Refusal() const;
    HttpReply Upload(const HttpRequest &request);
    HttpReply Library() const;
    HttpReply Picture(const QByteArray &path) const;

    StandinAccount m_account;
    PictureStore m_store;
    PhotoLibraryPage m_page;
    qint64 m_holdAfter = -1;
    qint64 m_heads = 0;
};
