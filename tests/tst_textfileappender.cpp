#include "linktools/TextFileAppender.h"

#include "SmallFilesystem.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

using namespace TestFiles;

class TestTextFileAppender : public QObject
{
    Q_OBJECT

private slots:
    void failedRunLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<int>("pieceSize");
        QTest::addColumn<int>("pieces");
        QTest::addColumn<QString>("failsAt"); // on a full disk; "drop": dropped before Commit

        QTest::newRow("dropped before commit") << QByteArray("h/a.jpg\r\n") << 1000 << 100 << "drop";
        // The old file's last block has room for some of the bytes, so they
        // really reach the disk before it is full.
        QTest::newRow("full disk shows at the commit's flush") << QByteArray("h/a.jpg") << 100 << 100 << "commit";
        QTest::newRow("full disk shows while writing") << QByteArray("h/a.jpg\r\n") << 1000 << 300 << "write";
        QTest::newRow("full disk, one write past the buffer") << QByteArray("h/a.jpg\r\n") << 200000 << 1 << "write";
        QTest::newRow("full disk, file new") << Missing << 1000 << 10 << "commit";
    }

    void failedRunLeavesTheFileAsItWas()
    {
        QFETCH(QByteArray, old);
        QFETCH(int, pieceSize);
        QFETCH(int, pieces);
        QFETCH(QString, failsAt);

        QTemporaryDir plainFolder;
        SmallFilesystem disk;
        QString why;
        if (failsAt != "drop" && !disk.Mount(&why))
            QSKIP(qPrintable(why));
        const QString path = QDir(failsAt == "drop" ? plainFolder.path() : disk.Path()).filePath("url.txt");
        QVERIFY(old == Missing || Write(path, old));
        QVERIFY(failsAt == "drop" || disk.Fill());
        {
            TextFileAppender file(path);
            QString error;
            QVERIFY2(file.Open(&error), qPrintable(error));
            const QByteArray piece(pieceSize, 'x');
            int written = 0;
            while (written < pieces && file.Write(piece, &error))
                ++written;
            QCOMPARE(written < pieces, failsAt == "write");
            if (failsAt != "drop") {
                QVERIFY(failsAt == "write" || !file.Commit(&error));
                QCOMPARE(error,
                         "Cannot write " + QDir::toNativeSeparators(path) + ": "
                             + QString::fromLocal8Bit(std::strerror(ENOSPC)));
                // Once failed, it takes nothing more, even where there is room.
                QString again;
                QVERIFY(!file.Write("x", &again) && !file.Commit(&again));
                QCOMPARE(again, error);
            }
        }
        QCOMPARE(Read(path), old);
    }
};

QTEST_GUILESS_MAIN(TestTextFileAppender)
#include "tst_textfileappender.moc"
