#include "standin/StandinService.h"

#include "standin/MultipartForm.h"
#include "standin/ServicePages.h"
#include "standin/Thumbnail.h"

namespace {

const QByteArray HtmlType = QByteArrayLiteral("text/html; charset=windows-1251");
const QByteArray NotMultipart = QByteArrayLiteral("body is not multipart/form-data by its boundary");

HttpReply HtmlReply(int status, const QByteArray &page, const QByteArray &outcome)
{
    return HttpReply{status, HtmlType, page, outcome, nullptr};
}

}

StandinService::StandinService(StandinAccount account, PictureStore store, PhotoLibraryPage page)
    : m_account(std::move(account))
    , m_store(std::move(store))
    , m_page(std::move(page))
{
}

bool StandinService::IsUpload(const HttpRequest &request)
{
    return request.method == "POST" && request.path == "/kiplog.php";
}

std::optional<HttpReply> StandinService::RespondToHead(const HttpRequest &head)
{
    if (m_holdAfter >= 0 && ++m_heads > m_holdAfter)
        return HttpReply{200, {}, {}, "held", nullptr, true};
    if (!IsUpload(head))
        return Respond(head);
    if (!m_account.Admits(head.Header("cookie")))
        return Refusal();
    if (MultipartForm::BoundaryOf(head.Header("content-type")).isEmpty())
        return Reject(400, NotMultipart);
    return std::nullopt;
}

HttpReply StandinService::Respond(const HttpRequest &request)
{
    if (IsUpload(request))
        return Upload(request);
    if (request.method == "GET" && request.path == "/")
        return Library();
    if (request.method == "GET" && request.path.startsWith(PhotoLibraryPage::AccountDir))
        return Picture(request.path.mid(qsizetype(sizeof PhotoLibraryPage::AccountDir) - 1));
    return HtmlReply(404, ServicePages::Problem("no such page"), "not-found");
}

HttpReply StandinService::Reject(int status, const QByteArray &reason)
{
    return HtmlReply(status, ServicePages::Problem(reason), "rejected(" + reason + ")");
}

HttpReply StandinService::Refusal() const
{
    return HtmlReply(200, ServicePages::Refused(), "refused");
}

HttpReply StandinService::Upload(const HttpRequest &request)
{
    if (!m_account.Admits(request.Header("cookie")))
        return Refusal();
    const QByteArray boundary = MultipartForm::BoundaryOf(request.Header("content-type"));
    const std::optional<MultipartForm> form = MultipartForm::Parse(request.body, boundary);
    if (!form)
        return Reject(400, NotMultipart);
    const MultipartForm::Part *module = form->Find("module");
    if (!module || module->content != "photolib")
        return Reject(200, "module is not photolib");
    const MultipartForm::Part *file = form->Find("new_file");
    if (!file || !file->fileName || file->fileName->isEmpty())
        return Reject(200, "no new_file");
    QString error;
    const std::optional<QString> name = m_store.Store(file->content, &error);
    if (!name)
        return Reject(500, "cannot store: " + error.toUtf8());
    return HtmlReply(200, ServicePages::Accepted(), "stored(" + name->toLatin1() + ")");
}

HttpReply StandinService::Library() const
{
    return HtmlReply(200, m_page.Render(m_store.Names()), "page");
}

HttpReply StandinService::Picture(const QByteArray &path) const
{
    const bool thumb = path.startsWith(PhotoLibraryPage::ThumbDir);
    const QString name = QString::fromLatin1(thumb ? path.mid(qsizetype(sizeof PhotoLibraryPage::ThumbDir) - 1) : path);
    if (thumb) {
        if (const std::optional<QByteArray> picture = m_store.Read(name)) {
            if (std::optional<QByteArray> small = Thumbnail::Make(*picture))
                return HttpReply{200, "image/jpeg", std::move(*small), "thumbnail", nullptr};
        }
    }
    std::shared_ptr<QFile> file = m_store.Open(name);
    if (!file)
        return HtmlReply(404, ServicePages::Problem("no such picture"), "not-found");
    return HttpReply{200, "image/jpeg", {}, thumb ? "thumbnail" : "picture", std::move(file)};
}
