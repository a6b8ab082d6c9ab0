#pragma once

#include "linktools/LinkExtractor.h"
#include "upload/SilenceTimeout.h"
#include "upload/UploadView.h"

#include <QString>
#include <QWidget>

#include <memory>

class CommonDialog;
class CreditLabel;
class FileList;
class MessageDialog;
class PropertyBag;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
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
        QString account = QString::fromLatin1(LinkExtractor::DefaultAccount);
        int timeout = SilenceTimeout::DefaultSeconds;
    };

    explicit Main(const Options &options, QWidget *parent = nullptr);
    ~Main() override;

    // Start-up: the image folder, the list and its count. Separate from the
    // constructor so that a test can put its doubles in place first.
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
    QLabel *st() const { return m_st; }
    XpB *Start() const { return m_Start; }
    XpB *StopB() const { return m_StopB; }
    XpB *XpB1() const { return m_XpB1; }
    QPushButton *Command1() const { return m_Command1; }
    QPushButton *Command2() const { return m_Command2; }
    CreditLabel *Label4() const { return m_Label4; }
    UploadCycle &Cycle() const { return *m_cycle; }

private:
    void BuildControls();
    XpB *MakeButton(const PropertyBag &form, const QString &name, const QRect &twips);
    void ShowFoundCount();
    void ImportPictures();
    void ParseClipboard();
    void ParseFile();

    Options m_options;
    FileList *m_Files;
    UploadCycle *m_cycle;
    CommonDialog *m_CD = nullptr;
    std::unique_ptr<MessageDialog> m_ownMessages;
    MessageDialog *m_messages;

    QLabel *m_BG = nullptr;
    QListView *m_FilesView = nullptr;
    QLineEdit *m_Text1 = nullptr;
    QLineEdit *m_Text2 = nullptr;
    QLabel *m_st = nullptr;
    XpB *m_Start = nullptr;
    XpB *m_StopB = nullptr;
    XpB *m_XpB1 = nullptr;
    QPushButton *m_Command1 = nullptr;
    QPushButton *m_Command2 = nullptr;
    CreditLabel *m_Label4 = nullptr;
};
