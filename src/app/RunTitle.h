#pragma once

#include "app/DesktopNotifier.h"
#include "upload/RunPace.h"
#include "upload/RunScheduler.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class RunSummary;
class QWidget;

// A run's progress in the window's title, leading so that a panel's short
// button shows it, and a word from the desktop when a long run ends while
// the member is away from the window; a click on it brings the window.
class RunTitle : public QObject
{
    Q_OBJECT

public:
    RunTitle(QWidget &window, RunScheduler &run, RunSummary &summary);

signals:
    // The member clicked the notification: the window is wanted.
    void Clicked();
    // The speed and the time left, once known; empty between runs.
    void PaceChanged(const QString &text);

private:
    void OnRunStarted();
    void OnPictureStarted(qint64 number);
    void ShowProgress();
    void ShowPace(const QString &text);
    void OnRunEnded(RunScheduler::Outcome outcome);

    QWidget &m_window;
    RunScheduler &m_run;
    RunSummary &m_summary;
    DesktopNotifier m_notifier;
    RunPace m_pace;
    QString m_paceText;
    QElapsedTimer m_runTime;
    QString m_lastStatus;
    // The picture the status line counts, so the two never disagree.
    qint64 m_number = 0;
};
