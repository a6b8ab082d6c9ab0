#pragma once

#include "upload/PictureOutcome.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <algorithm>

class RunScheduler;

// Counts what a run did with its pictures, for the line that ends it and
// for the progress shown while it goes on.
class RunSummary : public QObject
{
    Q_OBJECT

public:
    explicit RunSummary(QObject *parent = nullptr);

    void Follow(RunScheduler &run);
    void BeginRun(const QStringList &paths);
    void Count(const PictureOutcome &outcome);
    void Progress(qint64 sent, qint64 total);

    int Uploaded() const { return m_uploaded; }
    int SetAside() const { return m_setAside; }
    int PassedOver() const { return m_passedOver; }
    int Handled() const { return m_uploaded + m_setAside + m_passedOver; }
    int Total() const { return m_total; }
    // Of the bytes of every picture listed at the start, including the
    // part of the current one handed on so far.
    int BytePercent() const;
    qint64 DoneBytes() const { return std::min(m_doneBytes + m_currentBytes, m_totalBytes); }
    qint64 TotalBytes() const { return m_totalBytes; }
    // Anything set aside or passed over: the member has something to look at.
    bool LeftSomething() const { return m_setAside + m_passedOver > 0; }
    QString Text() const;
    // The status line's last word on a run that went through the folder:
    // "Готово", and the counts when anything stayed behind.
    QString EndText() const;

signals:
    void Changed();

private:
    int m_uploaded = 0;
    int m_setAside = 0;
    int m_passedOver = 0;
    int m_total = 0;
    qint64 m_totalBytes = 0;
    qint64 m_doneBytes = 0;
    qint64 m_currentBytes = 0;
};
