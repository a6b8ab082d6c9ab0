#include "ScriptedPeer.h"

#include "app/Main.h"
#include "app/MessageDialog.h"
#include "controls/CommonDialog.h"
#include "controls/XpB.h"
#include "upload/UploadCycle.h"

#include <QAbstractItemModel>
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
    QStringList errors;
};

bool Write(const QString &path, const QByteArray &bytes = "\xFF\xD8picture")
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUp_data();
    void startUp();
    void startUpWithoutUsableFolderKeepsWindowOpen();
    void passwordShowsStars();
    void tabReachesHiddenParseButtons();
    void uploadRunFromStartSwapsButtons();
    void stopLeavesPictureInList();
    void import_data();
    void import();
    void parseButtonsWriteTheTextFiles();
    void buttonsDrawTheirStoredPictures_data();
    void buttonsDrawTheirStoredPictures();

private:
    QString Img(const QString &name = QString()) const { return m_home->filePath(QStringLiteral("img/") + name); }
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
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("status");

    QTest::newRow("first run: folder created, Ready") << QStringList{} << QStringList{} << "Ready";
    QTest::newRow("no pictures: Ready, not a count of 0") << QStringList{"", "notes.txt"} << QStringList{} << "Ready";
    QTest::newRow("three pictures and a text file")
        << QStringList{"", "b.jpg", "a.jpg", "c.JPG", "notes.txt"} << QStringList{"a.jpg", "b.jpg", "c.JPG"}
        << "Найдено файлов - 3";
}

void TestMainWindow::startUp()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    QFETCH(QString, status);

    for (const QString &name : files) {
        if (name.isEmpty())
            QVERIFY(QDir(m_home->path()).mkdir("img"));
        else
            QVERIFY(Write(Img(name)));
    }
    Open();

    QVERIFY(QFileInfo(Img()).isDir());
    QCOMPARE(Listed(), listed);
    QCOMPARE(m_window->st()->text(), status);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Picaroon"));
    QVERIFY(m_window->Start()->isVisible());
    QVERIFY(!m_window->StopB()->isVisible());
    QVERIFY(m_messages.errors.isEmpty());
}

void TestMainWindow::startUpWithoutUsableFolderKeepsWindowOpen()
{
    const QString notAFolder = m_home->filePath("home-is-a-file");
    QVERIFY(Write(notAFolder));
    Open(notAFolder);

    QCOMPARE(m_messages.errors.size(), 1);
    QVERIFY2(m_messages.errors.first().contains("img"), qPrintable(m_messages.errors.first()));
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->st()->text(), QStringLiteral("Ready"));
}

void TestMainWindow::passwordShowsStars()
{
    Open();
    m_window->Text2()->setFocus();
    QTest::keyClicks(m_window->Text2(), "s3cret");
    QCOMPARE(m_window->Text2()->text(), QStringLiteral("s3cret"));
    QCOMPARE(m_window->Text2()->displayText(), QStringLiteral("******"));
}

void TestMainWindow::tabReachesHiddenParseButtons()
{
    Open();
    m_window->activateWindow();
    m_window->Text2()->setFocus();
    QTRY_VERIFY(m_window->Text2()->hasFocus());
    const QList<QWidget *> expected = {m_window->Command1(), m_window->Command2(), m_window->XpB1(),
                                       m_window->Start(), m_window->Files()};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    // Out of sight, yet there: they lie beyond the window's width.
    QVERIFY(m_window->Command1()->x() >= m_window->width());
}

void TestMainWindow::uploadRunFromStartSwapsButtons()
{
    QVERIFY(QDir(m_home->path()).mkdir("img"));
    QVERIFY(Write(Img("a.jpg"), "first"));
    QVERIFY(Write(Img("b.jpg"), "second"));
    m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    Open();
    m_window->Text1()->setText(QStringLiteral("member"));
    m_window->Text2()->setText(QStringLiteral("secret"));
    bool swapped = false;
    connect(m_peer, &ScriptedPeer::RequestReceived, this,
            [&] { swapped = !m_window->Start()->isVisible() && m_window->StopB()->isVisible(); });

    emit m_window->Start()->Click();
    QTRY_COMPARE(m_window->st()->text(), QStringLiteral("Готово"));

    QVERIFY(swapped);
    QVERIFY(m_window->Start()->isVisible());
    QVERIFY(!m_window->StopB()->isVisible());
    QCOMPARE(m_peer->requests.size(), 2);
    QVERIFY(ScriptedPeer::HeaderValue(m_peer->requests.first(), "Cookie").startsWith("user_login=member;"));
    QCOMPARE(Listed(), QStringList());
}

void TestMainWindow::stopLeavesPictureInList()
{
    QVERIFY(QDir(m_home->path()).mkdir("img"));
    QVERIFY(Write(Img("a.jpg")));
    m_peer->script = {ScriptedPeer::Hold()};
    Open();
    QSignalSpy received(m_peer, &ScriptedPeer::RequestReceived);
    emit m_window->Start()->Click();
    QTRY_COMPARE(received.size(), 1);
    QVERIFY(m_window->StopB()->isVisible());

    emit m_window->StopB()->Click();
    QCOMPARE(m_window->st()->text(), QStringLiteral("Остановлено"));
    QVERIFY(m_window->Start()->isVisible());
    QCOMPARE(Listed(), QStringList{"a.jpg"});
}

void TestMainWindow::import_data()
{
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<bool>("failed");

    QTest::newRow("two pictures, one replacing its namesake")
        << QStringList{"a.jpg", "n.JPG", "notes.txt", "sub/deep.jpg"} << "Найдено файлов - 3"
        << QStringList{"a.jpg", "n.JPG", "old.jpg"} << false;
    QTest::newRow("no picture: said so, nothing lost")
        << QStringList{"notes.txt", "sub/deep.jpg"} << "Копирование не удалось"
        << QStringList{"a.jpg", "old.jpg"} << true;
    QTest::newRow("cancelled: nothing changes") << QStringList{} << "Найдено файлов - 2"
        << QStringList{"a.jpg", "old.jpg"} << false;
}

void TestMainWindow::import()
{
    QFETCH(QStringList, source);
    QFETCH(QString, status);
    QFETCH(QStringList, listed);
    QFETCH(bool, failed);

    QVERIFY(QDir(m_home->path()).mkdir("img"));
    QVERIFY(Write(Img("a.jpg"), "old a"));
    QVERIFY(Write(Img("old.jpg")));
    QTemporaryDir from;
    for (const QString &name : source) {
        QVERIFY(QDir(from.path()).mkpath(QFileInfo(from.filePath(name)).path()));
        QVERIFY(Write(from.filePath(name), name.toUtf8()));
    }
    Open();
    m_picker->answer = source.isEmpty() ? QString() : from.path();
    emit m_window->XpB1()->Click();

    QCOMPARE(m_picker->titles, QStringList{"Выберите папку с изображениями"});
    QCOMPARE(m_window->st()->text(), status);
    QCOMPARE(Listed(), listed);
    QCOMPARE(m_messages.errors.size(), failed ? 1 : 0);
    if (!failed && !source.isEmpty()) {
        QFile replaced(Img("a.jpg"));
        QVERIFY(replaced.open(QIODevice::ReadOnly));
        QCOMPARE(replaced.readAll(), QByteArray("a.jpg"));
    }
}

void TestMainWindow::parseButtonsWriteTheTextFiles()
{
    Open();
    const QString marker = QStringLiteral("class=\"other\"></a><span><a href='http://img.example.test/userdir/4/1/8/2/418265/");
    QGuiApplication::clipboard()->setText("<td>" + marker + "x.jpg' target></td>" + marker + "y.jpg' >");
    m_window->Command1()->click();
    m_window->Command2()->click();

    QFile urls(m_home->filePath("url.txt"));
    QVERIFY(urls.open(QIODevice::ReadOnly));
    QCOMPARE(urls.readAll(), QByteArray("http://img.example.test/userdir/4/1/8/2/418265/x.jpg\r\n"
                                        "http://img.example.test/userdir/4/1/8/2/418265/y.jpg\r\n"));
    QFile posts(m_home->filePath("base_url.txt"));
    QVERIFY(posts.open(QIODevice::ReadOnly));
    QCOMPARE(posts.readAll().count("--endanecdot-"), 2);
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
    xpb->show();
    QCOMPARE(xpb->Caption(), caption);
    QCOMPARE(xpb->ButtonStyle(), 1);
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
