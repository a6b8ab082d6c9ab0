#include "ScriptedPeer.h"
#include "TestFiles.h"

#include "app/CreditLabel.h"
#include "app/FileListModel.h"
#include "app/Main.h"
#include "app/MessageDialog.h"
#include "app/SingleWindow.h"
#include "app/SettingsDialog.h"
#include "app/WindowImport.h"
#include "app/StatusLine.h"
#include "app/WindowSettings.h"
#include "controls/CommonDialog.h"
#include "controls/XpB.h"
#include "folder/FolderLock.h"
#include "settings/ProgramSettings.h"
#include "text/ProgramLanguage.h"
#include "upload/RunScheduler.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QAction>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
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
    QString OpenFolder(const QString &, QWidget *) override
    {
        startedIn = StartFolder();
        return chosen;
    }
    QString startedIn;
    QString chosen;
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
    bool AskToStop(QWidget *) override
    {
        ++asked;
        return stop;
    }
    QStringList errors;
    int asked = 0;
    bool stop = true;
    QStringList notices;
    QPoint ownerShownAt;
};

}

// The core's own tests judge the run, the copy and the link files; these
// check what the window adds: wiring, buttons, status line, list and its
// ties to the settings.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(ProgramLanguage::Use(ProgramLanguage::Language::Russian));
    }

    void init()
    {
        // The offscreen cursor is shared by the whole process: keep it away.
        QCursor::setPos(4000, 4000);
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(Home()));
        m_messages = MessagesDouble();
        m_peer = new ScriptedPeer(this);
        QVERIFY(m_peer->Listen());
    }

    void cleanup()
    {
        m_window.reset();
        m_settings.reset();
        delete m_peer;
    }

    void startUp_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("usable"); // else the home is a file
        QTest::addColumn<QStringList>("said"); // the notices' beginnings, the caller's own among them
        QTest::newRow("first run: folder created, Ready, the settings open at the upload host")
            << QByteArray() << true << QStringList{"start-up trouble"};
        // The member may fix the folder and press Start.
        QTest::newRow("no usable folder, a place on no screen, a stored value that does not check: all said")
            << QByteArray("[service]\nuploadHost=127.0.0.1\n[window]\nposition=@Point(5000 5000)\n[links]\naccount=x\n")
            << false << QStringList {"start-up trouble", "links/account в SETTINGS: номер"};
    }

    void startUp()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, usable);
        QFETCH(QStringList, said);
        const QString home = usable ? Home() : m_root->filePath("home-is-a-file");
        QVERIFY(usable || TestFiles::Write(home));
        Open(settings, home);

        QCOMPARE(QFileInfo(home + "/img").isDir(), usable);
        QVERIFY(Listed().isEmpty());
        QCOMPARE(m_window->st()->text(), QStringLiteral("Ready"));
        QVERIFY(m_window->Start()->isVisible() && !m_window->StopB()->isVisible());
        QCOMPARE(m_window->pos(), QPoint(123, 77));
        QVERIFY(m_window->Text1()->text().isEmpty());
        if (settings.isEmpty()) {
            auto *dialog = m_window->findChild<SettingsDialog *>();
            QVERIFY(dialog && dialog->isVisible());
            QTRY_COMPARE(QApplication::focusWidget(), dialog->Field(SettingKey::UploadHost));
            QVERIFY(dialog->Field(SettingKey::UploadHost)->text().isEmpty());
            QCOMPARE(dialog->Field(SettingKey::Timeout)->placeholderText(), QStringLiteral("60"));
            dialog->reject();
        }
        // With no import yet, the folder dialog opens on the member's pictures.
        const QString picturesFolder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        QCOMPARE(m_window->Imports().StartFolder(),
                 QDir::toNativeSeparators(QFileInfo(picturesFolder).isDir() ? picturesFolder : QDir::homePath()));
        said.replaceInStrings("SETTINGS", Settings());
        QCOMPARE(m_messages.notices.size(), said.size());
        for (qsizetype i = 0; i < said.size(); ++i)
            QVERIFY2(m_messages.notices.at(i).startsWith(said.at(i)), qPrintable(m_messages.notices.at(i)));
        QTRY_COMPARE(m_messages.errors.size(), usable ? 0 : 1);
        if (!usable) {
            QCOMPARE(m_messages.errors.first(), QStringLiteral("Папка изображений %1 недоступна: Это не каталог")
                                                    .arg(QDir::toNativeSeparators(home + "/img")));
            QCOMPARE(m_messages.ownerShownAt, QPoint(123, 77));
        }
        // Closed elsewhere, it keeps the new place and the login.
        m_window->move(50, 60);
        QVERIFY(m_window->close());
        const ProgramSettings saved(Settings());
        QCOMPARE(saved.WindowPosition(), std::optional<QPoint>(m_window->pos()));
        QVERIFY(saved.LastLogin().isEmpty());
    }

    // The same folder by another path is the same window; another folder's is not.
    void secondStartCallsTheFirstWindow()
    {
        SingleWindow first(Home());
        QVERIFY(!first.CallRunning() && first.Listen());
        QSignalSpy called(&first, &SingleWindow::Called);
        QVERIFY(SingleWindow(Home(".")).CallRunning());
        QTRY_COMPARE(called.size(), 1);
        QVERIFY(!SingleWindow(Home("img")).CallRunning());
    }

    // The pointer stays outside the window: the settings dialog through its
    // shortcut or the list's menu, then Tab, typing and one key do it all.
    // Start's place and its focus go to Stop for the run, and come back.
    void keyboardOnlySession_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<bool>("shortcut"); // else the list's context menu
        QTest::newRow("Space, Ctrl+,") << Qt::Key_Space << true;
        QTest::newRow("Enter, the list's menu") << Qt::Key_Return << false;
    }

    void keyboardOnlySession()
    {
        QFETCH(Qt::Key, key);
        QFETCH(bool, shortcut);
        MakeImg({"a.jpg", "b.jpg"});
        m_peer->script = {ScriptedPeer::Reply("<html><body><p>Quota exceeded</p></body></html>"),
                          ScriptedPeer::Reply(ScriptedPeer::AcceptedPage()), ScriptedPeer::Hold()};
        Open();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTRY_COMPARE(QApplication::focusWidget(), m_window->Files());

        // What the dialog saves is used from the next picture on.
        if (shortcut) {
            QTest::keyClick(m_window.get(), Qt::Key_Comma, Qt::ControlModifier);
        } else {
            QCOMPARE(m_window->Files()->contextMenuPolicy(), Qt::ActionsContextMenu);
            QVERIFY(m_window->Files()->actions().contains(m_tie->SettingsAction()));
            m_tie->SettingsAction()->trigger();
        }
        auto *dialog = m_window->findChild<SettingsDialog *>();
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        dialog->Field(SettingKey::UploadHost)->setText(QStringLiteral("127.0.0.1:%1").arg(m_peer->serverPort()));
        dialog->SaveButton()->click();
        QVERIFY(!dialog->isVisible());
        m_window->activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), m_window->Files());

        for (const char *typed : {"member", "secret"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(typed));
        }
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

        QSignalSpy ended(&m_window->Run(), &RunScheduler::RunEnded);
        // Enter starts the run from the password box too.
        QTest::keyClick(key == Qt::Key_Return ? m_window->Text2() : QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), m_window->StopB());
        QVERIFY(m_window->StopB()->FocusCue());
        QTRY_COMPARE(ended.size(), 1);
        QCOMPARE(m_window->st()->text(), QStringLiteral("Готово: загружено 1, отложено 1, пропущено 0"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Picaroon"));
        QCOMPARE(QApplication::focusWidget(), m_window->Start());
        QCOMPARE(m_window->st()->toolTip(), QStringLiteral("Quota exceeded\n\nЗагружено 1, отложено 1, пропущено 0"));
        QCOMPARE(Listed(), QStringList{"a.jpg_!"});
        QVERIFY(m_window->Files()->model()->index(0, 0).data(Qt::ToolTipRole).toString().contains("Quota exceeded"));
        QVERIFY(ScriptedPeer::HeaderValue(m_peer->requests.last(), "Cookie").startsWith("user_login=member;"));
        // The login is kept, never the password nor its digest.
        QCOMPARE(ProgramSettings(Settings()).LastLogin(), QStringLiteral("member"));
        const QByteArray file = TestFiles::Read(Settings());
        const QByteArray digest = QCryptographicHash::hash("secret", QCryptographicHash::Md5).toHex();
        QVERIFY(!file.contains("secret") && !file.contains(digest) && !file.contains(digest.toUpper()));

        // Stopped while the service holds the next picture: nothing lost.
        MakeImg({"c.jpg"});
        QTRY_COMPARE(Listed(), (QStringList{"c.jpg", "a.jpg_!"}));
        QSignalSpy received(m_peer, &ScriptedPeer::RequestReceived);
        QTest::keyClick(QApplication::focusWidget(), key);
        QTRY_COMPARE(received.size(), 1);
        QVERIFY(!m_window->Start()->isVisible() && m_window->StopB()->isVisible());
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d+% · 1 из 1 — Picaroon$")).match(m_window->windowTitle()).hasMatch(),
                 qPrintable(m_window->windowTitle()));
        // Closing asks first; kept, the run goes on.
        m_messages.stop = false;
        QVERIFY(!m_window->close());
        QVERIFY(m_window->StopB()->isVisible());
        // The run holds the folder against others; an import waits for its end.
        FolderLock other;
        QString error;
        QCOMPARE(other.Take(Home(), FolderLock::Holder::Upload, &error), FolderLock::Result::Busy);
        QVERIFY2(error.contains("окно (процесс"), qPrintable(error));
        QVERIFY(TestFiles::Write(m_root->filePath("card/d.jpg")));
        m_picker->chosen = m_root->filePath("card");
        emit m_window->XpB1()->Click();
        QCOMPARE(m_messages.errors,
                 QStringList {"Идёт закачка: картинки можно будет скопировать, когда она закончится."});
        QMimeData card;
        card.setUrls({QUrl::fromLocalFile(m_root->filePath("card"))});
        QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &card, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPoint(40, 40), Qt::CopyAction, &card, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        QApplication::sendEvent(m_window.get(), &drop);
        QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(m_window->st()->text(), QStringLiteral("Остановлено"));
        QVERIFY(m_window->Start()->isVisible() && !m_window->StopB()->isVisible());
        QCOMPARE(Listed(), (QStringList {"c.jpg", "a.jpg_!"}));
        // The drop is copied once the run has ended.
        QTRY_COMPARE(m_window->st()->text(), QStringLiteral("Найдено файлов - 2"));
        QCOMPARE(Listed(), (QStringList{"c.jpg", "d.jpg", "a.jpg_!"}));
        // Held by another, the folder keeps the window from starting.
        QCOMPARE(other.Take(Home(), FolderLock::Holder::Upload, &error), FolderLock::Result::Taken);
        emit m_window->Start()->Click();
        QCOMPARE(m_messages.errors.size(), 2);
        QCOMPARE(received.size(), 1);
        other.Release();
    }

    // Dropped, or picked in the folder dialog, which opens where the last
    // import was.
    void importsWhatIsDroppedOrPicked_data()
    {
        QTest::addColumn<bool>("picked");
        QTest::addColumn<QStringList>("given"); // in the source folder; "." is the folder itself
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("status"); // empty: the count
        const QStringList all{"a.jpg", "n.JPG", "old.jpg"};
        QTest::newRow("a dropped folder: its pictures, not its subfolder's") << false << QStringList{"."} << true << all << "";
        QTest::newRow("nothing to import: the drop is refused")
            << false << QStringList{"notes.txt"} << false << QStringList{"old.jpg"} << "";
        QTest::newRow("a picked folder without pictures: said")
            << true << QStringList{"empty"} << false << QStringList{"old.jpg"} << "Копирование не удалось";
    }

    void importsWhatIsDroppedOrPicked()
    {
        QFETCH(bool, picked);
        QFETCH(QStringList, given);
        QFETCH(bool, accepted);
        QFETCH(QStringList, listed);
        QFETCH(QString, status);
        MakeImg({"old.jpg"});
        QTemporaryDir from;
        QDir source(from.path());
        QVERIFY(source.mkdir("empty"));
        for (const char *name : {"a.jpg", "n.JPG", "notes.txt", "sub/s.jpg"})
            QVERIFY(TestFiles::Write(source.filePath(QString::fromLatin1(name))));
        Open();
        QMimeData data;
        for (const QString &name : given)
            data.setUrls(data.urls() << QUrl::fromLocalFile(QDir::cleanPath(source.filePath(name))));
        const QString remembered = QDir::toNativeSeparators(source.path());
        if (picked) {
            m_window->Imports().SetLastFolder(remembered);
            m_picker->chosen = given.isEmpty() ? QString() : data.urls().first().toLocalFile();
            emit m_window->XpB1()->Click();
            QCOMPARE(m_picker->startedIn, remembered);
        } else {
            QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(m_window.get(), &enter);
            QCOMPARE(enter.isAccepted(), accepted);
            QDropEvent drop(QPoint(40, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QVERIFY(!accepted || (QApplication::sendEvent(m_window.get(), &drop), drop.isAccepted()));
        }
        QTRY_COMPARE(m_window->st()->text(), status.isEmpty() ? QStringLiteral("Найдено файлов - %1").arg(listed.size()) : status);
        QCOMPARE(Listed(), listed);
        QCOMPARE(m_messages.errors.size(), status.isEmpty() ? 0 : 1);
        if (accepted)
            QCOMPARE(m_window->Imports().StartFolder(), remembered);
    }

    // Another program changes the folder; nothing in the window is touched.
    // Set-aside pictures are greyed, and requeued by Ctrl+R: all of them
    // with nothing selected, else the chosen ones.
    void listFollowsTheFolderAndRequeues()
    {
        MakeImg({"a.jpg", "b.jpg"});
        Open();
        MakeImg({"n.jpg"});
        QTRY_COMPARE(Listed(), (QStringList{"a.jpg", "b.jpg", "n.jpg"}));
        QVERIFY(QFile::remove(Home("img/b.jpg")) && QFile::remove(Home("img/n.jpg")));
        MakeImg({"a.jpg_!", "c.jpg_!", "d.jpg_!"});
        QTRY_COMPARE(Listed(), (QStringList{"a.jpg", "a.jpg_!", "c.jpg_!", "d.jpg_!"}));

        const QAbstractItemModel *model = m_window->Files()->model();
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(model->index(row, 0).data(FileListModel::SetAsideRole).toBool(), row > 0);
            QCOMPARE(model->index(row, 0).data(Qt::ForegroundRole).isValid(), row > 0);
        }
        QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("a.jpg"));
        QAction *requeue = m_window->RequeueAction();
        QVERIFY(m_window->Files()->actions().contains(requeue));
        QCOMPARE(requeue->text(), QStringLiteral("Вернуть в очередь все"));
        m_window->Files()->selectionModel()->select(model->index(2, 0), QItemSelectionModel::Select);
        QCOMPARE(requeue->text(), QStringLiteral("Вернуть в очередь выбранные"));
        m_window->activateWindow();
        QTest::keyClick(m_window.get(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(Listed(), (QStringList{"a.jpg", "c.jpg", "a.jpg_!", "d.jpg_!"}));
        m_window->Files()->clearSelection();
        QTest::keyClick(m_window.get(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(Listed(), (QStringList{"a (2).jpg", "a.jpg", "c.jpg", "d.jpg"}));
        QVERIFY(!requeue->isEnabled());
    }

    // Custom controls tell assistive technology what they are and do.
    void toldToAssistiveTechnology_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pressable");
        QTest::newRow("password box, as a password field") << "Text2" << QAccessible::EditableText << "Пароль" << false;
        QTest::newRow("Start") << "Start" << QAccessible::Button << "Закачать" << true;
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
            {"Text2", m_window->Text2()}, {"Start", m_window->Start()}, {"st", m_window->st()}, {"Label4", m_window->Label4()}};
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
        QTest::newRow("the longest of the window's own") << QStringLiteral("Закачка 99999 из 99999 (100%)") << true;
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

    // The window, its settings, a message and Qt's own folder dialog speak
    // Russian: every text a member reads, tooltips and context menus too.
    void everyTextShownIsRussian()
    {
        MakeImg({"a.jpg", "b.jpg_!"});
        SettingsDialog &dialog = Dialog("[links]\naccount=x\n[service]\nuploadHost=127.0.0.1\n");
        dialog.Field(SettingKey::ImageHost)->setText(QStringLiteral("http://img.example.org/a"));
        emit dialog.Field(SettingKey::ImageHost)->editingFinished();
        QStringList english = EnglishIn(m_window.get()) + EnglishIn(&dialog);
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Picaroon"), QStringLiteral("Сообщение"), QMessageBox::Ok);
        box.setDetailedText(QStringLiteral("Подробности"));
        box.show();
        english += EnglishIn(&box);
        CommonDialog picker;
        picker.SetStartFolder(Home());
        QTimer::singleShot(0, this, [&] {
            QWidget *folders = QApplication::activeModalWidget();
            english += EnglishIn(folders);
            folders->close();
        });
        picker.OpenFolder(QStringLiteral("Выберите папку с изображениями"), nullptr);
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QLatin1Char('\n'))));
    }

    // A stored text that does not check is shown with its fault; neither
    // Enter nor accept() gets past it, and the focus goes to it. What is typed
    // is checked key by key; once mended, it is saved trimmed, and empty
    // fields take keys out: the build's values apply again.
    void onlyWhatChecksIsSaved()
    {
        const QByteArray stored = "[links]\naccount=0\n[service]\nuploadHost=127.0.0.1\n[upload]\nlastLogin=kept\n";
        SettingsDialog &dialog = Dialog(stored);
        QCOMPARE(dialog.Field(SettingKey::Account)->text(), QStringLiteral("0"));
        QVERIFY(dialog.ProblemLabel()->text().startsWith(QStringLiteral("Номер учётной записи:")));
        QVERIFY(!dialog.SaveButton()->isEnabled());
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.Field(SettingKey::Timeout)->setText(QStringLiteral("0"));
        dialog.activateWindow();
        dialog.Field(SettingKey::Timeout)->setFocus();
        QTest::keyClick(dialog.Field(SettingKey::Timeout), Qt::Key_Return);
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QTRY_COMPARE(QApplication::focusWidget(), dialog.Field(SettingKey::Account));
        QCOMPARE(TestFiles::Read(Settings()), stored);

        dialog.Field(SettingKey::Account)->clear();
        const QSize size = dialog.size();
        dialog.Field(SettingKey::UploadHost)->clear();
        QTest::keyClicks(dialog.Field(SettingKey::UploadHost), QStringLiteral("up.example.org:70000"));
        dialog.Field(SettingKey::Timeout)->setText(QStringLiteral("-1"));
        QVERIFY2(dialog.ProblemLabel()->text().startsWith("Сервер загрузки: порт — число от 1 до 65535, а не «70000»"),
                 qPrintable(dialog.ProblemLabel()->text()));
        // Every wrong field is marked under itself at once, in room kept for it.
        QStringList marks;
        for (const QLabel *label : dialog.findChildren<QLabel *>())
            marks << label->text();
        for (auto [key, text] : {std::pair{SettingKey::UploadHost, "up.example.org:70000"}, std::pair{SettingKey::Timeout, "-1"}})
        {
            const QString problem = ProgramSettings::Check(key, QString::fromUtf8(text));
            QVERIFY(!problem.isEmpty() && marks.contains(problem));
        }
        QCOMPARE(dialog.size(), size);
        QVERIFY(!dialog.SaveButton()->isEnabled());
        dialog.Field(SettingKey::Timeout)->setText(QStringLiteral("0"));
        // An address pasted from a browser keeps its host and port alone.
        dialog.Field(SettingKey::UploadHost)->setText(QStringLiteral(" https://[::1]:8080/upload?x "));
        emit dialog.Field(SettingKey::UploadHost)->editingFinished();
        QCOMPARE(dialog.Field(SettingKey::UploadHost)->text(), QStringLiteral("[::1]:8080"));
        QVERIFY(dialog.ProblemLabel()->text().isEmpty() && dialog.SaveButton()->isEnabled());
        dialog.SaveButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const ProgramSettings saved(Settings());
        QCOMPARE((QStringList{saved.Stored(SettingKey::UploadHost), saved.Stored(SettingKey::Account), saved.LastLogin()}),
                 (QStringList{"[::1]:8080", QString(), "kept"}));
    }

    void failedSaveIsSaidAndTheDialogStays()
    {
        QVERIFY(TestFiles::Write(m_root->filePath("config"), "a file where the folder should be"));
        SettingsDialog &dialog = Dialog({});
        QVERIFY(dialog.ProblemLabel()->text().isEmpty());
        dialog.Field(SettingKey::Timeout)->setText(QStringLiteral("30"));
        dialog.SaveButton()->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.ProblemLabel()->text().startsWith("Не удалось прочитать " + Settings()));
    }

private:
    SettingsDialog &Dialog(const QByteArray &settings = "[service]\nuploadHost=127.0.0.1\n")
    {
        Open(settings);
        return *m_tie->OpenDialog();
    }

    QString Home(const QString &name = QString()) const { return m_root->filePath("home/" + name); }
    QString Settings() const { return m_root->filePath(QStringLiteral("config/picaroon.conf")); }

    void MakeImg(const QStringList &pictures)
    {
        for (const QString &name : pictures)
            QVERIFY(TestFiles::Write(Home("img/" + name)));
    }

    // Loaded, tied to its settings, placed and shown in the program's own
    // order. A host the settings give is the peer.
    void Open(const QByteArray &settings = "[service]\nuploadHost=127.0.0.1\n", const QString &home = QString())
    {
        QDir().mkpath(m_root->filePath("config"));
        QVERIFY(settings.isEmpty() || TestFiles::Write(Settings(), settings));
        m_settings = std::make_unique<ProgramSettings>(Settings());
        Main::Options options = WindowSettings::FromSettings(*m_settings, Main::Options());
        options.home = home.isEmpty() ? Home() : home;
        if (!ProgramSettings::IsPlaceholderHost(options.upload.Host()))
            options.upload = HostAddress(QStringLiteral("127.0.0.1"), m_peer->serverPort());
        options.imageHost = QStringLiteral("img.example.test");
        m_window = std::make_unique<Main>(options);
        m_picker = new PickerDouble;
        m_window->SetPicker(m_picker);
        m_window->SetMessageDialog(&m_messages);
        m_window->Load();
        m_tie = new WindowSettings(*m_window, *m_settings, options);
        if (!m_tie->RestorePosition())
            m_window->move(123, 77);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_tie->ShowStartupNotices({"start-up trouble"});
    }

    QStringList Listed() const
    {
        QStringList names;
        const QAbstractItemModel *model = m_window->Files()->model();
        // Set-aside rows are shown without the folder's "_!": put back here.
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            const bool aside = index.data(FileListModel::SetAsideRole).toBool();
            names.append(index.data().toString() + (aside ? QStringLiteral("_!") : QString()));
        }
        return names;
    }

    // Words in Latin letters a member would read, outside the status texts
    // scripts rely on and names that are no words (hosts, paths, the program).
    static QStringList EnglishIn(QWidget *top)
    {
        static const QRegularExpression Word(QStringLiteral("(?<![\\w./:@\\[-])[A-Za-z]{2,}(?![\\w./:@\\]-])"));
        static const QStringList Kept
            = {"Picaroon", "Ready", "OK", "Failed", "Load", "data", "Kb", "Error", "crew", "IPv", "GPS", "JPEG"};
        QStringList found;
        const auto check = [&](QObject *where, const QString &text) {
            for (const QRegularExpressionMatch &match : Word.globalMatch(text)) {
                if (!Kept.contains(match.captured()))
                    found.append(QStringLiteral("%1: %2").arg(where->metaObject()->className(), text));
            }
        };
        const auto actions = [&](const QList<QAction *> &list) {
            for (QAction *action : list)
                check(action, action->text().section(QLatin1Char('\t'), 0, 0));
        };
        QList<QWidget *> widgets = top->findChildren<QWidget *>();
        widgets.prepend(top);
        for (QWidget *widget : widgets) {
            check(widget, widget->windowTitle() + QLatin1Char(' ') + widget->toolTip() + QLatin1Char(' ')
                              + widget->accessibleName() + QLatin1Char(' ') + widget->accessibleDescription());
            if (auto *label = qobject_cast<QLabel *>(widget))
                check(label, label->text());
            if (auto *button = qobject_cast<QAbstractButton *>(widget))
                check(button, button->text());
            if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
                check(edit, edit->placeholderText());
                std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
                actions(menu->actions());
            }
            if (auto *view = qobject_cast<QAbstractItemView *>(widget)) {
                for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                    check(view, view->model()->index(row, 0, view->rootIndex()).data(Qt::ToolTipRole).toString());
            }
            actions(widget->actions());
        }
        return found;
    }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<ProgramSettings> m_settings;
    std::unique_ptr<Main> m_window;
    WindowSettings *m_tie = nullptr;
    MessagesDouble m_messages;
    PickerDouble *m_picker = nullptr;
    ScriptedPeer *m_peer = nullptr;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
