#include "app/SettingsDialog.h"

#include "settings/ProgramSettings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}

// The dialog as a member uses it: what is typed is checked at once, and
// only texts that check reach the file.
class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_path = m_folder->filePath("picaroon/picaroon.conf");
    }

    void typedTextIsCheckedAtOnce_data()
    {
        QTest::addColumn<SettingKey>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("said"); // empty: it checks

        QTest::newRow("upload host with port") << SettingKey::UploadHost << "up.example.org:8080"
                                               << QString();
        QTest::newRow("port out of range") << SettingKey::UploadHost << "up.example.org:70000"
                                           << "Сервер загрузки: порт — число от 1 до 65535, а не «70000»";
        QTest::newRow("image host with a path") << SettingKey::ImageHost << "img.example.org/x"
                                                << "Сервер изображений: в имени хоста";
        QTest::newRow("account with letters") << SettingKey::Account << "41a"
                                              << "Номер учётной записи: номер учётной записи — целое число";
        QTest::newRow("timeout negative") << SettingKey::Timeout << "-1"
                                          << "Тайм-аут, секунд: тайм-аут — число секунд от 0 до 2000000";
        QTest::newRow("spaces around are no fault") << SettingKey::Timeout << " 30 " << QString();
        QTest::newRow("empty: the build's value") << SettingKey::Account << "" << QString();
    }

    void typedTextIsCheckedAtOnce()
    {
        QFETCH(SettingKey, key);
        QFETCH(QString, typed);
        QFETCH(QString, said);
        ProgramSettings settings(m_path);
        SettingsDialog dialog(settings);
        dialog.show();
        dialog.Field(key)->setText(QStringLiteral("x"));
        dialog.Field(key)->clear();
        QTest::keyClicks(dialog.Field(key), typed);
        QVERIFY2(said.isEmpty() ? dialog.ProblemLabel()->text().isEmpty()
                                : dialog.ProblemLabel()->text().startsWith(said),
                 qPrintable(dialog.ProblemLabel()->text()));
        QCOMPARE(dialog.ProblemLabel()->isVisible(), !said.isEmpty());
        QCOMPARE(dialog.SaveButton()->isEnabled(), said.isEmpty());
    }

    // Empty fields take keys out: the build's values apply again.
    void saveKeepsWhatWasTyped()
    {
        QVERIFY(QDir().mkpath(m_folder->filePath("picaroon")));
        QVERIFY(Write(m_path, "[links]\naccount=173590\n[upload]\nlastLogin=kept\n"));
        ProgramSettings settings(m_path);
        SettingsDialog dialog(settings);
        QCOMPARE(dialog.Field(SettingKey::Account)->text(), QStringLiteral("173590"));
        dialog.show();
        dialog.Field(SettingKey::UploadHost)->setText(QStringLiteral(" [::1]:8080 "));
        dialog.Field(SettingKey::ImageHost)->setText(QStringLiteral("img.example.org"));
        dialog.Field(SettingKey::Account)->clear();
        dialog.Field(SettingKey::Timeout)->setText(QStringLiteral("0"));
        dialog.SaveButton()->click();

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const ProgramSettings saved(m_path);
        QCOMPARE(saved.Stored(SettingKey::UploadHost), QStringLiteral("[::1]:8080"));
        QCOMPARE(saved.ImageHost(), QStringLiteral("img.example.org"));
        QCOMPARE(saved.Stored(SettingKey::Account), QString());
        QCOMPARE(saved.Timeout(), 0);
        QCOMPARE(saved.LastLogin(), QStringLiteral("kept"));
    }

    void wrongTextIsNeverSaved()
    {
        ProgramSettings settings(m_path);
        SettingsDialog dialog(settings);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.Field(SettingKey::Timeout)->setText(QStringLiteral("30"));
        dialog.Field(SettingKey::Account)->setText(QStringLiteral("0"));
        dialog.activateWindow();
        dialog.Field(SettingKey::Timeout)->setFocus();
        // Enter does not get past the check either.
        QTest::keyClick(dialog.Field(SettingKey::Timeout), Qt::Key_Return);
        dialog.accept();

        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QTRY_COMPARE(QApplication::focusWidget(), dialog.Field(SettingKey::Account));
        QVERIFY(dialog.ProblemLabel()->text().startsWith(QStringLiteral("Номер учётной записи:")));
        QVERIFY(!QFile::exists(m_path));
    }

    void storedTextThatDoesNotCheckIsShownWithItsFault()
    {
        QVERIFY(QDir().mkpath(m_folder->filePath("picaroon")));
        QVERIFY(Write(m_path, "[service]\nuploadHost=h:0\n"));
        ProgramSettings settings(m_path);
        SettingsDialog dialog(settings);
        QCOMPARE(dialog.Field(SettingKey::UploadHost)->text(), QStringLiteral("h:0"));
        QVERIFY(dialog.ProblemLabel()->text().startsWith(QStringLiteral("Сервер загрузки: порт")));
        QVERIFY(!dialog.SaveButton()->isEnabled());
    }

    void failedSaveIsSaidAndTheDialogStays()
    {
        QVERIFY(Write(m_folder->filePath("picaroon"), "a file where the folder should be"));
        ProgramSettings settings(m_path);
        SettingsDialog dialog(settings);
        dialog.show();
        dialog.Field(SettingKey::Timeout)->setText(QStringLiteral("30"));
        dialog.SaveButton()->click();

        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.ProblemLabel()->text(), settings.ReadProblem());
        QVERIFY(dialog.ProblemLabel()->text().startsWith("Cannot read " + m_path));
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
