#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class RunScheduler;
struct PictureOutcome;

// What the service said of each set-aside picture, so the list can show a
// member why it stayed: taken from the run as it goes and, for pictures set
// aside by earlier runs, from the end of the upload log.
class SetAsideWords : public QObject
{
    Q_OBJECT

public:
    explicit SetAsideWords(QObject *parent = nullptr);

    void Follow(RunScheduler &run);
    // Reads no more than the log's last mebibyte: older pictures keep no words.
    void ReadLog(const QString &path);
    // The words as logged, escaped to one line.
    QString Of(const QString &asideName) const;

private:
    void Take(const PictureOutcome &outcome);

    // Keyed by the set-aside name as the log writes it.
    QHash<QString, QString> m_words;
};
