#include "app/Main.h"

#include "app/CreditLabel.h"
#include "app/FileListModel.h"
#include "app/MessageDialog.h"
#include "config/BuildSettings.h"
#include "controls/CommonDialog.h"
#include "controls/PropertyBag.h"
#include "controls/XpB.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "folder/ImageImport.h"
#include "linktools/LinkExtractor.h"
#include "linktools/PostMarkup.h"
#include "upload/UploadCycle.h"

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
    , m_ownMessages(std::make_unique<MessageDialog>())
    , m_messages(m_ownMessages.get())
{
    m_cycle = new UploadCycle(*this, *m_Files, this);
    m_cycle->SetServer(options.uploadHost, options.uploadPort);
    m_cycle->SetTimeout(options.timeout);
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
    m_FilesView->setModel(new FileListModel(*m_Files, m_FilesView));
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
        m_messages->ShowError(this, error);
        return;
    }
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
    m_st->setToolTip(words);
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
        m_Files->Refresh();
        ShowStatus(QStringLiteral("Копирование не удалось"));
        m_messages->ShowError(this, error);
        return;
    }
    ShowStatus(QStringLiteral("Файлы скопированы"));
    m_Files->Refresh();
    ShowFoundCount();
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
