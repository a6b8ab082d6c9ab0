#pragma once

#include "cli/Command.h"
#include "upload/UploadView.h"

// `picaroon upload`: the window's upload run without a window. Every status
// text goes to standard output, one per line; the outcome is the exit status.
class UploadCommand : public Command, public UploadView
{
public:
    QString Name() const override { return QStringLiteral("upload"); }
    QString Usage() const override
    {
        return QStringLiteral("picaroon upload [--login LOGIN] [--home DIR] [--host HOST[:PORT]] [--timeout SECONDS]");
    }
    QString Purpose() const override
    {
        return QStringLiteral(
            "Uploads every picture of the image folder, one after another, and prints every status text.\n"
            "The password comes from PICAROON_PASSWORD, else it is asked for when standard input is a\n"
            "terminal, else it is the first line of standard input.");
    }

    void ShowStatus(const QString &text) override;
    void ShowStopButton(bool) override {}
    QString LoginText() const override { return m_login; }
    QString PasswordText() const override { return m_password; }
    void ReportUnexpectedError(const QString &message) override;
    void ReportPassedOver(const QString &path, const QString &reason) override;
    void ShowServiceWords(const QString &words) override;

protected:
    QList<SettingKey> Settings() const override { return {SettingKey::UploadHost, SettingKey::Timeout}; }
    void AddOptions(QCommandLineParser &parser) const override;
    QString UsageProblem(const QCommandLineParser &parser, const ProgramSettings *settings) const override;
    int Run(const Context &context) override;

private:
    QString m_login;
    QString m_password;
};
