#include "app/Main.h"

#include "app/CreditLabel.h"
#include "app/DesktopNotifier.h"
#include "app/FileListModel.h"
#include "app/MessageDialog.h"
#include "app/PictureDrop.h"
#include "app/StatusLine.h"
#include "config/BuildSettings.h"
#include "controls/CommonDialog.h"
#include "controls/PropertyBag.h"
#include "controls/XpB.h"
#include "folder/FileList.h"
#include "folder/FileOps.h"
#include "folder/ImageFolder.h"
#include "folder/ImageImport.h"
#include "folder/SetAsideQueue.h"
#include "linktools/LinkExtractor.h"
#include "linktools/PostMarkup.h"
#include "upload/RunSummary.h"
#include "upload/UploadCycle.h"
#include "upload/UploadLog.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFocusFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace {

constexpr int TwipsPerPixel = 15;

QRect Twips(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

void SetBackground(QWidget *widget, const QColor &color, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

// Sized to its text; where this desktop's font sets the text wider than the
// designed width, the label grows to the left so it never runs into the
// control to its right.
QLabel *TransparentLabel(const QString &text, const QRect &designed, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->adjustSize();
    const int excess = std::max(0, label->width() - designed.width());
    label->move(std::max(0, designed.left() - excess), designed.top());
    return label;
}

// Drawn for the screen: name@2x.png, at twice the size, on a dense one.
QPixmap WindowPicture(const QString &name, qreal ratio)
{
    if (ratio > 1.0) {
        QPixmap doubled(QStringLiteral(":/pictures/%1@2x.png").arg(name));
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2.0);
            return doubled;
        }
    }
    return QPixmap(QStringLiteral(":/pictures/%1.png").arg(name));
}

PropertyBag StoredForm()
{
    PropertyBag form;
    QFile file(QStringLiteral(":/Main.form.json"));
    if (file.open(QIODevice::ReadOnly))
        form.Load(file.readAll());
    return form;
}

// The core names a failure and ends with the system's own words for it.
QString SystemReason(const QString &message)
{
    const qsizetype at = message.lastIndexOf(QStringLiteral(": "));
    return at < 0 ? message : message.mid(at + 2);
}

const QString CreditName = QStringLiteral("crew");
const QUrl CreditPage(QStringLiteral("https://example.org/picaroon/crew"));

}

Main::Main(const Options &options, QWidget *parent)
    : QWidget(parent)
    , m_options(options)
    , m_Files(new FileList(this))
    , m_SetAside(new FileList(this))
    , m_notifier(std::make_unique<DesktopNotifier>())
    , m_ownMessages(std::make_unique<MessageDialog>())
    , m_messages(m_ownMessages.get())
    , m_watcher(new QFileSystemWatcher(this))
{
    m_cycle = new UploadCycle(*this, *m_Files, this);
    m_cycle->SetServer(options.uploadHost, options.uploadPort);
    m_cycle->SetTimeout(options.timeout);
    m_summary = new RunSummary(this);
    m_summary->Follow(*m_cycle);
    m_log = new UploadLog(options.logPath.isEmpty() ? UploadLog::PathInHome(options.home) : options.logPath, this);
    m_log->Follow(*m_cycle);
    connect(m_log, &UploadLog::Trouble, this, [this](const QString &message) { m_messages->ShowNotice(this, message); });
    connect(m_cycle, &UploadCycle::RunStarted, this, &Main::OnRunStarted);
    connect(m_cycle, &UploadCycle::RunEnded, this, [this](UploadCycle::Outcome outcome) { OnRunEnded(int(outcome)); });
    connect(m_cycle, &UploadCycle::PictureHandled, this, [this](const PictureOutcome &outcome) {
        if (outcome.kind == PictureOutcome::Kind::SetAside)
            m_SetAside->Refresh();
    });
    connect(m_summary, &RunSummary::Changed, this, &Main::ShowRunProgress);
    setWindowTitle(QStringLiteral("Picaroon"));
    QIcon icon;
    for (const char *name : {"icon32.png", "icon16.png", "icon32@2x.png", "icon16@2x.png"})
        icon.addFile(QStringLiteral(":/pictures/") + QLatin1String(name));
    setWindowIcon(icon);
    QFont font = this->font();
    font.setPointSizeF(8.25);
    setFont(font);
    setFixedSize(Twips(0, 0, 2355, 4230).size());
    setAcceptDrops(true);
    BuildControls();
    // Another program may put pictures in or take them out at any time;
    // the list's refresh costs only the changes.
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &Main::FollowFolder);
}

Main::~Main() = default;

void Main::BuildControls()
{
    m_BG = new QLabel(this);
    m_BG->setScaledContents(true);
    m_BG->setPixmap(WindowPicture(QStringLiteral("background"), devicePixelRatioF()));
    m_BG->setGeometry(Twips(0, 0, 75, 135));

    m_FilesView = new QListView(this);
    m_FilesView->setGeometry(Twips(60, 120, 2235, 1650));
    m_FilesView->setUniformItemSizes(true);
    // The list changes with every picture of a run. Laid out in batches, each
    // change started the batches over and a quick run showed an empty list
    // to its end; rows of one height lay out in one pass at a cost that
    // stays small with a folder of thousands (bench/window-bench.sh).
    m_FilesView->setLayoutMode(QListView::SinglePass);
    m_FilesView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_FilesView->setAccessibleName(QStringLiteral("Изображения для закачки"));
    m_FilesView->setModel(new FileListModel(*m_Files, *m_SetAside, m_FilesView));
    m_FilesView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The set-aside mark stays within a line of text, so rows keep their height.
    const int mark = std::max(8, m_FilesView->fontMetrics().height() - 2);
    m_FilesView->setIconSize(QSize(mark, mark));
    m_FilesView->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_requeue = new QAction(QStringLiteral("Вернуть в очередь"), m_FilesView);
    m_requeue->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m_requeue->setShortcutContext(Qt::WindowShortcut);
    m_requeue->setToolTip(QStringLiteral("Вернуть отложенные изображения (выбранные или все) в очередь"));
    connect(m_requeue, &QAction::triggered, this, &Main::RequeueSetAside);
    m_FilesView->addAction(m_requeue);
    SetBackground(m_FilesView, QColor(240, 240, 240), QPalette::Base);
    // The style marks a focused list by its current row alone, which an
    // empty list has not: a ring in the colour of a focused box's frame.
    m_FilesFocus = new QFocusFrame(this);
    SetBackground(m_FilesFocus, palette().color(QPalette::Highlight), QPalette::WindowText);
    m_FilesView->installEventFilter(this);

    const PropertyBag form = StoredForm();
    m_XpB1 = MakeButton(form, QStringLiteral("XpB1"), QStringLiteral("folder"), Twips(120, 1800, 2115, 375));
    connect(m_XpB1, &XpB::Click, this, &Main::ImportPictures);

    QLabel *label1 = TransparentLabel(QStringLiteral("Логин:"), Twips(240, 2460, 510, 195), this);
    m_Text1 = new QLineEdit(this);
    m_Text1->setGeometry(Twips(840, 2400, 1395, 285));
    m_Text1->setAccessibleName(QStringLiteral("Логин"));
    label1->setBuddy(m_Text1);
    SetBackground(m_Text1, QColor(224, 224, 224), QPalette::Base);
    QLabel *label2 = TransparentLabel(QStringLiteral("Пароль:"), Twips(120, 2820, 615, 195), this);
    m_Text2 = new QLineEdit(this);
    m_Text2->setGeometry(Twips(840, 2760, 1395, 285));
    m_Text2->setAccessibleName(QStringLiteral("Пароль"));
    label2->setBuddy(m_Text2);
    m_Text2->setEchoMode(QLineEdit::Password);
    SetBackground(m_Text2, QColor(224, 224, 224), QPalette::Base);
    // One "*" per character, as the member expects, not the style's bullet.
    m_Text2->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    m_Start = MakeButton(form, QStringLiteral("Start"), QStringLiteral("start"), Twips(120, 3180, 2115, 435));
    m_StopB = MakeButton(form, QStringLiteral("StopB"), QStringLiteral("stop"), Twips(120, 3180, 2115, 435));
    m_StopB->hide();
    connect(m_Start, &XpB::Click, m_cycle, &UploadCycle::Start);
    connect(m_StopB, &XpB::Click, m_cycle, &UploadCycle::Stop);

    TransparentLabel(QStringLiteral("v") + QString::fromLatin1(BuildSettings::Version).section('.', 0, 1),
                     Twips(60, 3720, 315, 195), this);
    TransparentLabel(QStringLiteral("Coding by"), Twips(1140, 3720, 705, 195), this);
    m_Label4 = new CreditLabel(CreditName, CreditPage, this);
    m_Label4->move(1920 / TwipsPerPixel, 3720 / TwipsPerPixel);
    m_Label4->adjustSize();

    m_st = new StatusLine(QStringLiteral("Ready"), this);
    m_st->setGeometry(Twips(0, 3960, 2355, 255));
    m_st->setAutoFillBackground(true);
    m_st->setFrameShape(QFrame::Panel);
    m_st->setFrameShadow(QFrame::Sunken);
    // The widest the line must show: the counter of a run of 99,999
    // pictures, whose digits are as wide as any others.
    m_st->FitWidest(QStringLiteral("Закачка 99999 из 99999 (100%)"));

    // Beyond the visible area: reached with the Tab key only.
    // Enter presses them too: they are for the keyboard alone.
    m_Command1 = new QPushButton(QStringLiteral("Parse clipboard"), this);
    m_Command1->setGeometry(Twips(6840, 360, 2355, 615));
    m_Command1->setAutoDefault(true);
    connect(m_Command1, &QPushButton::clicked, this, &Main::ParseClipboard);
    m_Command2 = new QPushButton(QStringLiteral("Parse file"), this);
    m_Command2->setGeometry(Twips(6840, 1380, 2235, 555));
    m_Command2->setAutoDefault(true);
    connect(m_Command2, &QPushButton::clicked, this, &Main::ParseFile);
    SetPicker(new CommonDialog(this));

    QWidget::setTabOrder(m_FilesView, m_Text1);
    QWidget::setTabOrder(m_Text1, m_Text2);
    QWidget::setTabOrder(m_Text2, m_Command1);
    QWidget::setTabOrder(m_Command1, m_Command2);
    QWidget::setTabOrder(m_Command2, m_XpB1);
    QWidget::setTabOrder(m_XpB1, m_Start);
    QWidget::setTabOrder(m_Start, m_StopB);
    m_BG->lower();
}

// The stored picture keeps its bytes and size; it is drawn from the window's
// own double-size drawing on a dense screen.
XpB *Main::MakeButton(const PropertyBag &form, const QString &name, const QString &picture, const QRect &geometry)
{
    auto *button = new XpB(this);
    button->setObjectName(name);
    button->ReadProperties(form.ReadProperty(name).value<PropertyBag>());
    const QImage doubled(QStringLiteral(":/pictures/%1@2x.png").arg(picture));
    if (button->Picture() && !doubled.isNull())
        button->SetPicture(button->Picture()->WithDoubleSize(doubled));
    button->setGeometry(geometry);
    return button;
}

void Main::SetPicker(CommonDialog *picker)
{
    delete m_CD;
    m_CD = picker;
    m_CD->setParent(this);
    m_CD->move(3480 / TwipsPerPixel, 2280 / TwipsPerPixel);
}

void Main::SetMessageDialog(MessageDialog *dialog)
{
    m_messages = dialog;
}

void Main::SetServiceOptions(const Options &options)
{
    const QString home = m_options.home;
    m_options = options;
    m_options.home = home;
    m_cycle->SetServer(options.uploadHost, options.uploadPort);
    m_cycle->SetTimeout(options.timeout);
}

void Main::Load()
{
    m_BG->setGeometry(rect());
    QString error;
    if (!ImageFolder::Prepare(m_options.home, *m_Files, &error)) {
        // The window stays: the member may fix the folder and press Start.
        m_startUpError = QStringLiteral("Папка изображений %1 недоступна: %2")
                             .arg(QDir::toNativeSeparators(ImageFolder::PathIn(m_options.home)), SystemReason(error));
        if (isVisible())
            QMetaObject::invokeMethod(this, &Main::ReportStartUpError, Qt::QueuedConnection);
        return;
    }
    m_SetAside->SetFolder(m_Files->Folder());
    m_SetAside->SetPattern(QString::fromLatin1(SetAsideQueue::Pattern));
    m_SetAside->Refresh();
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
    if (watched == m_FilesView && event->type() == QEvent::FocusIn)
        m_FilesFocus->setWidget(m_FilesView);
    else if (watched == m_FilesView && event->type() == QEvent::FocusOut)
        m_FilesFocus->setWidget(nullptr);
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

void Main::ShowFoundCount()
{
    ShowStatus(QStringLiteral("Найдено файлов - %1").arg(m_Files->Count()));
}

void Main::ShowStatus(const QString &text)
{
    // The service's words stay until the next picture starts.
    if (text == QLatin1String("Соединение..."))
        m_st->setToolTip(QString());
    m_st->setText(text);
}

void Main::ShowServiceWords(const QString &words)
{
    m_lastWords = words;
    m_st->setToolTip(words);
}

void Main::RefreshLists()
{
    m_Files->Refresh();
    if (!m_SetAside->Folder().isEmpty())
        m_SetAside->Refresh();
}

void Main::RequeueSetAside()
{
    m_SetAside->Refresh();
    QStringList chosen;
    const int pictures = int(m_Files->Count());
    for (const QModelIndex &index : m_FilesView->selectionModel()->selectedIndexes()) {
        if (index.data(FileListModel::SetAsideRole).toBool())
            chosen.append(m_SetAside->Entry(index.row() - pictures));
    }
    if (chosen.isEmpty())
        chosen = m_SetAside->Entries();
    if (chosen.isEmpty())
        return;
    int returned = 0;
    QString error;
    const bool ok = SetAsideQueue::Requeue(m_SetAside->Folder(), chosen, &returned, &error);
    RefreshLists();
    if (!ok)
        m_messages->ShowError(this, error);
    else if (m_cycle->CurrentState() == UploadCycle::State::Idle)
        ShowFoundCount();
}

void Main::OnRunStarted()
{
    m_runTime.start();
    m_lastWords.clear();
    m_st->setToolTip(QString());
}

void Main::ShowRunProgress()
{
    if (m_cycle->CurrentState() == UploadCycle::State::Idle && !m_runTime.isValid())
        return;
    setWindowTitle(QStringLiteral("Picaroon — %1 из %2, %3%")
                       .arg(m_summary->Handled())
                       .arg(m_summary->Total())
                       .arg(m_summary->BytePercent()));
}

void Main::OnRunEnded(int outcome)
{
    setWindowTitle(QStringLiteral("Picaroon"));
    if (UploadCycle::Outcome(outcome) == UploadCycle::Outcome::NothingToUpload || !m_runTime.isValid())
        return;
    const qint64 took = m_runTime.elapsed();
    m_runTime.invalidate();
    RefreshLists();
    // The last picture's own words stay readable beside the summary.
    const QString summary = m_summary->Text();
    m_st->setToolTip(m_lastWords.isEmpty() ? summary : m_lastWords + QStringLiteral("\n\n") + summary);
    // Someone who went away from a long run learns how it ended.
    if (took > 10000 && !isActiveWindow())
        m_notifier->Notify(m_st->text(), summary);
}

// The button that takes the other's place takes its focus as well, so a
// run started from the keyboard can be stopped from it.
void Main::ShowStopButton(bool shown)
{
    XpB *leaving = shown ? m_Start : m_StopB;
    XpB *coming = shown ? m_StopB : m_Start;
    coming->setVisible(true);
    if (leaving->hasFocus())
        coming->setFocus(leaving->FocusCue() ? Qt::TabFocusReason : Qt::MouseFocusReason);
    leaving->setVisible(false);
}

QString Main::LoginText() const
{
    return m_Text1->text();
}

QString Main::PasswordText() const
{
    return m_Text2->text();
}

void Main::ReportUnexpectedError(const QString &message)
{
    m_messages->ShowError(this, message);
}

void Main::ReportPassedOver(const QString &path, const QString &reason)
{
    m_messages->ShowNotice(this, QStringLiteral("%1 was passed over and stays in the image folder: %2")
                                     .arg(QFileInfo(path).fileName(), reason));
}

void Main::ImportPictures()
{
    m_CD->SetStartFolder(ImportStartFolder());
    const QString folder = m_CD->OpenFolder(QStringLiteral("Выберите папку с изображениями"), this);
    if (folder.isEmpty())
        return;
    RememberImportFolder(folder);
    Import({folder}, {});
}

// Folders give their "*.jpg" pictures, single pictures themselves; the
// first failure ends the copy, and what was copied before it stays.
void Main::Import(const QStringList &folders, const QStringList &pictures)
{
    m_Files->SetPattern(QString::fromLatin1(ImageFolder::Pattern));
    m_Files->Refresh();
    ShowStatus(QStringLiteral("Ждите, идет копирование..."));
    repaint();
    QString error;
    bool ok = true;
    for (const QString &folder : folders) {
        int copied = 0;
        if (!(ok = ImageImport::CopyPictures(folder, m_Files->Folder(), &copied, &error)))
            break;
    }
    const QDir imageFolder(m_Files->Folder());
    for (qsizetype i = 0; ok && i < pictures.size(); ++i) {
        const QFileInfo from(pictures.at(i));
        const QFileInfo to(imageFolder.filePath(from.fileName()));
        // A picture dropped from the image folder is already where it goes.
        if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
            continue;
        ok = FileOps::CopyFile(from.filePath(), to.filePath(), true, &error);
    }
    if (!ok) {
        RefreshLists();
        ShowStatus(QStringLiteral("Копирование не удалось"));
        m_messages->ShowError(this, error);
        return;
    }
    ShowStatus(QStringLiteral("Файлы скопированы"));
    RefreshLists();
    ShowFoundCount();
}

void Main::SetLastImportFolder(const QString &folder)
{
    m_lastImportFolder = folder;
}

QString Main::ImportStartFolder() const
{
    if (!m_lastImportFolder.isEmpty() && FileOps::FolderExists(m_lastImportFolder))
        return m_lastImportFolder;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && FileOps::FolderExists(pictures))
        return QDir::toNativeSeparators(pictures);
    return QDir::toNativeSeparators(QDir::homePath());
}

void Main::RememberImportFolder(const QString &folder)
{
    m_lastImportFolder = folder;
    emit ImportFolderChosen(folder);
}

void Main::dragEnterEvent(QDragEnterEvent *event)
{
    if (!PictureDrop(event->mimeData()).IsEmpty())
        event->acceptProposedAction();
}

void Main::dragMoveEvent(QDragMoveEvent *event)
{
    if (!PictureDrop(event->mimeData()).IsEmpty())
        event->acceptProposedAction();
}

// The copy waits until the drop has been answered, so the program the
// pictures came from is not held up by it. During a run it is as safe as
// the button's import: a picture replaced while it is being sent stays and
// goes in its turn.
void Main::dropEvent(QDropEvent *event)
{
    const PictureDrop drop(event->mimeData());
    if (drop.IsEmpty())
        return;
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this,
        [this, drop] {
            RememberImportFolder(drop.LastFolder());
            Import(drop.Folders(), drop.Pictures());
        },
        Qt::QueuedConnection);
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
