#include "folder/ImportRun.h"

#include "folder/FileList.h"
#include "folder/FileOps.h"
#include "folder/ImageFolder.h"
#include "folder/ImageImport.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <memory>

ImportRun::ImportRun(FileList &files, QObject *parent)
    : QObject(parent)
    , m_files(files)
{
}

// The copy must not outlive the list it reports to.
ImportRun::~ImportRun()
{
    if (m_worker) {
        Cancel();
        m_worker->wait();
    }
}

bool ImportRun::Run(const QStringList &folders, const QStringList &pictures, QString *error)
{
    Begin();
    const bool copied = Copy(folders, pictures, m_files.Folder(), false, error);
    return End(copied, error);
}

void ImportRun::Start(const QStringList &folders, const QStringList &pictures)
{
    Begin();
    auto error = std::make_shared<QString>();
    auto copied = std::make_shared<bool>(false);
    const QString imageFolder = m_files.Folder();
    m_worker = QThread::create([this, folders, pictures, imageFolder, error, copied] {
        *copied = Copy(folders, pictures, imageFolder, true, error.get());
    });
    connect(m_worker, &QThread::finished, this, [this, error, copied] {
        m_worker->deleteLater();
        m_worker = nullptr;
        const bool ok = End(*copied, error.get());
        emit Finished(ok, *error);
    });
    m_worker->start();
}

void ImportRun::Begin()
{
    m_files.SetPattern(QString::fromLatin1(ImageFolder::Pattern));
    m_wasStopped = false;
    m_cancelled = false;
    m_tally = {};
    emit StatusChanged(QStringLiteral("Ждите, идет копирование..."));
}

bool ImportRun::Copy(const QStringList &folders, const QStringList &pictures, const QString &imageFolder,
                     bool counted, QString *error)
{
    const auto stopped = [this] { return m_cancelled || (m_stopped && m_stopped()); };
    if (counted) {
        int total = int(pictures.size());
        for (const QString &folder : folders)
            total += ImageImport::PictureCount(folder);
        m_tally.copiedOne = [this, total](const FileOps::CopyTally &tally) {
            const int done = tally.copied + tally.alreadyThere;
            // Queued: the copy is on a thread of its own.
            QMetaObject::invokeMethod(
                this, [this, done, total] { emit Progress(done, total); }, Qt::QueuedConnection);
        };
    }
    for (const QString &folder : folders) {
        if (!ImageImport::CopyPictures(folder, imageFolder, stopped, &m_tally, error))
            return false;
    }
    const QDir destination(imageFolder);
    for (const QString &picture : pictures) {
        const QFileInfo from(picture);
        const QFileInfo to(destination.filePath(from.fileName()));
        // A picture dropped from the image folder is already where it goes.
        if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
            continue;
        if (!FileOps::CopyFile(from.filePath(), to.filePath(), stopped, &m_tally, error))
            return false;
    }
    return true;
}

bool ImportRun::End(bool copied, QString *error)
{
    m_tally.copiedOne = nullptr;
    if (!copied) {
        m_files.Refresh();
        m_wasStopped = m_cancelled || (m_stopped && m_stopped());
        emit StatusChanged(m_wasStopped ? QStringLiteral("Остановлено") : QStringLiteral("Копирование не удалось"));
        return false;
    }
    emit StatusChanged(QStringLiteral("Файлы скопированы"));
    if (!m_files.Refresh()) {
        *error = m_files.ErrorString();
        return false;
    }
    QString found = QStringLiteral("Найдено файлов - %1").arg(m_files.Count());
    if (m_tally.alreadyThere > 0)
        found += QStringLiteral(" (уже в очереди: %1)").arg(m_tally.alreadyThere);
    emit StatusChanged(found);
    return true;
}
