#pragma once

#include <QString>

// A service host as a member types it: a host name or an IPv4 address, or
// an IPv6 address in brackets, then an optional ":PORT". Checked before it
// is stored or used, so that a typing slip is named at once instead of
// ending a run later as an unexplained socket error.
class HostAddress
{
public:
    static constexpr quint16 DefaultPort = 80;

    explicit HostAddress(const QString &host = QString(), quint16 port = DefaultPort) : m_host(host), m_port(port) {}

    // False, with *problem in the member's words, when text is no address;
    // with portAllowed false a port counts as wrong too.
    static bool Parse(const QString &text, bool portAllowed, HostAddress *address, QString *problem);

    // What a member pastes, as the host it names: an address copied from
    // a browser ("http://host:8080/path") reduced to its host and port, an
    // internationalised name in its ASCII form. Anything else is returned
    // as it is, for Parse to judge.
    static QString Rewritten(const QString &text);

    // Without brackets; an IPv6 address is the only host holding a colon.
    QString Host() const { return m_host; }
    quint16 Port() const { return m_port; }
    // As the request's Host header names it: an IPv6 address in brackets,
    // the port only where it is not the default.
    QString HostHeader() const;

private:
    static QString NameProblem(const QString &name);

    QString m_host;
    quint16 m_port = DefaultPort;
};
