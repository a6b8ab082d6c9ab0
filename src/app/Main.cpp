#include "app/Main.h"

#include "app/CreditLabel.h"
#include "app/DesktopNotifier.h"
#include "app/FileListModel.h"
#include "app/MessageDialog.h"
#include "config/BuildSettings.h"
#include "controls/CommonDialog.h"
#include "controls/PropertyBag.h"
#include "controls/XpB.h"
#include "folder/FileList.h"
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
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <algorithm>

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

PropertyBag StoredForm()
{
    PropertyBag form;
    QFile file(QStringLiteral(":/Main.form.json"));
    if (file.open(QIODevice::ReadOnly))
        form.Load(file.readAll());
    return form;
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
{
    m_cycle = new UploadCycle(*this, *m_Files, this);
    m_cycle->SetServer(options.uploadHost, options.uploadPort);
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
    icon.addFile(QStringLiteral(":/pictures/icon32.png"));
    icon.addFile(QStringLiteral(":/pictures/icon16.png"));
    setWindowIcon(icon);
    QFont font = this->font();
    font.setPointSizeF(8.25);
    setFont(font);
    setFixedSize(Twips(0, 0, 2355, 4230).size());
    BuildControls();
}

Main::~Main() = default;

void Main::BuildControls()
{
    m_BG = new QLabel(this);
    m_BG->setScaledContents(true);
    m_BG->setPixmap(QPixmap(QStringLiteral(":/pictures/background.png")));
    m_BG->setGeometry(Twips(0, 0, 75, 135));

    m_FilesView = new QListView(this);
    m_FilesView->setGeometry(Twips(60, 120, 2235, 1650));
    m_FilesView->setUniformItemSizes(true);
    // The list changes with every picture of a run; laying out a folder of
    // thousands in one go each time would make a run cost more per picture
    // the fuller the folder. In batches, the rows in sight come first.
    m_FilesView->setLayoutMode(QListView::Batched);
    m_FilesView->setBatchSize(64);
    m_FilesView->setEditTriggers(QAbstractItemView::NoEditTriggers);
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

    const PropertyBag form = StoredForm();
    m_XpB1 = MakeButton(form, QStringLiteral("XpB1"), Twips(120, 1800, 2115, 375));
    connect(m_XpB1, &XpB::Click, this, &Main::ImportPictures);

    TransparentLabel(QStringLiteral("Логин:"), Twips(240, 2460, 510, 195), this);
    m_Text1 = new QLineEdit(this);
    m_Text1->setGeometry(Twips(840, 2400, 1395, 285));
    SetBackground(m_Text1, QColor(224, 224, 224), QPalette::Base);
    TransparentLabel(QStringLiteral("Пароль:"), Twips(120, 2820, 615, 195), this);
    m_Text2 = new QLineEdit(this);
    m_Text2->setGeometry(Twips(840, 2760, 1395, 285));
    m_Text2->setEchoMode(QLineEdit::Password);
    SetBackground(m_Text2, QColor(224, 224, 224), QPalette::Base);
    // One "*" per character, as the member expects, not the style's bullet.
    m_Text2->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    m_Start = MakeButton(form, QStringLiteral("Start"), Twips(120, 3180, 2115, 435));
    m_StopB = MakeButton(form, QStringLiteral("StopB"), Twips(120, 3180, 2115, 435));
    m_StopB->hide();
    connect(m_Start, &XpB::Click, m_cycle, &UploadCycle::Start);
    connect(m_StopB, &XpB::Click, m_cycle, &UploadCycle::Stop);

    TransparentLabel(QStringLiteral("v") + QString::fromLatin1(BuildSettings::Version).section('.', 0, 1),
                     Twips(60, 3720, 315, 195), this);
    TransparentLabel(QStringLiteral("Coding by"), Twips(1140, 3720, 705, 195), this);
    m_Label4 = new CreditLabel(CreditName, CreditPage, this);
    m_Label4->move(1920 / TwipsPerPixel, 3720 / TwipsPerPixel);
    m_Label4->adjustSize();

    m_st = new QLabel(QStringLiteral("Ready"), this);
    m_st->setGeometry(Twips(0, 3960, 2355, 255));
    m_st->setAutoFillBackground(true);
    m_st->setFrameShape(QFrame::Panel);
    m_st->setFrameShadow(QFrame::Sunken);

    // Beyond the visible area: reached with the Tab key only.
    m_Command1 = new QPushButton(QStringLiteral("Parse clipboard"), this);
    m_Command1->setGeometry(Twips(6840, 360, 2355, 615));
    connect(m_Command1, &QPushButton::clicked, this, &Main::ParseClipboard);
    m_Command2 = new QPushButton(QStringLiteral("Parse file"), this);
    m_Command2->setGeometry(Twips(6840, 1380, 2235, 555));
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

XpB *Main::MakeButton(const PropertyBag &form, const QString &name, const QRect &geometry)
{
    auto *button = new XpB(this);
    button->setObjectName(name);
    button->ReadProperties(form.ReadProperty(name).value<PropertyBag>());
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

void Main::Load()
{
    m_BG->setGeometry(rect());
    QString error;
    if (!ImageFolder::Prepare(m_options.home, *m_Files, &error)) {
        // The window stays: the member may fix the folder and press Start.
        m_messages->ShowError(this, error);
        return;
    }
    m_SetAside->SetFolder(m_Files->Folder());
    m_SetAside->SetPattern(QString::fromLatin1(SetAsideQueue::Pattern));
    m_SetAside->Refresh();
    if (m_Files->Count() > 0)
        ShowFoundCount();
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

void Main::ShowStopButton(bool shown)
{
    m_Start->setVisible(!shown);
    m_StopB->setVisible(shown);
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
    const QString folder = m_CD->OpenFolder(QStringLiteral("Выберите папку с изображениями"), this);
    if (folder.isEmpty())
        return;
    m_Files->SetPattern(QString::fromLatin1(ImageFolder::Pattern));
    m_Files->Refresh();
    ShowStatus(QStringLiteral("Ждите, идет копирование..."));
    repaint();
    int copied = 0;
    QString error;
    const bool ok = ImageImport::CopyPictures(folder, m_Files->Folder(), &copied, &error);
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

void Main::ParseClipboard()
{
    int count = 0;
    QString error;
    const QString page = QGuiApplication::clipboard()->text();
    if (!LinkExtractor(m_options.imageHost).AppendToUrlFile(m_options.home, page, &count, &error))
        m_messages->ShowError(this, error);
}

void Main::ParseFile()
{
    qint64 count = 0;
    QString error;
    if (!PostMarkup::MakePosts(m_options.home, &count, &error))
        m_messages->ShowError(this, error);
}
