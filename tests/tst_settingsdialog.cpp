#include "app/SettingsDialog.h"

#include "settings/ProgramSettings.h"

#include "TestFiles.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The dialog as a member uses it: what is typed is checked at once, and
// only texts that check reach the file.
class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dialog.reset();
        m_folder = std::make_unique<QTemporaryDir>();
        m_path = m_folder->filePath("picaroon/picaroon.conf");
    }

    void typedTextIsCheckedAtOnce_data()
    {
        QTest::addColumn<SettingKey>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("said"); // empty: it checks

        QTest::newRow("upload host with port") << SettingKey::UploadHost << "up.example.org:8080" << QString();
        QTest::newRow("port out of range") << SettingKey::UploadHost << "up.example.org:70000"
                                           << "Сервер загрузки: порт — число от 1 до 65535, а не «70000»";
        QTest::newRow("account with letters") << SettingKey::Account << "41a"
                                              << "Номер учётной записи: номер учётной записи — целое число";
        QTest::newRow("timeout negative") << SettingKey::Timeout << "-1"
                                          << "Тайм-аут, секунд: тайм-аут — число секунд от 0 до 2000000";
    }

    void typedTextIsCheckedAtOnce()
    {
        QFETCH(SettingKey, key);
        QFETCH(QString, typed);
        QFETCH(QString, said);
        SettingsDialog &dialog = Open();
        dialog.Field(key)->setText(QStringLiteral("x"));
        dialog.Field(key)->clear();
        QTest::keyClicks(dialog.Field(key), typed);
        const QString shown = dialog.ProblemLabel()->text();
        QVERIFY2(said.isEmpty() ? shown.isEmpty() : shown.startsWith(said), qPrintable(shown));
        QCOMPARE(dialog.ProblemLabel()->isVisible(), !said.isEmpty());
        QCOMPARE(dialog.SaveButton()->isEnabled(), said.isEmpty());
    }

    // A stored text that does not check is shown with its fault; neither
    // Enter nor accept() gets past it, and the focus goes to it. Once mended,
    // what was typed is saved trimmed, and empty fields take keys out: the
    // build's values apply again.
    void onlyWhatChecksIsSaved()
    {
        const QByteArray stored = "[links]\naccount=0\n[upload]\nlastLogin=kept\n";
        SettingsDialog &dialog = Open(stored);
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
        QCOMPARE(TestFiles::Read(m_path), stored);

        dialog.Field(SettingKey::UploadHost)->setText(QStringLiteral(" [::1]:8080 "));
        dialog.Field(SettingKey::ImageHost)->setText(QStringLiteral("img.example.org"));
        dialog.Field(SettingKey::Account)->clear();
        dialog.SaveButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const ProgramSettings saved(m_path);
        QCOMPARE(saved.Stored(SettingKey::UploadHost), QStringLiteral("[::1]:8080"));
        QCOMPARE(saved.ImageHost(), QStringLiteral("img.example.org"));
        QCOMPARE(saved.Stored(SettingKey::Account), QString());
        QCOMPARE(saved.Timeout(), 0);
        QCOMPARE(saved.LastLogin(), QStringLiteral("kept"));
    }

    void failedSaveIsSaidAndTheDialogStays()
    {
        QVERIFY(TestFiles::Write(m_folder->filePath("picaroon"), "a file where the folder should be"));
        SettingsDialog &dialog = Open();
        dialog.Field(SettingKey::Timeout)->setText(QStringLiteral("30"));
        dialog.SaveButton()->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.ProblemLabel()->text().startsWith("Cannot read " + m_path));
    }

private:
    SettingsDialog &Open(const QByteArray &file = {})
    {
        if (!file.isEmpty() && !TestFiles::Write(m_path, file))
            qFatal("cannot write %s", qPrintable(m_path));
        m_settings = std::make_unique<ProgramSettings>(m_path);
        m_dialog = std::make_unique<SettingsDialog>(*m_settings);
        m_dialog->show();
        return *m_dialog;
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
    std::unique_ptr<ProgramSettings> m_settings;
    std::unique_ptr<SettingsDialog> m_dialog;
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
