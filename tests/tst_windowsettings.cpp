#include "ScriptedPeer.h"
#include "TestFiles.h"

#include "app/Main.h"
#include "app/MessageDialog.h"
#include "app/SettingsDialog.h"
#include "app/StatusLine.h"
#include "app/WindowSettings.h"
#include "controls/XpB.h"
#include "settings/ProgramSettings.h"
#include "text/Cp1251.h"

#include <QAction>
#include <QClipboard>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class MessagesDouble : public MessageDialog
{
public:
    void ShowError(QWidget *, const QString &message) override { errors.append(message); }
    void ShowNotice(QWidget *, const QString &message) override { notices.append(message); }
    QStringList errors;
    QStringList notices;
};

}

// What the window takes from the settings and gives back to them, and the
// ways to the dialog and the image folder.
class TestWindowSettings : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QCursor::setPos(4000, 4000);
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(TestFiles::Write(m_root->filePath("home/img/a.jpg")) && QDir(m_root->path()).mkpath("config"));
        m_messages = MessagesDouble();
        m_peer = new ScriptedPeer(this);
        QVERIFY(m_peer->Listen());
        m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        m_opened.clear();
        m_openerWorks = true;
    }

    void cleanup()
    {
        m_window.reset();
        m_settings.reset();
        delete m_peer;
    }

    void startUpTakesWhatWasKeptAndSaysWhatIsMissing_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("uploadHost");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QStringList>("said"); // the notices' beginnings, after the caller's own
        QTest::newRow("place and login kept, a host: nothing more to say")
            << QByteArray("[window]\nposition=@Point(30 40)\n[upload]\nlastLogin=Кот\n") << "127.0.0.1" << true << "Кот"
            << QStringList{};
        QTest::newRow("a place on no screen now is not taken, a stored value that does not check is said")
            << QByteArray("[window]\nposition=@Point(5000 5000)\n[links]\naccount=x\n") << "127.0.0.1" << false << ""
            << QStringList{"links/account in SETTINGS: номер"};
        QTest::newRow("nothing kept, no upload host yet: where to set it")
            << QByteArray() << "upload.example.invalid" << false << ""
            << QStringList{"Сервер загрузки не задан: укажите его в окне настроек (Ctrl+,), в файле SETTINGS"};
    }

    // Then closed elsewhere, it keeps the new place and the login.

    void startUpTakesWhatWasKeptAndSaysWhatIsMissing()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, uploadHost);
        QFETCH(bool, restored);
        QFETCH(QString, login);
        QFETCH(QStringList, said);
        Open(settings, uploadHost);
        const QPoint before = m_window->pos();
        QCOMPARE(m_tie->RestorePosition(), restored);
        QCOMPARE(m_window->pos(), restored ? QPoint(30, 40) : before);
        QCOMPARE(m_window->Text1()->text(), login);
        m_tie->ShowStartupNotices({"start-up trouble"});
        said.replaceInStrings("SETTINGS", Settings());
        said.insert(uploadHost.endsWith(".invalid") ? 1 : 0, "start-up trouble");
        QCOMPARE(m_messages.notices.size(), said.size());
        for (qsizetype i = 0; i < said.size(); ++i)
            QVERIFY2(m_messages.notices.at(i).startsWith(said.at(i)), qPrintable(m_messages.notices.at(i)));

        m_window->move(50, 60);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(m_window->close());
        const ProgramSettings saved(Settings());
        QCOMPARE(saved.WindowPosition(), std::optional<QPoint>(m_window->pos()));
        QCOMPARE(saved.LastLogin(), login);
        QVERIFY(m_messages.errors.isEmpty());
    }

    void dialogIsAtHandAndRunKeepsTheLoginNeverThePassword_data()
    {
        QTest::addColumn<bool>("shortcut");
        QTest::newRow("Ctrl+,") << true;
        QTest::newRow("the list's context menu") << false;
    }

    // What the dialog saves is used from the next picture on.

    void dialogIsAtHandAndRunKeepsTheLoginNeverThePassword()
    {
        QFETCH(bool, shortcut);
        Open({}, QStringLiteral("upload.example.invalid"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        if (shortcut) {
            QTest::keyClick(m_window.get(), Qt::Key_Comma, Qt::ControlModifier);
        } else {
            QCOMPARE(m_window->Files()->contextMenuPolicy(), Qt::ActionsContextMenu);
            QVERIFY(m_window->Files()->actions().contains(m_tie->SettingsAction()));
            m_tie->SettingsAction()->trigger();
        }
        SettingsDialog *dialog = m_window->findChild<SettingsDialog *>();
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        dialog->Field(SettingKey::UploadHost)->setText(QStringLiteral("127.0.0.1:%1").arg(m_peer->serverPort()));
        dialog->Field(SettingKey::ImageHost)->setText(QStringLiteral("pics.example.test"));
        dialog->Field(SettingKey::Account)->setText(QStringLiteral("173590"));
        dialog->SaveButton()->click();
        QVERIFY(!dialog->isVisible());

        const QString password = QStringLiteral("пароль");
        m_window->Text1()->setText(QStringLiteral("Кот"));
        m_window->Text2()->setText(password);
        emit m_window->Start()->Click();
        QTRY_COMPARE(m_window->st()->text(), QStringLiteral("Готово"));
        QCOMPARE(m_peer->requests.size(), 1);
        QCOMPARE(ProgramSettings(Settings()).LastLogin(), QStringLiteral("Кот"));
        const QByteArray file = TestFiles::Read(Settings());
        QVERIFY(!file.contains(password.toUtf8()));
        for (const QByteArray &bytes : {password.toUtf8(), Cp1251::FromUnicode(password)}) {
            const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
            QVERIFY(!file.contains(digest) && !file.contains(digest.toUpper()));
        }
        // The link tools now pick out the other member's pictures.
        const QByteArray address = "http://pics.example.test/userdir/1/7/3/5/173590/x.jpg";
        QGuiApplication::clipboard()->setText("class=\"other\"></a><span><a href='" + address + "' ");
        m_window->Command1()->click();
        QCOMPARE(TestFiles::Read(m_root->filePath("home/url.txt")), address + "\r\n");
    }

    void listShowsAndOpensTheImageFolder_data()
    {
        QTest::addColumn<bool>("onAPicture");
        QTest::addColumn<bool>("openerWorks");
        QTest::newRow("empty part: the folder opens") << false << true;
        QTest::newRow("a picture: nothing opens") << true << true;
        QTest::newRow("no file manager: said so") << false << false;
    }

    void listShowsAndOpensTheImageFolder()
    {
        QFETCH(bool, onAPicture);
        QFETCH(bool, openerWorks);
        Open();
        m_openerWorks = openerWorks;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        const QString folder = m_root->filePath("home/img");
        QCOMPARE(m_window->Files()->toolTip(), QDir::toNativeSeparators(folder));

        QWidget *viewport = m_window->Files()->viewport();
        const QRect picture = m_window->Files()->visualRect(m_window->Files()->model()->index(0, 0));
        const QPoint where = onAPicture ? picture.center() : QPoint(picture.center().x(), viewport->height() - 3);
        QVERIFY(onAPicture || !m_window->Files()->indexAt(where).isValid());
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, where);
        QCOMPARE(m_opened, onAPicture ? QList<QUrl>{} : QList<QUrl>{QUrl::fromLocalFile(folder)});
        QCOMPARE(m_messages.notices.size(), openerWorks ? 0 : 1);
        QVERIFY(openerWorks || m_messages.notices.first().contains(folder));
    }

private:
    QString Settings() const { return m_root->filePath(QStringLiteral("config/picaroon.conf")); }
    void Open(const QByteArray &settings = {}, const QString &uploadHost = QStringLiteral("127.0.0.1"))
    {
        QVERIFY(settings.isEmpty() || TestFiles::Write(Settings(), settings));
        m_settings = std::make_unique<ProgramSettings>(Settings());
        Main::Options options;
        options.home = m_root->filePath("home");
        options.upload = HostAddress(uploadHost, m_peer->serverPort());
        options.imageHost = QStringLiteral("img.example.test");
        m_window = std::make_unique<Main>(options);
        m_window->SetMessageDialog(&m_messages);
        m_window->Load();
        m_tie = new WindowSettings(*m_window, *m_settings, options);
        m_tie->SetFolderOpener([this](const QUrl &url) {
            m_opened.append(url);
            return m_openerWorks;
        });
    }


    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<ProgramSettings> m_settings;
    std::unique_ptr<Main> m_window;
    WindowSettings *m_tie = nullptr;
    MessagesDouble m_messages;
    ScriptedPeer *m_peer = nullptr;
    QList<QUrl> m_opened;
    bool m_openerWorks = true;
};

QTEST_MAIN(TestWindowSettings)
#include "tst_windowsettings.moc"
