#pragma once

#include "app/MainControls.h"
#include "linktools/LinkExtractor.h"
#include "settings/HostAddress.h"
#include "pictures/PicturePreparation.h"
#include "upload/SilenceTimeout.h"
#include "upload/RunScheduler.h"

#include <QString>
#include <QWidget>

#include <memory>

class CommonDialog;
class CreditLabel;
class FileList;
class FolderLock;
class WindowImport;
class MessageDialog;
class QAction;
class QFileSystemWatcher;
class QLineEdit;
class QListView;
class QPushButton;
class RunSummary;
class StatusLine;
class UploadLog;
class XpB;

// The program's one window. It only shows state and forwards input: the
// upload cycle, the image folder, the import and the link tools are the
// core's, the same objects the headless commands drive.
class Main : public QWidget
{
    Q_OBJECT

public:
    struct Options
    {
        QString home;
        HostAddress upload;
        QString imageHost;
        // Empty: uploads.log in the home folder.
        QString logPath;
        QString account = QString::fromLatin1(LinkExtractor::DefaultAccount);
        int timeout = SilenceTimeout::DefaultSeconds;
        int retryFor = RetrySchedule::DefaultWindowSeconds;
        int connections = 1;
        PicturePreparation::Options pictures;
    };

    explicit Main(const Options &options, QWidget *parent = nullptr);
    ~Main() override;

    // Start-up: the image folder, the list and its count. Separate from the
    // constructor so that a test can put its doubles in place first. A
    // folder that cannot be made ready is told once the window is shown.
    void Load();
    // Tests replace the modal dialogs, and only those.
    void SetPicker(CommonDialog *picker);
    void SetMessageDialog(MessageDialog *dialog);
    MessageDialog &Messages() const { return *m_messages; }
    // New hosts, account, timeout and retry window, from the next picture
    // on; the home folder stays.
    void SetServiceOptions(const Options &options);
    void ShowStatus(const QString &text);

    QListView *Files() const { return m_controls->Files(); }
    QLineEdit *Text1() const { return m_controls->Text1(); }
    QLineEdit *Text2() const { return m_controls->Text2(); }
    StatusLine *st() const { return m_controls->st(); }
    XpB *Start() const { return m_controls->Start(); }
    XpB *StopB() const { return m_controls->StopB(); }
    XpB *XpB1() const { return m_controls->XpB1(); }
    QPushButton *Command1() const { return m_controls->Command1(); }
    QPushButton *Command2() const { return m_controls->Command2(); }
    CreditLabel *Label4() const { return m_controls->Label4(); }
    QAction *RequeueAction() const { return m_controls->Requeue(); }
    RunScheduler &Run() const { return *m_run; }

    WindowImport &Imports() const { return *m_imports; }
    // The Stop button in the Start button's place while a run or an import
    // goes on.
    void ShowStopButton(bool shown);
    // A second start for the same home folder calls the window up.
    void BringToFront();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void ConnectControls();
    void ShowFoundCount();
    void ShowRunTip();
    // The pictures and, below them, those set aside.
    void RefreshLists();
    void RequeueSetAside();
    void StartRun();
    // The folder's lock, taken for a run unless held already; false when it
    // is not to be had, told.
    bool HoldFolder();
    void OnPictureHandled(const PictureOutcome &outcome);
    void OnRunEnded(RunScheduler::Outcome outcome, const QString &message);
    void ReportStartUpError();
    void FollowFolder();
    void ParseClipboard();
    void ParseFile();

    Options m_options;
    FileList *m_Files;
    FileList *m_setAside;
    RunScheduler *m_run;
    RunSummary *m_summary;
    UploadLog *m_log;
    WindowImport *m_imports;
    std::unique_ptr<MainControls> m_controls;
    QString m_lastWords;
    QString m_pictureWords;
    QString m_pace;
    QString m_prepared;
    std::unique_ptr<FolderLock> m_folderLock;
    std::unique_ptr<MessageDialog> m_ownMessages;
    MessageDialog *m_messages;
    QFileSystemWatcher *m_watcher;
    QString m_startUpError;
};
