#include "ScriptedPeer.h"
#include "TestFiles.h"

#include "app/CreditLabel.h"
#include "app/Main.h"
#include "app/MessageDialog.h"
#include "app/SingleWindow.h"
#include "app/StatusLine.h"
#include "controls/CommonDialog.h"
#include "controls/XpB.h"
#include "folder/FolderLock.h"
#include "upload/UploadCycle.h"

#include "app/FileListModel.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFocusFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

namespace {

// Only the modal dialogs are doubles; the copy, the folder and the socket
// are the real ones.
class PickerDouble : public CommonDialog
{
public:
    QString OpenFolder(const QString &, QWidget *) override { return {}; }
};

// Also notes where the window stood when the error was told.
class MessagesDouble : public MessageDialog
{
public:
    void ShowError(QWidget *owner, const QString &message) override
    {
        errors.append(message);
        ownerShownAt = owner->isVisible() ? owner->pos() : QPoint(-1, -1);
    }
    void ShowNotice(QWidget *, const QString &message) override { notices.append(message); }
    QStringList errors;
    QStringList notices;
    QPoint ownerShownAt;
};

// Answers the modal dialogs as a member would, with real mouse clicks through
// their own windows: the folder dialog with the button named by "answer",
// a message box with OK. A dialog the clicks cannot reach is closed after
// a few tries, so that a test fails rather than hangs.
class DialogAnswerer : public QObject
{
public:
    explicit DialogAnswerer(QDialogButtonBox::ButtonRole answer)
        : m_answer(answer)
    {
        connect(&m_timer, &QTimer::timeout, this, &DialogAnswerer::Look);
        m_timer.start(20);
    }

    QStringList seen;
    QString folderDialogDirectory;
    int unanswered = 0;

private:
    void Look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || !modal->windowHandle() || !modal->windowHandle()->isExposed())
            return;
        if (modal != m_last) {
            m_last = modal;
            m_tries = 0;
            seen.append(QString::fromLatin1(modal->metaObject()->className()));
        }
        if (++m_tries > 5) {
            ++unanswered;
            static_cast<QDialog *>(modal)->reject();
            return;
        }
        QAbstractButton *button = nullptr;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            button = box->button(QMessageBox::Ok);
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            folderDialogDirectory = QDir::toNativeSeparators(dialog->directory().absolutePath());
            for (QAbstractButton *b : dialog->findChild<QDialogButtonBox *>()->buttons()) {
                if (dialog->findChild<QDialogButtonBox *>()->buttonRole(b) == m_answer)
                    button = b;
            }
        }
        if (button)
            QTest::mouseClick(modal->windowHandle(), Qt::LeftButton, {}, button->mapTo(modal, button->rect().center()));
    }

    QDialogButtonBox::ButtonRole m_answer;
    QTimer m_timer;
    QPointer<QWidget> m_last;
    int m_tries = 0;
};

}

// The core's own tests judge the run, the copy and the link files; these
// check what the window adds: wiring, buttons, status line and list.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }

    void init()
    {
        // The offscreen cursor is shared by the whole process: keep it away.
        QCursor::setPos(4000, 4000);
        m_home = std::make_unique<QTemporaryDir>();
        m_messages = MessagesDouble();
        m_peer = new ScriptedPeer(this);
        QVERIFY(m_peer->Listen());
    }

    void cleanup()
    {
        m_window.reset();
        delete m_peer;
    }

    void startUp_data()
    {
        QTest::addColumn<bool>("usable"); // else the home is a file
        QTest::addColumn<QStringList>("pictures"); // none: no image folder yet
        QTest::addColumn<QString>("status");
        QTest::newRow("first run: folder created, Ready, not a count of 0") << true << QStringList{} << "Ready";
        QTest::newRow("pictures listed and counted") << true << QStringList{"a.jpg", "b.jpg"} << "Найдено файлов - 2";
        // The member may fix the folder and press Start.
        QTest::newRow("no usable folder: said so in the window's language, over the placed window")
            << false << QStringList{} << "Ready";
    }

    void startUp()
    {
        QFETCH(bool, usable);
        QFETCH(QStringList, pictures);
        QFETCH(QString, status);
        if (!pictures.isEmpty())
            MakeImg(pictures);
        QString home;
        if (!usable) {
            home = m_home->filePath("home-is-a-file");
            QVERIFY(TestFiles::Write(home));
        }
        Open(home);

        QCOMPARE(QFileInfo(Img()).isDir(), usable);
        QCOMPARE(Listed(), pictures);
        QCOMPARE(m_window->st()->text(), status);
        QVERIFY(m_window->Start()->isVisible());
        QVERIFY(!m_window->StopB()->isVisible());
        // With no import yet, the folder dialog opens on the member's pictures.
        const QString picturesFolder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        QCOMPARE(m_window->ImportStartFolder(),
                 QDir::toNativeSeparators(QFileInfo(picturesFolder).isDir() ? picturesFolder : QDir::homePath()));
        QTRY_COMPARE(m_messages.errors.size(), usable ? 0 : 1);
        if (!usable) {
            const QString expected = QStringLiteral("Папка изображений %1 недоступна: %2")
                                         .arg(QDir::toNativeSeparators(home + "/img"),
                                              QString::fromLocal8Bit(std::strerror(ENOTDIR)));
            QCOMPARE(m_messages.errors.first(), expected);
            QCOMPARE(m_messages.ownerShownAt, QPoint(123, 77));
        }
    }

    // A run to its end is the keyboard test's.
    void startAndStopSwapTheButtons()
    {
        MakeImg({"a.jpg", "b.jpg"});
        m_peer->script = {ScriptedPeer::Hold()};
        Open();
        QSignalSpy received(m_peer, &ScriptedPeer::RequestReceived);
        emit m_window->Start()->Click();
        QTRY_COMPARE(received.size(), 1);
        QVERIFY(!m_window->Start()->isVisible());
        QVERIFY(m_window->StopB()->isVisible());
        // The run holds the folder against others, not against its own drops.
        FolderLock other;
        QString error;
        QCOMPARE(other.Take(m_home->path(), FolderLock::Holder::Upload, &error), FolderLock::Result::Busy);
        QVERIFY2(error.contains("the window (process"), qPrintable(error));
        QVERIFY(TestFiles::Write(m_home->filePath("card/c.jpg")) && Drop({m_home->filePath("card/c.jpg")}));
        QTRY_VERIFY(QFile::exists(Img("c.jpg")));

        emit m_window->StopB()->Click();
        QCOMPARE(m_window->st()->text(), QStringLiteral("Остановлено"));
        QVERIFY(m_window->Start()->isVisible());
        QVERIFY(!m_window->StopB()->isVisible());
        QCOMPARE(Listed(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        // Held by another, the folder keeps the window from starting.
        QCOMPARE(other.Take(m_home->path(), FolderLock::Holder::Upload, &error), FolderLock::Result::Taken);
        emit m_window->Start()->Click();
        QCOMPARE(m_messages.errors.size(), 1);
        QVERIFY(m_window->Start()->isVisible());
        QCOMPARE(received.size(), 1);
    }

    // The same folder by another path is the same window; another folder's is not.
    void secondStartCallsTheFirstWindow()
    {
        SingleWindow first(m_home->path());
        QVERIFY(!first.CallRunning() && first.Listen());
        QSignalSpy called(&first, &SingleWindow::Called);
        QVERIFY(SingleWindow(m_home->path() + "/.").CallRunning());
        QTRY_COMPARE(called.size(), 1);
        QVERIFY(!SingleWindow(Img()).CallRunning());
    }

    // The pointer stays outside the window; Tab, typing and one key do it all.
    // Start's place and its focus go to Stop for the run, and come back.
    void keyboardOnlyRun_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Space") << Qt::Key_Space;
        QTest::newRow("Enter") << Qt::Key_Return;
    }

    void keyboardOnlyRun()
    {
        QFETCH(Qt::Key, key);
        MakeImg({"a.jpg", "b.jpg", "c.jpg"});
        m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        Open();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTRY_COMPARE(QApplication::focusWidget(), m_window->Files());
        // The list's style marks focus on the current row only: an empty list
        // would show none without a ring of its own.
        auto *ring = m_window->findChild<QFocusFrame *>();
        QVERIFY(ring && ring->isVisible() && ring->geometry().contains(m_window->Files()->geometry()));
        for (const char *typed : {"member", "secret"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(typed));
        }
        QVERIFY(!ring->isVisible());
        QCOMPARE(m_window->Text1()->text(), QStringLiteral("member"));
        QCOMPARE(m_window->Text2()->displayText(), QStringLiteral("******"));
        // The parse buttons lie beyond the window's width: out of sight, yet
        // the Tab key reaches them.
        for (QWidget *next : {static_cast<QWidget *>(m_window->Command1()), static_cast<QWidget *>(m_window->Command2()),
                              static_cast<QWidget *>(m_window->XpB1()), static_cast<QWidget *>(m_window->Start())}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QVERIFY(m_window->Command1()->x() >= m_window->width());
        QVERIFY(m_window->Start()->FocusCue());

        QSignalSpy ended(&m_window->Cycle(), &UploadCycle::RunEnded);
        QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), m_window->StopB());
        QVERIFY(m_window->StopB()->FocusCue());
        QTRY_COMPARE(ended.size(), 1);
        QCOMPARE(m_window->st()->text(), QStringLiteral("Готово"));
        QCOMPARE(Listed(), QStringList());
        QCOMPARE(m_peer->requests.size(), 3);
        QVERIFY(ScriptedPeer::HeaderValue(m_peer->requests.last(), "Cookie").startsWith("user_login=member;"));
        QCOMPARE(QApplication::focusWidget(), m_window->Start());
    }

    // The dialogs opened by a real click answer real clicks: the folder dialog,
    // opened where the last import was, and the message box of a failed copy.
    void realFolderDialogAnswersTheMouse_data()
    {
        QTest::addColumn<QStringList>("source");
        QTest::addColumn<QDialogButtonBox::ButtonRole>("answer");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<QString>("status");
        QTest::newRow("Choose copies the folder it opened in")
            << QStringList{"n.jpg"} << QDialogButtonBox::AcceptRole << QStringList{"QFileDialog"} << "Найдено файлов - 2";
        QTest::newRow("Cancel changes nothing")
            << QStringList{"n.jpg"} << QDialogButtonBox::RejectRole << QStringList{"QFileDialog"} << "Найдено файлов - 1";
        QTest::newRow("a folder without pictures: the error box's OK answers too")
            << QStringList{"notes.txt"} << QDialogButtonBox::AcceptRole << QStringList{"QFileDialog", "QMessageBox"}
            << "Копирование не удалось";
    }

    void realFolderDialogAnswersTheMouse()
    {
        QFETCH(QStringList, source);
        QFETCH(QDialogButtonBox::ButtonRole, answer);
        QFETCH(QStringList, dialogs);
        QFETCH(QString, status);
        MakeImg({"old.jpg"});
        QTemporaryDir from;
        for (const QString &name : source)
            QVERIFY(TestFiles::Write(from.filePath(name)));
        const QString fromPath = QDir::toNativeSeparators(from.path());
        Open(QString(), Dialogs::Real);
        m_window->SetLastImportFolder(fromPath);

        DialogAnswerer answerer(answer);
        QWidget *button = m_window->XpB1();
        QCursor::setPos(button->mapToGlobal(button->rect().center()));
        QCoreApplication::processEvents();
        const QPoint at = m_window->mapFromGlobal(QCursor::pos());
        QTest::mousePress(m_window->windowHandle(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(m_window->windowHandle(), Qt::LeftButton, {}, at);

        QCOMPARE(answerer.seen, dialogs);
        QCOMPARE(answerer.unanswered, 0);
        QCOMPARE(answerer.folderDialogDirectory, fromPath);
        QCOMPARE(m_window->st()->text(), status);
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
    }

    void dropImports_data()
    {
        QTest::addColumn<QStringList>("dropped"); // in the source folder; "." is the folder itself
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("a folder: its pictures, not its subfolder's")
            << QStringList{"."} << true << "Найдено файлов - 3" << QStringList{"a.jpg", "n.JPG", "old.jpg"};
        QTest::newRow("pictures: the dropped ones, anything else left out")
            << QStringList{"n.JPG", "notes.txt"} << true << "Найдено файлов - 2" << QStringList{"n.JPG", "old.jpg"};
        QTest::newRow("nothing to import: the drop is refused")
            << QStringList{"notes.txt"} << false << "Найдено файлов - 1" << QStringList{"old.jpg"};
    }

    void dropImports()
    {
        QFETCH(QStringList, dropped);
        QFETCH(bool, accepted);
        QFETCH(QString, status);
        QFETCH(QStringList, listed);
        MakeImg({"old.jpg"});
        QTemporaryDir from;
        QDir source(from.path());
        QVERIFY(source.mkdir("sub") && source.mkdir("empty"));
        for (const char *name : {"a.jpg", "n.JPG", "notes.txt", "sub/s.jpg"})
            QVERIFY(TestFiles::Write(source.filePath(QString::fromLatin1(name))));
        Open();
        QStringList paths;
        for (const QString &name : dropped)
            paths.append(QDir::cleanPath(source.filePath(name)));

        QCOMPARE(Drop(paths), accepted);
        QTRY_COMPARE(m_window->st()->text(), status);
        QCOMPARE(Listed(), listed);
        QCOMPARE(m_messages.errors.size(), status == "Копирование не удалось" ? 1 : 0);
        if (accepted) {
            const QString remembered = QDir::toNativeSeparators(QFileInfo(paths.first()).isDir()
                                                                    ? paths.first()
                                                                    : QFileInfo(paths.first()).path());
            QCOMPARE(m_window->ImportStartFolder(), remembered);
        }
    }

    void listFollowsTheFolder_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("a picture written in") << "write n.jpg" << QStringList{"a.jpg", "b.jpg", "n.jpg"};
        QTest::newRow("the folder removed and made anew with a picture") << "remake n.jpg" << QStringList{"n.jpg"};
    }

    // Another program changes the folder; nothing in the window is touched.
    void listFollowsTheFolder()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, listed);
        MakeImg({"a.jpg", "b.jpg"});
        Open();
        const QString name = change.section(' ', -1);
        if (change.startsWith("write"))
            QVERIFY(TestFiles::Write(Img(name)));
        else {
            QVERIFY(QDir(Img()).removeRecursively());
            QTRY_COMPARE(Listed(), QStringList());
            QVERIFY(TestFiles::Write(Img(name)));
        }
        QTRY_COMPARE(Listed(), listed);
    }

    void parseButtonsWriteTheTextFiles_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("clicked") << "click";
        QTest::newRow("Enter on the focused button") << "enter";
    }

    void parseButtonsWriteTheTextFiles()
    {
        QFETCH(QString, how);
        Open();
        QGuiApplication::clipboard()->setText(
            "<td>class=\"other\"></a><span><a href='http://img.example.test/userdir/4/1/8/2/418265/x.jpg' ></td>");
        for (QPushButton *button : {m_window->Command1(), m_window->Command2()}) {
            if (how == "click") {
                button->click();
            } else {
                button->setFocus(Qt::TabFocusReason);
                QTest::keyClick(button, Qt::Key_Return);
            }
        }

        QCOMPARE(TestFiles::Read(m_home->filePath("url.txt")), "http://img.example.test/userdir/4/1/8/2/418265/x.jpg\r\n");
        QCOMPARE(TestFiles::Read(m_home->filePath("base_url.txt")).count("--endanecdot-"), 1);
        QCOMPARE(m_window->st()->text(), QStringLiteral("Ready"));

        QVERIFY(QFile::remove(m_home->filePath("url.txt")));
        m_window->Command2()->click();
        QCOMPARE(m_messages.errors.size(), 1);
        QVERIFY(m_messages.errors.first().contains("url.txt"));
    }

    void toldToAssistiveTechnology_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pressable");
        QTest::newRow("picture list") << "Files" << QAccessible::List << "Изображения для закачки" << false;
        QTest::newRow("login box") << "Text1" << QAccessible::EditableText << "Логин" << false;
        QTest::newRow("password box, as a password field") << "Text2" << QAccessible::EditableText << "Пароль" << false;
        QTest::newRow("import button") << "XpB1" << QAccessible::Button << "Выбрать каталог" << true;
        QTest::newRow("Start") << "Start" << QAccessible::Button << "Закачать" << true;
        QTest::newRow("Parse clipboard") << "Command1" << QAccessible::Button << "Parse clipboard" << true;
        QTest::newRow("status line: what it is and what it says") << "st" << QAccessible::StatusBar
                                                                   << "Состояние: Найдено файлов - 1" << false;
        QTest::newRow("credit link") << "Label4" << QAccessible::Link << "crew" << true;
    }

    void toldToAssistiveTechnology()
    {
        QFETCH(QString, control);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(bool, pressable);
        MakeImg({"a.jpg"});
        Open();
        const QHash<QString, QObject *> controls{
            {"Files", m_window->Files()}, {"Text1", m_window->Text1()}, {"Text2", m_window->Text2()},
            {"XpB1", m_window->XpB1()}, {"Start", m_window->Start()}, {"StopB", m_window->StopB()},
            {"Command1", m_window->Command1()}, {"Command2", m_window->Command2()}, {"st", m_window->st()},
            {"Label4", m_window->Label4()}};
        QAccessibleInterface *described = QAccessible::queryAccessibleInterface(controls.value(control));
        QVERIFY(described);
        QCOMPARE(described->role(), role);
        QCOMPARE(described->text(QAccessible::Name), name);
        QCOMPARE(described->state().passwordEdit, control == "Text2");
        const QAccessibleActionInterface *actions = described->actionInterface();
        QCOMPARE(actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()), pressable);
    }

    void statusTextsShownInFull_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("known"); // one of the window's own texts, else an unforeseen longer one
        for (const char *text : {"Закачка 99999 из 99999 (100%)", "Ждите, идет копирование...", "Неверное имя или пароль",
                                 "Load data - 262144 Kb"}) {
            QTest::newRow(text) << QString::fromUtf8(text) << true;
        }
        QTest::newRow("unforeseen: a smaller font of its own")
            << QStringLiteral("Закачка 99999 из 99999 (100%), и ещё немного") << false;
    }

    // In the line's one font, or in a smaller one for a text longer than any
    // of the window's own; the window keeps its size.
    void statusTextsShownInFull()
    {
        QFETCH(QString, text);
        QFETCH(bool, known);
        Open();
        const QSize size = m_window->size();
        StatusLine *line = m_window->st();
        const int width = line->width();
        m_window->ShowStatus(text);
        const QFont font = line->FontFor(text);
        QVERIFY2(QFontMetricsF(font).horizontalAdvance(text) <= line->TextRoom(),
                 qPrintable(QStringLiteral("%1 px in %2").arg(QFontMetricsF(font).horizontalAdvance(text)).arg(line->TextRoom())));
        QCOMPARE(font == line->font(), known);
        QVERIFY(QFontInfo(font).pixelSize() >= (known ? 10 : 6));
        QCOMPARE(line->width(), width);
        QCOMPARE(m_window->size(), size);
    }

    void runTellsItsProgressWordsAndSummary()
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
        QCOMPARE(TestFiles::Read(m_home->filePath("uploads.log")).count("\tset aside as a.jpg_!\tQuota exceeded\n"), 1);
    }

    void setAsidePicturesListedGreyedAndRequeued_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("after");

        QTest::newRow("nothing selected: all of them")
            << QList<int>{} << QStringList{"a (2).jpg", "a.jpg", "c.jpg"};
        QTest::newRow("the chosen one only") << QList<int>{2} << QStringList{"a.jpg", "c.jpg", "a.jpg_!"};
    }

    void setAsidePicturesListedGreyedAndRequeued()
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

private:
    enum class Dialogs { Doubles, Real };

    QString Img(const QString &name = QString()) const { return m_home->filePath(QStringLiteral("img/") + name); }

    void MakeImg(const QStringList &pictures)
    {
        for (const QString &name : pictures)
            QVERIFY(TestFiles::Write(Img(name)));
    }

    // Loaded, placed and shown in the program's own order.
    void Open(const QString &home = QString(), Dialogs dialogs = Dialogs::Doubles)
    {
        Main::Options options;
        options.home = home.isEmpty() ? m_home->path() : home;
        options.upload = HostAddress(QStringLiteral("127.0.0.1"), m_peer->serverPort());
        options.imageHost = QStringLiteral("img.example.test");
        m_window = std::make_unique<Main>(options);
        if (dialogs == Dialogs::Doubles) {
            m_window->SetPicker(new PickerDouble);
            m_window->SetMessageDialog(&m_messages);
        } else {
            m_window->SetMessageDialog(&m_realMessages);
        }
        m_window->Load();
        m_window->move(123, 77);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QStringList Listed() const
    {
        QStringList names;
        const QAbstractItemModel *model = m_window->Files()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names.append(model->index(row, 0).data().toString());
        return names;
    }

    bool Drop(const QStringList &paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        const QPoint at(40, 40);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &drop);
        return drop.isAccepted();
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Main> m_window;
    MessagesDouble m_messages;
    MessageDialog m_realMessages;
    ScriptedPeer *m_peer = nullptr;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
