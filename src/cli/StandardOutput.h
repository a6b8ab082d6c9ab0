#pragma once

#include <QString>

#include <cstdio>

// Where a command's lines go. Output lost to a full disk or a closed
// descriptor must not pass for a run that went well: whoever reads it would
// take it as complete. The first failure is kept, and Finish turns a
// success into a failure that names it.
class StandardOutput
{
public:
    void Line(const QString &text) { Print(stdout, text); }
    // One line, escaped as the log escapes names: a name read out in a
    // message can neither break the line nor command the terminal.
    void Error(const QString &text);
    // Without a line break of its own.
    void ErrorText(const QString &text);
    // subject: "picaroon" or "picaroon COMMAND", naming the failure.
    int Finish(const QString &subject, int status);

private:
    void Print(FILE *stream, const QString &text);

    // The cause of the first write to standard output that failed.
    int m_failure = 0;
};
