#pragma once

#include "folder/PlainFile.h"
#include "upload/PictureOutcome.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

class RunScheduler;

// One line per picture a run handled, appended to a log the member can
// read later: time, name, size, outcome and the service's words, separated
// by tabs. Names are escaped, so no name can break a record; the password
// and its digest are never known here. A log that cannot be written is
// reported once per run and never stops the upload.
class UploadLog : public QObject
{
    Q_OBJECT

public:
    explicit UploadLog(const QString &path, QObject *parent = nullptr);
    ~UploadLog() override;

    // uploads.log in the user's state folder ($XDG_STATE_HOME, by default
    // ~/.local/state, then picaroon/).
    static QString DefaultPath();
    // A run on a home folder of its own keeps its log there.
    static QString PathInHome(const QString &home);
    // A run given --home logs beside its pictures, any other in the state folder.
    static QString PathFor(const QString &home, bool homeGiven)
    {
        return homeGiven ? PathInHome(home) : DefaultPath();
    }
    static QByteArray Line(const QDateTime &when, const PictureOutcome &outcome);

    QString Path() const { return m_path; }
    void Follow(RunScheduler &run);
    void Record(const PictureOutcome &outcome);
    void BeginRun();
    void EndRun();

signals:
    void Trouble(const QString &message);

private:
    bool Open(QString *why);
    void Fail(const QString &why);

    QString m_path;
    PlainFile m_file;
    bool m_failed = false;
};
