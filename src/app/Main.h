#pragma once

#include "linktools/LinkExtractor.h"
#include "upload/SilenceTimeout.h"
#include "upload/UploadView.h"

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <memory>

class CommonDialog;
class CreditLabel;
class DesktopNotifier;
class QAction;
class RunSummary;
class UploadLog;
class FileList;
class MessageDialog;
class PropertyBag;
class QFileSystemWatcher;
class QFocusFrame;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class StatusLine;
class UploadCycle;
class XpB;

// The program's one window. It only shows state and forwards clicks: the
// upload cycle, the image folder, the import and the link tools are the
// core's, the same objects the headless commands drive.
class Main : public QWidget, public UploadView
{
    Q_OBJECT

public:
    struct Options
    {
        QString home;
        QString uploadHost;
        quint16 uploadPort = 80;
        QString imageHost;
        // Empty: uploads.log in the home folder.
        QString logPath;
        QString account = QString::fromLatin1(LinkExtractor::DefaultAccount);
        int timeout = SilenceTimeout::DefaultSeconds;
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
    // New hosts, account and timeout, from the next picture on; the home
    // folder stays.
    void SetServiceOptions(const Options &options);

    void ShowStatus(const QString &text) override;
    void ShowStopButton(bool shown) override;
    QString LoginText() const override;
    QString PasswordText() const override;
    void ReportUnexpectedError(const QString &message) override;
    void ReportPassedOver(const QString &path, const QString &reason) override;
    void ShowServiceWords(const QString &words) override;

    QListView *Files() const { return m_FilesView; }
    QLineEdit *Text1() const { return m_Text1; }
    QLineEdit *Text2() const { return m_Text2; }
    StatusLine *st() const { return m_st; }
    XpB *Start() const { return m_Start; }
    XpB *StopB() const { return m_StopB; }
    XpB *XpB1() const { return m_XpB1; }
    QPushButton *Command1() const { return m_Command1; }
    QPushButton *Command2() const { return m_Command2; }
    CreditLabel *Label4() const { return m_Label4; }
    QAction *RequeueAction() const { return m_requeue; }
    UploadCycle &Cycle() const { return *m_cycle; }

    // Where the folder picker opens: the folder last imported from, else
    // the member's pictures folder.
    QString ImportStartFolder() const;
    void SetLastImportFolder(const QString &folder);

signals:
    // A folder imported from, to be remembered between runs.
    void ImportFolderChosen(const QString &folder);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void BuildControls();
    XpB *MakeButton(const PropertyBag &form, const QString &name, const QString &picture, const QRect &geometry);
    void ShowFoundCount();
    // The pictures and, below them, those set aside.
    void RefreshLists();
    void RequeueSetAside();
    void OnRunStarted();
    void OnRunEnded(int outcome);
    void ShowRunProgress();
    void ReportStartUpError();
    void FollowFolder();
    void ImportPictures();
    void Import(const QStringList &folders, const QStringList &pictures);
    void RememberImportFolder(const QString &folder);
    void ParseClipboard();
    void ParseFile();

    Options m_options;
    FileList *m_Files;
    FileList *m_SetAside;
    UploadCycle *m_cycle;
    RunSummary *m_summary;
    UploadLog *m_log;
    std::unique_ptr<DesktopNotifier> m_notifier;
    QElapsedTimer m_runTime;
    QString m_lastWords;
    QAction *m_requeue = nullptr;
    CommonDialog *m_CD = nullptr;
    std::unique_ptr<MessageDialog> m_ownMessages;
    MessageDialog *m_messages;
    QFileSystemWatcher *m_watcher;
    QString m_startUpError;
    QString m_lastImportFolder;

    QLabel *m_BG = nullptr;
    QListView *m_FilesView = nullptr;
    QFocusFrame *m_FilesFocus = nullptr;
    QLineEdit *m_Text1 = nullptr;
    QLineEdit *m_Text2 = nullptr;
    StatusLine *m_st = nullptr;
    XpB *m_Start = nullptr;
    XpB *m_StopB = nullptr;
    XpB *m_XpB1 = nullptr;
    QPushButton *m_Command1 = nullptr;
    QPushButton *m_Command2 = nullptr;
    CreditLabel *m_Label4 = nullptr;
};
