#pragma once

#include "upload/UploadView.h"

#include <QStringList>

// `picaroon upload`: the window's upload run without a window. Every status
// text goes to standard output, one per line; the outcome is the exit status.
class UploadCommand : public UploadView
{
public:
    static int Run(const QStringList &arguments);

    void ShowStatus(const QString &text) override;
    void ShowStopButton(bool) override {}
    QString LoginText() const override { return m_login; }
    QString PasswordText() const override { return m_password; }
    void ReportUnexpectedError(const QString &message) override;
    void ReportPassedOver(const QString &path, const QString &reason) override;
    void ShowServiceWords(const QString &words) override;

private:
    QString m_login;
    QString m_password;
};
