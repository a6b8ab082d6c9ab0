#include "app/Main.h"

#include "app/FileListModel.h"
#include "app/MessageDialog.h"
#include "app/PictureDrop.h"
#include "app/RunCloseGuard.h"
#include "app/RunTitle.h"
#include "app/WindowImport.h"
#include "app/StatusLine.h"
#include "controls/CommonDialog.h"
#include "controls/XpB.h"
#include "folder/FileList.h"
#include "folder/FileOps.h"
#include "folder/FolderLock.h"
#include "folder/ImageFolder.h"
#include "folder/SetAsideQueue.h"
#include "linktools/PostMarkup.h"
#include "upload/RunSummary.h"
#include "upload/SetAsideWords.h"
#include "upload/SocketErrorMeaning.h"
#include "upload/SleepInhibitor.h"
#include "upload/UploadLog.h"

#include <QAction>
#include <QClipboard>
#include <QDBusConnection>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFocusFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QShowEvent>

#include <utility>

namespace {

// The core names a failure and ends with the system's own words for it.
QString SystemReason(const QString &message)
{
    const qsizetype at = message.lastIndexOf(QStringLiteral(": "));
    return at < 0 ? message : message.mid(at + 2);
}

}

Main::Main(const Options &options, QWidget *parent)
    : QWidget(parent)
    , m_options(options)
    , m_Files(new FileList(this))
    , m_setAside(new FileList(this))
    , m_folderLock(std::make_unique<FolderLock>())
    , m_ownMessages(std::make_unique<MessageDialog>())
    , m_messages(m_ownMessages.get())
    , m_watcher(new QFileSystemWatcher(this))
{
    m_run = new RunScheduler(*m_Files, this);
    SetServiceOptions(options);
    m_summary = new RunSummary(this);
    m_summary->Follow(*m_run);
    m_log = new UploadLog(options.logPath.isEmpty() ? UploadLog::PathInHome(options.home) : options.logPath, this);
    m_log->Follow(*m_run);
    auto *asideWords = new SetAsideWords(this);
    asideWords->Follow(*m_run);
    asideWords->ReadLog(m_log->Path());
    (new SleepInhibitor(QDBusConnection::systemBus(), this))->Follow(*m_run);
    connect(m_log, &UploadLog::Trouble, this, [this](const QString &message) { m_messages->ShowNotice(this, message); });
    QIcon icon;
    for (const char *name : {"icon32.png", "icon16.png", "icon32@2x.png", "icon16@2x.png"})
        icon.addFile(QStringLiteral(":/pictures/") + QLatin1String(name));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("org.picaroon.Picaroon"), icon));
    QFont font = this->font();
    font.setPointSizeF(8.25);
    setFont(font);
    setFixedSize(MainControls::Twips(0, 0, 2355, 4230).size());
    setAcceptDrops(true);
    m_controls = std::make_unique<MainControls>(*this, *m_Files, *m_setAside);
    static_cast<FileListModel *>(Files()->model())->SetWords(asideWords);
    m_imports = new WindowImport(*this, *m_Files, *m_folderLock, m_options.home);
    SetPicker(new CommonDialog(this));
    auto *title = new RunTitle(*this, *m_run, *m_summary);
    connect(title, &RunTitle::Clicked, this, &Main::BringToFront);
    connect(title, &RunTitle::PaceChanged, this, [this](const QString &pace) {
        m_pace = pace;
        ShowRunTip();
    });
    new RunCloseGuard(*this);
    ConnectControls();
}

Main::~Main() = default;

void Main::ConnectControls()
{
    const MainControls &c = *m_controls;
    connect(c.Requeue(), &QAction::triggered, this, &Main::RequeueSetAside);
    connect(c.XpB1(), &XpB::Click, m_imports, &WindowImport::ChooseAndImport);
    connect(c.Start(), &XpB::Click, this, &Main::StartRun);
    connect(c.StopB(), &XpB::Click, m_run, &RunScheduler::Stop);
    connect(c.Text2(), &QLineEdit::returnPressed, this, &Main::StartRun);
    connect(c.Command1(), &QPushButton::clicked, this, &Main::ParseClipboard);
    connect(c.Command2(), &QPushButton::clicked, this, &Main::ParseFile);
    c.Files()->installEventFilter(this);
    const auto credentials = [this] { m_run->SetCredentials(Text1()->text(), Text2()->text()); };
    connect(c.Text1(), &QLineEdit::textChanged, this, credentials);
    connect(c.Text2(), &QLineEdit::textChanged, this, credentials);

    connect(m_run, &RunScheduler::StatusChanged, this, &Main::ShowStatus);
    connect(m_run, &RunScheduler::RunStarted, this, [this] {
        m_lastWords.clear();
        m_pictureWords.clear();
        st()->setToolTip(QString());
        ShowStopButton(true);
    });
    // The service's words stay until the next picture starts.
    connect(m_run, &RunScheduler::PictureStarted, this, [this] {
        m_pictureWords.clear();
        m_prepared.clear();
        ShowRunTip();
    });
    connect(m_run, &RunScheduler::PicturePrepared, this, [this](const QString &done) {
        m_prepared = done;
        ShowRunTip();
    });
    connect(m_run, &RunScheduler::ServiceSaid, this, [this](const QString &words) {
        m_lastWords = m_pictureWords = words;
        ShowRunTip();
    });
    connect(m_run, &RunScheduler::PictureHandled, this, &Main::OnPictureHandled);
    connect(m_run, &RunScheduler::RunEnded, this, &Main::OnRunEnded);
    // Another program may put pictures in or take them out at any time;
    // the list's refresh costs only the changes.
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &Main::FollowFolder);
}

void Main::SetPicker(CommonDialog *picker) { m_imports->SetPicker(picker); }

void Main::SetMessageDialog(MessageDialog *dialog) { m_messages = dialog; }

void Main::SetServiceOptions(const Options &options)
{
    const QString home = m_options.home;
    m_options = options;
    m_options.home = home;
    m_run->SetServer(options.upload);
    m_run->SetTimeout(options.timeout);
    m_run->Retries().SetWindow(options.retryFor);
    m_run->SetConnections(options.connections);
    m_run->SetPreparation(options.pictures);
}

void Main::Load()
{
    m_controls->BG()->setGeometry(rect());
    QString error;
    if (!ImageFolder::Prepare(m_options.home, *m_Files, &error)) {
        // The window stays: the member may fix the folder and press Start.
        m_startUpError = tr("The image folder %1 cannot be used: %2")
                             .arg(QDir::toNativeSeparators(ImageFolder::PathIn(m_options.home)), SystemReason(error));
        if (isVisible())
            QMetaObject::invokeMethod(this, &Main::ReportStartUpError, Qt::QueuedConnection);
        return;
    }
    m_setAside->SetFolder(m_Files->Folder());
    m_setAside->SetPattern(QString::fromLatin1(SetAsideQueue::Pattern));
    m_setAside->Refresh();
    m_watcher->addPaths({m_Files->Folder(), m_options.home});
    if (m_Files->Count() > 0)
        ShowFoundCount();
}

// Told over the window where it stands, not before it is there.
void Main::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_startUpError.isEmpty() && !event->spontaneous())
        QMetaObject::invokeMethod(this, &Main::ReportStartUpError, Qt::QueuedConnection);
}

bool Main::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Files() && event->type() == QEvent::FocusIn)
        m_controls->FilesFocus()->setWidget(Files());
    else if (watched == Files() && event->type() == QEvent::FocusOut)
        m_controls->FilesFocus()->setWidget(nullptr);
    return QWidget::eventFilter(watched, event);
}

void Main::ReportStartUpError()
{
    if (m_startUpError.isEmpty())
        return;
    const QString message = std::exchange(m_startUpError, QString());
    m_messages->ShowError(this, message);
}

// A failed read leaves the list empty; the next change or run tries again.
// The home folder is watched too, so that an image folder removed and made
// anew is watched again.
void Main::FollowFolder()
{
    const QString folder = m_Files->Folder();
    if (!m_watcher->directories().contains(folder) && FileOps::FolderExists(folder))
        m_watcher->addPath(folder);
    RefreshLists();
}

void Main::ShowFoundCount() { ShowStatus(QStringLiteral("Найдено файлов - %1").arg(m_Files->Count())); }

// A bare "Error #N" is explained in words where the pointer asks.
void Main::ShowStatus(const QString &text)
{
    st()->setText(text);
    if (m_run->CurrentState() != RunScheduler::State::Idle)
        ShowRunTip();
    else if (const QString meaning = SocketErrorMeaning(text); !meaning.isEmpty())
        st()->setToolTip(meaning);
}

// While a run goes on: what an "Error #N" means, or the service's words on
// the picture, what was done to it, and the speed with the time left.
void Main::ShowRunTip()
{
    if (m_run->CurrentState() == RunScheduler::State::Idle)
        return;
    const QString meaning = SocketErrorMeaning(st()->text());
    QStringList lines{meaning.isEmpty() ? m_pictureWords : meaning, m_prepared, m_pace};
    lines.removeAll(QString());
    st()->setToolTip(lines.join(QLatin1Char('\n')));
}

void Main::RefreshLists()
{
    m_Files->Refresh();
    if (!m_setAside->Folder().isEmpty())
        m_setAside->Refresh();
}

void Main::RequeueSetAside()
{
    m_setAside->Refresh();
    QStringList chosen;
    const int pictures = int(m_Files->Count());
    for (const QModelIndex &index : Files()->selectionModel()->selectedIndexes()) {
        if (index.data(FileListModel::SetAsideRole).toBool())
            chosen.append(m_setAside->Entry(index.row() - pictures));
    }
    if (chosen.isEmpty())
        chosen = m_setAside->Entries();
    if (chosen.isEmpty())
        return;
    int returned = 0;
    QStringList troubles;
    const bool ok = SetAsideQueue::Requeue(m_setAside->Folder(), chosen, &returned, &troubles);
    RefreshLists();
    if (!ok)
        m_messages->ShowError(this, troubles.join(QLatin1Char('\n')));
    else if (m_run->CurrentState() == RunScheduler::State::Idle)
        ShowFoundCount();
}

void Main::OnPictureHandled(const PictureOutcome &outcome)
{
    if (outcome.kind == PictureOutcome::Kind::SetAside)
        m_setAside->Refresh();
    if (outcome.kind == PictureOutcome::Kind::PassedOver)
        m_messages->ShowNotice(this, tr("%1 was passed over and stays in the image folder: %2")
                                         .arg(QFileInfo(outcome.path).fileName(), outcome.words));
}

void Main::StartRun()
{
    if (m_run->CurrentState() == RunScheduler::State::Idle && !m_imports->IsRunning() && HoldFolder())
        m_run->Start();
}

bool Main::HoldFolder()
{
    if (m_folderLock->IsHeld())
        return true;
    QString error;
    if (m_folderLock->Take(m_options.home, FolderLock::Holder::Window, &error) == FolderLock::Result::Taken)
        return true;
    m_messages->ShowError(this, error);
    return false;
}

void Main::OnRunEnded(RunScheduler::Outcome outcome, const QString &message)
{
    m_folderLock->Release();
    if (outcome == RunScheduler::Outcome::NothingToUpload)
        return;
    ShowStopButton(false);
    if (outcome == RunScheduler::Outcome::Unexpected)
        m_messages->ShowError(this, message);
    RefreshLists();
    if (outcome == RunScheduler::Outcome::Done)
        ShowStatus(m_summary->EndText());
    // The last picture's own words stay readable beside the summary.
    const QString summary = m_summary->Text(), error = SocketErrorMeaning(st()->text());
    const QString words = error.isEmpty() ? m_lastWords : error;
    st()->setToolTip(words.isEmpty() ? summary : words + QStringLiteral("\n\n") + summary);
}

// The button that takes the other's place takes its focus as well, so a
// run started from the keyboard can be stopped from it.
void Main::ShowStopButton(bool shown)
{
    XpB *leaving = shown ? Start() : StopB();
    XpB *coming = shown ? StopB() : Start();
    coming->setVisible(true);
    if (leaving->hasFocus())
        coming->setFocus(leaving->FocusCue() ? Qt::TabFocusReason : Qt::MouseFocusReason);
    leaving->setVisible(false);
}

void Main::BringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void Main::dragEnterEvent(QDragEnterEvent *event) { dragMoveEvent(event); }

void Main::dragMoveEvent(QDragMoveEvent *event)
{
    if (!PictureDrop(event->mimeData()).IsEmpty())
        event->acceptProposedAction();
}

void Main::dropEvent(QDropEvent *event)
{
    const PictureDrop drop(event->mimeData());
    if (drop.IsEmpty())
        return;
    event->acceptProposedAction();
    m_imports->Drop(drop.Folders(), drop.Pictures(), drop.LastFolder());
}

void Main::ParseClipboard()
{
    int count = 0;
    QString error;
    const QString page = QGuiApplication::clipboard()->text();
    if (!LinkExtractor(m_options.imageHost, m_options.account).AppendToUrlFile(m_options.home, page, &count, &error))
        m_messages->ShowError(this, error);
}

void Main::ParseFile()
{
    qint64 count = 0;
    QString error;
    if (!PostMarkup::MakePosts(m_options.home, m_options.account, &count, &error))
        m_messages->ShowError(this, error);
}
