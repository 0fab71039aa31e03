#include "common/testfiles.h"
#include "setup/setupfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {
QByteArray imageBytes(const SetupImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.bytes.data()), SetupImage::Size);
}

SetupImage imageFrom(int first) {
    SetupImage image;
    for (int k = 0; k < SetupImage::Size; ++k)
        image[k] = static_cast<quint8>(first + k);
    return image;
}

QString failureText(const Status& f) {
    return f ? f->message : QString();
}
} // namespace

class TestSetupFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

  private slots:
    void everyByteValueRoundTrips() {
        // 13 images of 20 bytes cover 0..255, with 10, 13 and 26 among them.
        for (int first = 0; first < 256; first += SetupImage::Size) {
            const SetupImage saved = imageFrom(first);
            QCOMPARE(saveSetupFile(saved, dir.path()), std::nullopt);
            const QString path = setupFilePath(dir.path());
            const QByteArray onDisk = readBytes(path);
            QCOMPARE(onDisk, imageBytes(saved));

            SetupImage loaded;
            auto n = loadSetupFile(loaded, path);
            QCOMPARE(*n, 20);
            QCOMPARE(loaded.bytes, saved.bytes);

            QCOMPARE(saveSetupFile(loaded, dir.path()), std::nullopt);
            QCOMPARE(readBytes(path), onDisk);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"SETUPUPL.HEX"});
    }

    void lengths_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("valid");
        for (int size : {0, 1, 15, 16, 17, 19, 20, 21, 22, 4096})
            QTest::addRow("%d bytes", size) << size << (size >= 16 && size <= 20);
    }
    void lengths() {
        QFETCH(int, size);
        QFETCH(bool, valid);
        const QString path = dir.filePath(QStringLiteral("len.hex"));
        QByteArray content(size, '\0');
        for (int k = 0; k < size; ++k)
            content[k] = char(200 + k % 50);
        QVERIFY(writeBytes(path, content));

        SetupImage image = imageFrom(0);
        const SetupImage before = image;
        auto n = loadSetupFile(image, path);
        QCOMPARE(*n, std::min(size, MaxSetupFileRead));
        for (int k = 0; k < SetupImage::Size; ++k) {
            const bool fromFile = valid && k < size;
            QCOMPARE(image[k], fromFile ? quint8(content[k]) : before[k]);
        }
    }

    void readFailuresLeaveImage_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << dir.filePath(QStringLiteral("none.hex"))
                                 << QStringLiteral("Datei nicht gefunden");
        QTest::newRow("missing folder") << dir.filePath(QStringLiteral("no/SETUPUPL.HEX"))
                                        << QStringLiteral("Datei nicht gefunden");
        QTest::newRow("folder") << dir.path() << QStringLiteral("Dateizugriff verweigert");
        // Reading offset 0 of the own address space fails with EIO.
        QTest::newRow("read error")
            << QStringLiteral("/proc/self/mem") << QStringLiteral("E/A-Fehler 5");
    }
    void readFailuresLeaveImage() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        SetupImage image = imageFrom(40);
        const SetupImage before = image;
        auto result = loadSetupFile(image, path);
        QVERIFY(!result.ok());
        QCOMPARE(result.failure().message, message);
        QCOMPARE(image.bytes, before.bytes);
    }

    void saveFailures() {
        const SetupImage image = imageFrom(0);
        QCOMPARE(failureText(saveSetupFile(image, dir.filePath(QStringLiteral("no/such")))),
                 QStringLiteral("Datei nicht gefunden"));

        // A name taken by a folder cannot be replaced.
        QTemporaryDir other;
        QVERIFY(QDir(other.path()).mkdir(QLatin1String(SetupFileName)));
        QCOMPARE(failureText(saveSetupFile(image, other.path())),
                 QStringLiteral("Dateizugriff verweigert"));

        // Root may write into any chmod-ed folder, but not into sysfs.
        QTemporaryDir denied;
        QString folder = QStringLiteral("/sys");
        if (geteuid() != 0) {
            QVERIFY(QFile::setPermissions(denied.path(), QFile::ReadOwner | QFile::ExeOwner));
            folder = denied.path();
        }
        QCOMPARE(failureText(saveSetupFile(image, folder)),
                 QStringLiteral("Dateizugriff verweigert"));
        QFile::setPermissions(denied.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        // A write-protected setup file stays, as it would without the
        // temporary file; root may replace it.
        if (geteuid() == 0)
            return;
        QTemporaryDir protectedFile;
        const QString path = setupFilePath(protectedFile.path());
        QVERIFY(writeBytes(path, QByteArray(20, '\x01')));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        QCOMPARE(failureText(saveSetupFile(image, protectedFile.path())),
                 QStringLiteral("Dateizugriff verweigert"));
        QCOMPARE(readBytes(path), QByteArray(20, '\x01'));
    }

    void failedWriteKeepsOldFile() {
        QTemporaryDir folder;
        const QString path = setupFilePath(folder.path());
        const QByteArray old(20, '\x07');
        QVERIFY(writeBytes(path, old));

        // A file size limit of 10 bytes makes the write stop half-way.
        Status failure;
        {
            const FileSizeLimit limit(10);
            QVERIFY(limit.active());
            failure = saveSetupFile(imageFrom(100), folder.path());
        }

        QCOMPARE(failureText(failure), QStringLiteral("E/A-Fehler %1").arg(EFBIG));
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"SETUPUPL.HEX"});
    }
};

QTEST_GUILESS_MAIN(TestSetupFile)
#include "tst_setup_file.moc"
