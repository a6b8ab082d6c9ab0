#include "app/MainControls.h"

#include "app/CreditLabel.h"
#include "app/FileListModel.h"
#include "app/StatusLine.h"
#include "config/BuildSettings.h"
#include "controls/PropertyBag.h"
#include "controls/XpB.h"
#include "folder/FileList.h"

#include <QAction>
#include <QFile>
#include <QFocusFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QCoreApplication>

#include <algorithm>

namespace {

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

const QString CreditName = QStringLiteral("crew");
const QUrl CreditPage(QStringLiteral("https://example.org/picaroon/crew"));

}

QRect MainControls::Twips(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

MainControls::MainControls(QWidget &window, FileList &pictures, FileList &setAside)
{
    m_BG = new QLabel(&window);
    m_BG->setScaledContents(true);
    m_BG->setPixmap(WindowPicture(QStringLiteral("background"), window.devicePixelRatioF()));
    m_BG->setGeometry(Twips(0, 0, 75, 135));

    BuildList(window, pictures, setAside);

    const PropertyBag form = StoredForm();
    m_XpB1 = MakeButton(window, form, QStringLiteral("XpB1"), QStringLiteral("folder"), Twips(120, 1800, 2115, 375));

    QLabel *label1 = TransparentLabel(tr("Login:"), Twips(240, 2460, 510, 195), &window);
    m_Text1 = new QLineEdit(&window);
    m_Text1->setGeometry(Twips(840, 2400, 1395, 285));
    m_Text1->setAccessibleName(tr("Login"));
    label1->setBuddy(m_Text1);
    SetBackground(m_Text1, QColor(224, 224, 224), QPalette::Base);
    QLabel *label2 = TransparentLabel(tr("Password:"), Twips(120, 2820, 615, 195), &window);
    m_Text2 = new QLineEdit(&window);
    m_Text2->setGeometry(Twips(840, 2760, 1395, 285));
    m_Text2->setAccessibleName(tr("Password"));
    label2->setBuddy(m_Text2);
    m_Text2->setEchoMode(QLineEdit::Password);
    SetBackground(m_Text2, QColor(224, 224, 224), QPalette::Base);
    // One "*" per character, as the member expects, not the style's bullet.
    m_Text2->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    m_Start = MakeButton(window, form, QStringLiteral("Start"), QStringLiteral("start"), Twips(120, 3180, 2115, 435));
    m_StopB = MakeButton(window, form, QStringLiteral("StopB"), QStringLiteral("stop"), Twips(120, 3180, 2115, 435));
    m_StopB->hide();

    TransparentLabel(QStringLiteral("v") + QString::fromLatin1(BuildSettings::Version).section('.', 0, 1),
                     Twips(60, 3720, 315, 195), &window);
    TransparentLabel(tr("Coding by"), Twips(1140, 3720, 705, 195), &window);
    m_Label4 = new CreditLabel(CreditName, CreditPage, &window);
    m_Label4->move(1920 / TwipsPerPixel, 3720 / TwipsPerPixel);
    m_Label4->adjustSize();

    m_st = new StatusLine(QStringLiteral("Ready"), &window);
    m_st->setGeometry(Twips(0, 3960, 2355, 255));
    m_st->setAutoFillBackground(true);
    m_st->setFrameShape(QFrame::Panel);
    m_st->setFrameShadow(QFrame::Sunken);
    // The widest the line must show: the counter of a run of 99,999
    // pictures, whose digits are as wide as any others.
    m_st->FitWidest(QStringLiteral("Закачка 99999 из 99999 (100%)"));

    // Beyond the visible area: reached with the Tab key only.
    // Enter presses them too: they are for the keyboard alone.
    m_Command1 = new QPushButton(tr("Parse clipboard"), &window);
    m_Command1->setGeometry(Twips(6840, 360, 2355, 615));
    m_Command1->setAutoDefault(true);
    m_Command2 = new QPushButton(tr("Parse file"), &window);
    m_Command2->setGeometry(Twips(6840, 1380, 2235, 555));
    m_Command2->setAutoDefault(true);

    QWidget::setTabOrder(m_Files, m_Text1);
    QWidget::setTabOrder(m_Text1, m_Text2);
    QWidget::setTabOrder(m_Text2, m_Command1);
    QWidget::setTabOrder(m_Command1, m_Command2);
    QWidget::setTabOrder(m_Command2, m_XpB1);
    QWidget::setTabOrder(m_XpB1, m_Start);
    QWidget::setTabOrder(m_Start, m_StopB);
    m_BG->lower();
}

void MainControls::BuildList(QWidget &window, FileList &pictures, FileList &setAside)
{
    m_Files = new QListView(&window);
    m_Files->setGeometry(Twips(60, 120, 2235, 1650));
    m_Files->setUniformItemSizes(true);
    // The list changes with every picture of a run. Laid out in batches, each
    // change started the batches over and a quick run showed an empty list
    // to its end; rows of one height lay out in one pass at a cost that
    // stays small with a folder of thousands (bench/window-bench.sh).
    m_Files->setLayoutMode(QListView::SinglePass);
    m_Files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_Files->setAccessibleName(tr("Pictures to upload"));
    m_Files->setModel(new FileListModel(pictures, setAside, m_Files));
    m_Files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The set-aside mark stays within a line of text, so rows keep their height.
    const int mark = std::max(8, m_Files->fontMetrics().height() - 2);
    m_Files->setIconSize(QSize(mark, mark));
    m_Files->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_requeue = new QAction(tr("Return to the queue"), m_Files);
    m_requeue->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m_requeue->setShortcutContext(Qt::WindowShortcut);
    m_Files->addAction(m_requeue);
    FollowRequeue(setAside);
    SetBackground(m_Files, QColor(240, 240, 240), QPalette::Base);
    // The style marks a focused list by its current row alone, which an
    // empty list has not: a ring in the colour of a focused box's frame.
    m_filesFocus = new QFocusFrame(&window);
    SetBackground(m_filesFocus, window.palette().color(QPalette::Highlight), QPalette::WindowText);
}

// The stored picture keeps its bytes and size; it is drawn from the window's
// own double-size drawing on a dense screen.
XpB *MainControls::MakeButton(QWidget &window, const PropertyBag &form, const QString &name, const QString &picture,
                              const QRect &geometry)
{
    auto *button = new XpB(&window);
    button->setObjectName(name);
    button->ReadProperties(form.ReadProperty(name).value<PropertyBag>());
    const QImage doubled(QStringLiteral(":/pictures/%1@2x.png").arg(picture));
    if (button->Picture() && !doubled.isNull())
        button->SetPicture(button->Picture()->WithDoubleSize(doubled));
    button->setGeometry(geometry);
    return button;
}

// The action says what it would return, and is there only when something is.
void MainControls::FollowRequeue(const FileList &setAside)
{
    const auto update = [this, &setAside] {
        bool chosen = false;
        for (const QModelIndex &index : m_Files->selectionModel()->selectedIndexes())
            chosen = chosen || index.data(FileListModel::SetAsideRole).toBool();
        m_requeue->setEnabled(setAside.Count() > 0);
        m_requeue->setText(chosen ? tr("Return the chosen to the queue") : tr("Return all to the queue"));
        m_requeue->setToolTip(chosen ? tr("Return the chosen set-aside pictures to the queue")
                                     : tr("Return every set-aside picture to the queue"));
    };
    QObject::connect(m_Files->selectionModel(), &QItemSelectionModel::selectionChanged, m_requeue, update);
    QObject::connect(m_Files->model(), &QAbstractItemModel::modelReset, m_requeue, update);
    QObject::connect(m_Files->model(), &QAbstractItemModel::rowsInserted, m_requeue, update);
    QObject::connect(m_Files->model(), &QAbstractItemModel::rowsRemoved, m_requeue, update);
    update();
}
