#include "standin/HttpReply.h"

namespace {

QByteArray ReasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 413: return "Payload Too Large";
    case 503: return "Service Unavailable";
    default: return "Internal Server Error";
    }
}

}

QByteArray HttpReply::Head() const
{
    return "HTTP/1.0 " + QByteArray::number(status) + ' ' + ReasonPhrase(status) + "\r\n"
        + "Server: picaroon-standin\r\n"
        + "Content-Type: " + contentType + "\r\n"
        + "Content-Length: " + QByteArray::number(BodySize()) + "\r\n"
        + "Connection: close\r\n\r\n";
}
