#include "ScriptedPeer.h"

#include "app/Main.h"
#include "app/MessageDialog.h"
#include "controls/CommonDialog.h"
#include "controls/XpB.h"

#include "app/FileListModel.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Only the modal dialogs are doubles; the copy, the folder and the socket
// are the real ones.
class PickerDouble : public CommonDialog
{
public:
    QString OpenFolder(const QString &Title, QWidget *) override
    {
        titles.append(Title);
        return answer;
    }
    QString answer;
    QStringList titles;
};

class MessagesDouble : public MessageDialog
{
public:
    void ShowError(QWidget *, const QString &message) override { errors.append(message); }
    void ShowNotice(QWidget *, const QString &message) override { notices.append(message); }
    QStringList errors;
    QStringList notices;
};

bool Write(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("\xFF\xD8picture") > 0;
}

}

// The core's own tests judge the run, the copy and the link files; these
// check what the window adds: wiring, buttons, status line and list.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUp_data();
    void startUp();
    void passwordStarsAndTabOrder();
    void startAndStopSwapTheButtons();
    void import_data();
    void import();
    void parseButtonsWriteTheTextFiles();
    void buttonsDrawTheirStoredPictures_data();
    void buttonsDrawTheirStoredPictures();
    void runTellsItsProgressWordsAndSummary();
    void setAsidePicturesListedGreyedAndRequeued_data();
    void setAsidePicturesListedGreyedAndRequeued();

private:
    QString Img(const QString &name = QString()) const { return m_home->filePath(QStringLiteral("img/") + name); }
    void MakeImg(const QStringList &pictures);
    void Open(const QString &home = QString());
    QStringList Listed() const;

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Main> m_window;
    PickerDouble *m_picker = nullptr;
    MessagesDouble m_messages;
    ScriptedPeer *m_peer = nullptr;
};

void TestMainWindow::init()
{
    // The offscreen cursor is shared by the whole process: keep it away.
    QCursor::setPos(4000, 4000);
    m_home = std::make_unique<QTemporaryDir>();
    m_messages.errors.clear();
    m_peer = new ScriptedPeer(this);
    QVERIFY(m_peer->Listen());
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    delete m_peer;
}

void TestMainWindow::MakeImg(const QStringList &pictures)
{
    QVERIFY(QDir(m_home->path()).mkdir("img"));
    for (const QString &name : pictures)
        QVERIFY(Write(Img(name)));
}

void TestMainWindow::Open(const QString &home)
{
    Main::Options options;
    options.home = home.isEmpty() ? m_home->path() : home;
    options.uploadHost = QStringLiteral("127.0.0.1");
    options.uploadPort = m_peer->serverPort();
    options.imageHost = QStringLiteral("img.example.test");
    m_window = std::make_unique<Main>(options);
    m_picker = new PickerDouble;
    m_window->SetPicker(m_picker);
    m_window->SetMessageDialog(&m_messages);
    m_window->Load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

QStringList TestMainWindow::Listed() const
{
    QStringList names;
    const QAbstractItemModel *model = m_window->Files()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names.append(model->index(row, 0).data().toString());
    return names;
}

void TestMainWindow::startUp_data()
{
    QTest::addColumn<bool>("usable"); // else the home is a file
    QTest::addColumn<QStringList>("pictures"); // none: no image folder yet
    QTest::addColumn<QString>("status");
    QTest::newRow("first run: folder created, Ready, not a count of 0") << true << QStringList{} << "Ready";
    QTest::newRow("pictures listed and counted") << true << QStringList{"a.jpg", "b.jpg"} << "Найдено файлов - 2";
    // The member may fix the folder and press Start.
    QTest::newRow("no usable folder: said so, the window stays") << false << QStringList{} << "Ready";
}

void TestMainWindow::startUp()
{
    QFETCH(bool, usable);
    QFETCH(QStringList, pictures);
    QFETCH(QString, status);
    if (!pictures.isEmpty())
        MakeImg(pictures);
    QString home;
    if (!usable) {
        home = m_home->filePath("home-is-a-file");
        QVERIFY(Write(home));
    }
    Open(home);

    QCOMPARE(QFileInfo(Img()).isDir(), usable);
    QCOMPARE(Listed(), pictures);
    QCOMPARE(m_window->st()->text(), status);
    QVERIFY(m_window->Start()->isVisible());
    QVERIFY(!m_window->StopB()->isVisible());
    QCOMPARE(m_messages.errors.size(), usable ? 0 : 1);
    if (!usable)
        QVERIFY2(m_messages.errors.first().contains("img"), qPrintable(m_messages.errors.first()));
}

// The parse buttons lie beyond the window's width: out of sight, yet the
// Tab key reaches them.
void TestMainWindow::passwordStarsAndTabOrder()
{
    Open();
    m_window->activateWindow();
    m_window->Text2()->setFocus();
    QTRY_VERIFY(m_window->Text2()->hasFocus());
    QTest::keyClicks(m_window->Text2(), "s3cret");
    QCOMPARE(m_window->Text2()->displayText(), QStringLiteral("******"));

    const QList<QWidget *> order = {m_window->Command1(), m_window->Command2(), m_window->XpB1(),
                                    m_window->Start(), m_window->Files()};
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QVERIFY(m_window->Command1()->x() >= m_window->width());
}

// The first run is held and stopped, the second one accepted.
void TestMainWindow::startAndStopSwapTheButtons()
{
    MakeImg({"a.jpg", "b.jpg"});
    m_peer->script = {ScriptedPeer::Hold(), ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    Open();
    m_window->Text1()->setText(QStringLiteral("member"));
    QSignalSpy received(m_peer, &ScriptedPeer::RequestReceived);
    emit m_window->Start()->Click();
    QTRY_COMPARE(received.size(), 1);
    QVERIFY(!m_window->Start()->isVisible());
    QVERIFY(m_window->StopB()->isVisible());

    emit m_window->StopB()->Click();
    QCOMPARE(m_window->st()->text(), QStringLiteral("Остановлено"));
    QVERIFY(m_window->Start()->isVisible());
    QVERIFY(!m_window->StopB()->isVisible());
    QCOMPARE(Listed(), (QStringList{"a.jpg", "b.jpg"}));

    emit m_window->Start()->Click();
    QTRY_COMPARE(m_window->st()->text(), QStringLiteral("Готово"));
    QVERIFY(m_window->Start()->isVisible());
    QCOMPARE(Listed(), QStringList());
    QVERIFY(ScriptedPeer::HeaderValue(m_peer->requests.last(), "Cookie").startsWith("user_login=member;"));
}

void TestMainWindow::runTellsItsProgressWordsAndSummary()
{
    MakeImg({"a.jpg", "b.jpg"});
    m_peer->script = {ScriptedPeer::Reply("<html><body><p>Quota exceeded</p></body></html>"),
                      ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    Open();
    QStringList titles;
    connect(m_window.get(), &QWidget::windowTitleChanged, this, [&](const QString &title) { titles.append(title); });
    emit m_window->Start()->Click();
    QTRY_COMPARE(m_window->st()->text(), QStringLiteral("Готово"));

    // Pictures done of all, and the bytes sent of all.
    QVERIFY2(titles.contains(QStringLiteral("Picaroon — 1 из 2, 50%")) && titles.contains(QStringLiteral("Picaroon — 2 из 2, 100%")),
             qPrintable(titles.join(" | ")));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Picaroon"));
    QCOMPARE(m_window->st()->toolTip(), QStringLiteral("Quota exceeded\n\nЗагружено 1, отложено 1, пропущено 0"));
    QCOMPARE(Listed(), QStringList{"a.jpg_!"});
    QFile log(m_home->filePath("uploads.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> records = log.readAll().split('\n');
    QCOMPARE(records.size(), 3);
    QVERIFY(records.at(0).contains("\tset aside as a.jpg_!\tQuota exceeded"));
    QVERIFY(records.at(1).contains("\tb.jpg\t9\taccepted"));
}

void TestMainWindow::setAsidePicturesListedGreyedAndRequeued_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("nothing selected: all of them")
        << QList<int>{} << QStringList{"a (2).jpg", "a.jpg", "c.jpg"};
    QTest::newRow("the chosen one only") << QList<int>{2} << QStringList{"a.jpg", "c.jpg", "a.jpg_!"};
    QTest::newRow("a picture chosen, not a set-aside one: all of them")
        << QList<int>{0} << QStringList{"a (2).jpg", "a.jpg", "c.jpg"};
}

void TestMainWindow::setAsidePicturesListedGreyedAndRequeued()
{
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, after);

    MakeImg({"a.jpg", "a.jpg_!", "c.jpg_!"});
    Open();
    QCOMPARE(Listed(), QStringList({"a.jpg", "a.jpg_!", "c.jpg_!"}));
    const QAbstractItemModel *model = m_window->Files()->model();
    for (int row = 0; row < 3; ++row)
        QCOMPARE(model->index(row, 0).data(FileListModel::SetAsideRole).toBool(), row > 0);
    QVERIFY(model->index(1, 0).data(Qt::ForegroundRole).isValid());
    QVERIFY(!model->index(0, 0).data(Qt::ForegroundRole).isValid());
    QVERIFY(m_window->Files()->actions().contains(m_window->RequeueAction()));

    for (int row : selected)
        m_window->Files()->selectionModel()->select(model->index(row, 0), QItemSelectionModel::Select);
    m_window->activateWindow();
    QTest::keyClick(m_window.get(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(Listed(), after);
}

void TestMainWindow::import_data()
{
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<bool>("failed");
    // The count is the list's, not the number copied.
    QTest::newRow("one new picture, one replacing its namesake")
        << QStringList{"a.jpg", "n.jpg"} << "Найдено файлов - 3" << QStringList{"a.jpg", "n.jpg", "old.jpg"} << false;
    QTest::newRow("no picture: said so, nothing lost")
        << QStringList{"notes.txt"} << "Копирование не удалось" << QStringList{"a.jpg", "old.jpg"} << true;
    QTest::newRow("cancelled: nothing changes")
        << QStringList{} << "Найдено файлов - 2" << QStringList{"a.jpg", "old.jpg"} << false;
}

void TestMainWindow::import()
{
    QFETCH(QStringList, source);
    QFETCH(QString, status);
    QFETCH(QStringList, listed);
    QFETCH(bool, failed);
    MakeImg({"a.jpg", "old.jpg"});
    QTemporaryDir from;
    for (const QString &name : source)
        QVERIFY(Write(from.filePath(name)));
    Open();
    m_picker->answer = source.isEmpty() ? QString() : from.path();
    emit m_window->XpB1()->Click();

    QCOMPARE(m_picker->titles, QStringList{"Выберите папку с изображениями"});
    QCOMPARE(m_window->st()->text(), status);
    QCOMPARE(Listed(), listed);
    QCOMPARE(m_messages.errors.size(), failed ? 1 : 0);
}

void TestMainWindow::parseButtonsWriteTheTextFiles()
{
    Open();
    QGuiApplication::clipboard()->setText(
        "<td>class=\"other\"></a><span><a href='http://img.example.test/userdir/4/1/8/2/418265/x.jpg' ></td>");
    m_window->Command1()->click();
    m_window->Command2()->click();

    QFile urls(m_home->filePath("url.txt"));
    QVERIFY(urls.open(QIODevice::ReadOnly));
    QCOMPARE(urls.readAll(), QByteArray("http://img.example.test/userdir/4/1/8/2/418265/x.jpg\r\n"));
    QFile posts(m_home->filePath("base_url.txt"));
    QVERIFY(posts.open(QIODevice::ReadOnly));
    QCOMPARE(posts.readAll().count("--endanecdot-"), 1);
    QCOMPARE(m_window->st()->text(), QStringLiteral("Ready"));

    QVERIFY(QFile::remove(m_home->filePath("url.txt")));
    m_window->Command2()->click();
    QCOMPARE(m_messages.errors.size(), 1);
    QVERIFY(m_messages.errors.first().contains("url.txt"));
}

void TestMainWindow::buttonsDrawTheirStoredPictures_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("pictureColor");
    QTest::newRow("Start: green square") << "Start" << "Закачать" << QColor(0, 150, 40);
    QTest::newRow("StopB: red square") << "StopB" << "Остановить" << QColor(220, 30, 30);
    QTest::newRow("XpB1: tan folder") << "XpB1" << "Выбрать каталог" << QColor(226, 190, 130);
}

void TestMainWindow::buttonsDrawTheirStoredPictures()
{
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(QColor, pictureColor);
    Open();
    auto *xpb = m_window->findChild<XpB *>(button);
    QVERIFY(xpb);
    QCOMPARE(xpb->Caption(), caption);
    const QImage face = xpb->FaceImage();
    int found = 0;
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x)
            found += face.pixelColor(x, y).rgb() == pictureColor.rgb();
    }
    QVERIFY2(found >= 16, qPrintable(QStringLiteral("%1 pixels of the picture").arg(found)));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
