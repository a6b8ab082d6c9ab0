#include "upload/SocketErrorNumber.h"

int SocketErrorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return 10061;       // WSAECONNREFUSED
    case QAbstractSocket::RemoteHostClosedError: return 10054;        // WSAECONNRESET
    case QAbstractSocket::HostNotFoundError: return 11001;            // WSAHOST_NOT_FOUND
    case QAbstractSocket::SocketAccessError: return 10013;            // WSAEACCES
    case QAbstractSocket::SocketResourceError: return 10055;          // WSAENOBUFS
    case QAbstractSocket::SocketTimeoutError: return 10060;           // WSAETIMEDOUT
    case QAbstractSocket::DatagramTooLargeError: return 10040;        // WSAEMSGSIZE
    case QAbstractSocket::NetworkError: return 10050;                 // WSAENETDOWN
    case QAbstractSocket::AddressInUseError: return 10048;            // WSAEADDRINUSE
    case QAbstractSocket::SocketAddressNotAvailableError: return 10049; // WSAEADDRNOTAVAIL
    case QAbstractSocket::UnsupportedSocketOperationError: return 10045; // WSAEOPNOTSUPP
    case QAbstractSocket::UnfinishedSocketOperationError: return 10036; // WSAEINPROGRESS
    case QAbstractSocket::TemporaryError: return 10035;               // WSAEWOULDBLOCK
    case QAbstractSocket::ProxyAuthenticationRequiredError:
    case QAbstractSocket::ProxyConnectionRefusedError:
    case QAbstractSocket::ProxyConnectionClosedError:
    case QAbstractSocket::ProxyConnectionTimeoutError:
    case QAbstractSocket::ProxyNotFoundError:
    case QAbstractSocket::ProxyProtocolError:
    case QAbstractSocket::OperationError:
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
    case QAbstractSocket::UnknownSocketError:
        break;
    }
    return 10053; // WSAECONNABORTED: the connection failed for a reason of its own
}
