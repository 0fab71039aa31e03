// Inputs the fuzz targets in fuzz/ found faults with, cut down to the bytes
// that matter. The sanitizer build of the suite runs them too, so a finding
// that showed only as a sanitizer report is caught there again.
#include "core/convert_support.h"

#include "convert/conversion.h"
#include "log/logfields.h"

#include <QTemporaryDir>
#include <QTest>

using namespace convert_support;

class TestFuzzRegressions : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeLog(const QByteArray& bytes) {
        const QString path = m_dir.filePath(QStringLiteral("LOG00001.CSV"));
        if (!writeBytes(path, bytes))
            qFatal("cannot write the test log");
        return path;
    }

  private slots:
    // A ';' that ends the text adds an empty last field: it must count against
    // the field limit, and point into the line (a null view reached memcpy).
    void emptyLastFieldKeepsLimitAndPointsIntoLine() {
        std::string line = ";;;";
        std::vector<std::string_view> fields;
        SplitLogLine(line, fields, 3);
        QCOMPARE(fields.size(), size_t(3));

        SplitLogLine(line, fields);
        QCOMPARE(fields.size(), size_t(4));
        QVERIFY(fields.back().empty());
        QVERIFY(fields.back().data() != nullptr);

        // A NUL ends the text as the line's end does.
        std::string withNul("1;2;\0;;", 7);
        SplitLogLine(withNul, fields);
        QCOMPARE(fields.size(), size_t(3));
        QVERIFY(fields.back().data() != nullptr);
    }

    // The plotter file copies items with memcpy; an empty last item (cut by a
    // NUL) used to be a null pointer there.
    void plotterRecordWithEmptyLastItem() {
        const QString log = writeLog(QByteArray("10_;;;0;;;;;;;\0;;", 18));
        const auto result = ConvertToTrakmond(log, FirmwareVariant{407, 1});
        QVERIFY2(result.ok(), qPrintable(result.status() ? result.failure().message : QString()));
        QVERIFY(sameBytes(readBytes(result->outputPath),
                          "2;126;71;49;0;0;0;10;\r\n0;0;0;\r\n0;0;;;;0;0;0;;;;0;0;;;0;\r\n",
                          "plotter file"));
    }
};

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzz_regressions.moc"
