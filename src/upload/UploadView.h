#pragma once

#include <QString>

// What the upload cycle needs of whatever shows it: the window, or the
// headless command. Everything else stays inside the cycle.
class UploadView
{
public:
    virtual ~UploadView() = default;

    virtual void ShowStatus(const QString &text) = 0;
    // true: Stop shown and Start hidden; false: the reverse.
    virtual void ShowStopButton(bool shown) = 0;
    // Read anew for every picture, so a change applies from the next one.
    virtual QString LoginText() const = 0;
    virtual QString PasswordText() const = 0;
    // A failure outside the upload protocol (a picture that cannot be read,
    // set aside or deleted): the run ends, nothing on disk is lost.
    virtual void ReportUnexpectedError(const QString &message) = 0;
    // A picture that cannot be sent (unreadable, not a plain file, too
    // large, or impossible to set aside) stays where it is and the run goes
    // on; the member is told which and why.
    virtual void ReportPassedOver(const QString &path, const QString &reason) = 0;
    // What the service said of a picture it did not accept, right after
    // "Failed"; empty when its reply had no words.
    virtual void ShowServiceWords(const QString &words) = 0;
};
