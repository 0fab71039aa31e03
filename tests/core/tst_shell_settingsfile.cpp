#include "common/testfiles.h"
#include "core/initext.h"
#include "core/settingsfile.h"
#include "core/windowplace.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class TestSettingsFile : public QObject {
    Q_OBJECT

    QTemporaryDir* dir = nullptr;

    void writeFile(const QByteArray& content) {
        QFile file(settingsFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    // Byte-exact comparison that names the first differing line.
    static void compareLines(const QByteArray& actual, const QByteArray& expected) {
        const QList<QByteArray> a = actual.split('\n'), e = expected.split('\n');
        for (qsizetype i = 0; i < qMax(a.size(), e.size()); ++i) {
            const QByteArray got = i < a.size() ? a[i] : "<none>";
            const QByteArray want = i < e.size() ? e[i] : "<none>";
            if (got != want)
                QFAIL(qPrintable(QStringLiteral("line %1: got \"%2\", expected \"%3\"")
                                     .arg(i + 1)
                                     .arg(QString::fromLatin1(got.toPercentEncoding(" =[];")))
                                     .arg(QString::fromLatin1(want.toPercentEncoding(" =[];")))));
        }
    }
    QByteArray fileContent() {
        QFile file(settingsFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

  private slots:
    void init() {
        dir = new QTemporaryDir;
        QVERIFY(dir->isValid());
        setSettingsFolder(dir->path());
    }
    void cleanup() {
        setSettingsFolder(QString());
        delete dir;
    }

    void integerRules_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("decimal") << QByteArray("500") << true << 500;
        QTest::newRow("0x upper") << QByteArray("0x1F4") << true << 500;
        QTest::newRow("0X mixed") << QByteArray("0X1f4") << true << 500;
        QTest::newRow("dollar") << QByteArray("$1F4") << true << 500;
        QTest::newRow("single x") << QByteArray("x1F4") << true << 500;
        QTest::newRow("single X") << QByteArray("X1f4") << true << 500;
        QTest::newRow("signed hex") << QByteArray("-$10") << true << -16;
        QTest::newRow("leading blanks") << QByteArray("  42") << true << 42;
        QTest::newRow("leading tab") << QByteArray("\t42") << false << 0;
        QTest::newRow("plus") << QByteArray("+7") << true << 7;
        QTest::newRow("negative") << QByteArray("-20") << true << -20;
        QTest::newRow("max") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("min") << QByteArray("-2147483648") << true << int(-2147483648LL);
        QTest::newRow("hex max") << QByteArray("0x7FFFFFFF") << true << 2147483647;
        QTest::newRow("empty") << QByteArray("") << false << 0;
        QTest::newRow("letters") << QByteArray("abc") << false << 0;
        QTest::newRow("trailing garbage") << QByteArray("12abc") << false << 0;
        QTest::newRow("trailing blank") << QByteArray("12 ") << false << 0;
        QTest::newRow("bare 0x") << QByteArray("0x") << false << 0;
        QTest::newRow("0x no digits") << QByteArray("0xG") << false << 0;
        QTest::newRow("0x signed rest") << QByteArray("0x-5") << false << 0;
        QTest::newRow("double x") << QByteArray("xx1") << false << 0;
        QTest::newRow("blank after sign") << QByteArray("- 5") << false << 0;
        QTest::newRow("too big") << QByteArray("2147483648") << false << 0;
        QTest::newRow("too small") << QByteArray("-2147483649") << false << 0;
        QTest::newRow("hex too big") << QByteArray("0x80000000") << false << 0;
    }
    void integerRules() {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto parsed = parseSettingsInteger(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void lookupFindsOnlyTheOwnSection() {
        const QByteArray ini = "[Settings]\nTop=1\n[top]\r\n  TOP =  12 \r\n[Left]\nTop=3\n"
                               "[Top]\nTop=99\n[Width]\nWidth=\n[Height]\nHeight=\"5\"\n";
        QCOMPARE(iniValue(ini, "Top", "Top"), std::optional<QByteArray>("12"));
        QCOMPARE(iniValue(ini, "Width", "Width"), std::optional<QByteArray>(""));
        QCOMPARE(iniValue(ini, "Height", "Height"), std::optional<QByteArray>("5"));
        QVERIFY(!iniValue(ini, "Left", "Left"));
        QVERIFY(!iniValue(ini, "english", "english"));
    }

    void noFileGivesDefaults() {
        ToolSettings defaults;
        defaults.top = -3;
        defaults.firmwareVersion = 500;
        const ToolSettings read = readToolSettings(defaults);
        QCOMPARE(read.top, -3);
        QCOMPARE(read.firmwareVersion, 500);
        QCOMPARE(read.language, 0);
        QCOMPARE(storedFirmwareVariant().version, 407);
        QCOMPARE(storedFirmwareVariant().duo, 0);
    }

    void readsEveryValueAndKeepsDefaultsForBadOnes() {
        writeFile("[Top]\nTop=abc\n[Left]\nLeft=-20\n[Width]\nWidth=\n[AR_Version]\n"
                  "AR_Version=0X1f4\n[OptionInt]\nOptionInt=2\n[english]\nenglish=x1\n");
        const ToolSettings read = readToolSettings(ToolSettings{});
        QCOMPARE(read.top, 160);    // garbage
        QCOMPARE(read.left, -20);   // no range test
        QCOMPARE(read.width, 865);  // empty
        QCOMPARE(read.height, 784); // missing section
        QCOMPARE(read.firmwareVersion, 500);
        QCOMPARE(read.duo, 2);
        QCOMPARE(read.language, 1);
        QCOMPARE(storedFirmwareVariant().version, 500);
        QCOMPARE(storedFirmwareVariant().duoText(), QString()); // only flag 1 names the Duo
    }

    void oneCommonSectionIsNotRead() {
        writeFile("[AltorinTool]\nTop=1\nLeft=2\nWidth=3\nHeight=4\nAR_Version=500\n"
                  "OptionInt=1\nenglish=1\n");
        const ToolSettings read = readToolSettings(ToolSettings{});
        QCOMPARE(read.top, 160);
        QCOMPARE(read.left, 239);
        QCOMPARE(read.firmwareVersion, 407);
        QCOMPARE(read.duo, 0);
        QCOMPARE(read.language, 0);
    }

    void newFileHoldsTheSectionsInOrder() {
        const ToolSettings settings{160, 239, 865, 784, 500, 1, 1};
        QVERIFY(!writeToolSettings(settings));
        compareLines(fileContent(),
                     QByteArray("[Top]\nTop=160\n[Left]\nLeft=239\n[Width]\nWidth=865\n"
                                "[Height]\nHeight=784\n[AR_Version]\nAR_Version=500\n"
                                "[OptionInt]\nOptionInt=1\n[english]\nenglish=1\n"));
        const ToolSettings back = readToolSettings(ToolSettings{});
        QCOMPARE(back.firmwareVersion, 500);
        QCOMPARE(back.duo, 1);
        QCOMPARE(back.language, 1);
    }

    void writeKeepsEveryOtherLine() {
        writeFile("; kept comment\r\n[Other]\r\nTop=7\r\n\r\n[Top]\r\nfoo=bar\r\nTop=1\r\n"
                  "after=1\r\n\r\n[Left]\r\nx=1\r\n\r\n[english]\r\nenglish=0x1");
        ToolSettings settings;
        settings.top = -5;
        settings.left = 12;
        settings.language = -1;
        QVERIFY(!writeToolSettings(settings));
        compareLines(
            fileContent(),
            QByteArray("; kept comment\r\n[Other]\r\nTop=7\r\n\r\n[Top]\r\nfoo=bar\r\nTop=-5\r\n"
                       "after=1\r\n\r\n[Left]\r\nx=1\r\nLeft=12\r\n\r\n[english]\r\n"
                       "english=-1\r\n[Width]\r\nWidth=865\r\n[Height]\r\nHeight=784\r\n"
                       "[AR_Version]\r\nAR_Version=407\r\n[OptionInt]\r\nOptionInt=0\r\n"));
    }

    void entryAddedAfterAnUnterminatedLastLine() {
        QCOMPARE(iniWithValue("[Left]\r\nx=1", "Left", "Left", "3"),
                 QByteArray("[Left]\r\nx=1\r\nLeft=3\r\n"));
        QCOMPARE(iniWithValue("[Left]\n\n", "Top", "Top", "3"),
                 QByteArray("[Left]\n\n[Top]\nTop=3\n"));
    }

    void unwritableFolderFailsAndKeepsTheFile() {
        // A regular file where the folder should be: even root cannot write there.
        QFile blocker(dir->filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        setSettingsFolder(dir->filePath("blocker"));
        auto failure = writeToolSettings(ToolSettings{});
        QVERIFY(failure);
        QCOMPARE(failure->message,
                 QStringLiteral("In AltorinTool.ini kann nicht geschrieben werden."));

        // A settings "file" that cannot be read is not replaced either.
        setSettingsFolder(dir->path());
        QVERIFY(QDir(dir->path()).mkdir("AltorinTool.ini"));
        failure = writeToolSettings(ToolSettings{});
        QVERIFY(failure);
        QCOMPARE(failure->message,
                 QStringLiteral("In AltorinTool.ini kann nicht geschrieben werden."));
        QVERIFY(QFileInfo(settingsFilePath()).isDir());
    }

    void readOnlyFolderKeepsTheOldFile() {
        if (geteuid() == 0)
            QSKIP("file permissions do not bind root");
        writeFile("[Top]\nTop=1\n");
        QVERIFY(QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        const auto failure = writeToolSettings(ToolSettings{});
        QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(failure);
        QCOMPARE(failure->message,
                 QStringLiteral("In AltorinTool.ini kann nicht geschrieben werden."));
        QCOMPARE(fileContent(), QByteArray("[Top]\nTop=1\n"));
    }

    void failedWriteKeepsTheOldFile() {
        writeFile("[Top]\nTop=1\n");
        // A file size limit makes the write stop part-way.
        Status failure;
        {
            const FileSizeLimit limit(20);
            QVERIFY(limit.active());
            failure = writeToolSettings(ToolSettings{});
        }

        QVERIFY(failure);
        QCOMPARE(failure->message,
                 QStringLiteral("In AltorinTool.ini kann nicht geschrieben werden."));
        QCOMPARE(fileContent(), QByteArray("[Top]\nTop=1\n"));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"AltorinTool.ini"});
    }

    void createsTheFolder() {
        setSettingsFolder(dir->filePath("a/b"));
        QVERIFY(!writeToolSettings(ToolSettings{}));
        QVERIFY(QFile::exists(dir->filePath("a/b/AltorinTool.ini")));
    }

    // The window's stored place and size against the screen's available area
    // (1366x740 below a 28 px panel): what fits stays exactly, what sticks
    // out moves in whole, what is larger shrinks to the area.
    void placeInsideTheArea_data() {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("placed");
        const QRect design(239, 160, 865, 784);
        QTest::newRow("fits") << QRect(239, 60, 865, 600) << QRect(239, 60, 865, 600);
        QTest::newRow("fits exactly") << QRect(0, 28, 1366, 740) << QRect(0, 28, 1366, 740);
        QTest::newRow("left of the screen") << QRect(-20, 160, 865, 500) << QRect(0, 160, 865, 500);
        QTest::newRow("above the panel") << QRect(100, 0, 865, 500) << QRect(100, 28, 865, 500);
        QTest::newRow("past the right edge")
            << QRect(900, 100, 865, 500) << QRect(501, 100, 865, 500);
        QTest::newRow("below the bottom") << QRect(10, 700, 865, 500) << QRect(10, 268, 865, 500);
        QTest::newRow("wholly off the screen")
            << QRect(-5000, 3000, 865, 500) << QRect(0, 268, 865, 500);
        QTest::newRow("design size, taller than the screen") << design << QRect(239, 28, 865, 740);
        QTest::newRow("larger both ways") << QRect(-50, -50, 2000, 1000) << QRect(0, 28, 1366, 740);
    }
    void placeInsideTheArea() {
        QFETCH(QRect, window);
        QFETCH(QRect, placed);
        QCOMPARE(placeInside(window, QRect(0, 28, 1366, 740)), placed);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_shell_settingsfile.moc"
