#include "app/WindowImport.h"

#include "app/Main.h"
#include "app/MessageDialog.h"
#include "controls/CommonDialog.h"
#include "controls/XpB.h"
#include "folder/FileOps.h"
#include "folder/FolderLock.h"
#include "folder/ImportRun.h"

#include <QDir>
#include <QShortcut>
#include <QStandardPaths>

#include <utility>

WindowImport::WindowImport(Main &window, FileList &files, FolderLock &lock, const QString &home)
    : QObject(&window)
    , m_window(window)
    , m_lock(lock)
    , m_home(home)
    , m_import(new ImportRun(files, this))
{
    connect(m_import, &ImportRun::StatusChanged, &window, &Main::ShowStatus);
    connect(m_import, &ImportRun::Progress, this, [this](int done, int total) {
        m_window.ShowStatus(QStringLiteral("Копирование %1 из %2").arg(done).arg(total));
    });
    connect(m_import, &ImportRun::Finished, this, &WindowImport::OnFinished);
    connect(window.StopB(), &XpB::Click, this, &WindowImport::Cancel);
    connect(new QShortcut(Qt::Key_Escape, &window), &QShortcut::activated, this, &WindowImport::Cancel);
    // Queued, so that the run's own end is shown before the copy starts.
    connect(&window.Run(), &RunScheduler::RunEnded, this, &WindowImport::ImportWaiting, Qt::QueuedConnection);
}

void WindowImport::SetPicker(CommonDialog *picker)
{
    delete m_picker;
    m_picker = picker;
    m_picker->setParent(&m_window);
    m_picker->move(3480 / MainControls::TwipsPerPixel, 2280 / MainControls::TwipsPerPixel);
}

bool WindowImport::IsRunning() const { return m_import->IsRunning(); }

void WindowImport::Cancel() { m_import->Cancel(); }

QString WindowImport::StartFolder() const
{
    if (!m_lastFolder.isEmpty() && FileOps::FolderExists(m_lastFolder))
        return m_lastFolder;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && FileOps::FolderExists(pictures))
        return QDir::toNativeSeparators(pictures);
    return QDir::toNativeSeparators(QDir::homePath());
}

void WindowImport::ChooseAndImport()
{
    if (Refused())
        return;
    m_picker->SetStartFolder(StartFolder());
    const QString folder = m_picker->OpenFolder(tr("Choose the folder with the pictures"), &m_window);
    if (folder.isEmpty())
        return;
    Remember(folder);
    Import({folder}, {});
}

// The copy waits until the drop has been answered, so the program the
// pictures came from is not held up by it.
void WindowImport::Drop(const QStringList &folders, const QStringList &pictures, const QString &lastFolder)
{
    Remember(lastFolder);
    if (m_window.Run().CurrentState() != RunScheduler::State::Idle || IsRunning()) {
        m_waitingFolders += folders;
        m_waitingPictures += pictures;
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, folders, pictures] { Import(folders, pictures); }, Qt::QueuedConnection);
}

bool WindowImport::Refused() const
{
    if (IsRunning()) {
        m_window.Messages().ShowError(&m_window, tr("The pictures are being copied already."));
        return true;
    }
    if (m_window.Run().CurrentState() != RunScheduler::State::Idle) {
        m_window.Messages().ShowError(&m_window,
                                      tr("An upload is running: pictures can be imported once it has ended."));
        return true;
    }
    return false;
}

void WindowImport::Import(const QStringList &folders, const QStringList &pictures)
{
    if (Refused())
        return;
    QString error;
    if (m_lock.Take(m_home, FolderLock::Holder::Window, &error) != FolderLock::Result::Taken) {
        m_window.Messages().ShowError(&m_window, error);
        return;
    }
    m_window.Start()->setEnabled(false);
    m_window.ShowStopButton(true);
    m_import->Start(folders, pictures);
}

void WindowImport::OnFinished(bool ok, const QString &error)
{
    m_lock.Release();
    m_window.Start()->setEnabled(true);
    m_window.ShowStopButton(false);
    // A stop the member asked for needs no message.
    if (!ok && !m_import->Stopped())
        m_window.Messages().ShowError(&m_window, error);
    ImportWaiting();
}

void WindowImport::ImportWaiting()
{
    if (m_waitingFolders.isEmpty() && m_waitingPictures.isEmpty())
        return;
    const QStringList folders = std::exchange(m_waitingFolders, {});
    Import(folders, std::exchange(m_waitingPictures, {}));
}

void WindowImport::Remember(const QString &folder)
{
    m_lastFolder = folder;
    emit FolderChosen(folder);
}
