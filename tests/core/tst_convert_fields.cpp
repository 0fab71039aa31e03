// Field rules of the log lines: splitting, the three number conversions, the
// number text form, and the streaming line reader.
#include "convert/linewriter.h"
#include "convert/numbertext.h"
#include "core/convert_support.h"
#include "log/logfields.h"
#include "log/logreader.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <random>

using namespace convert_support;

namespace {

QString str(const std::optional<std::string>& text) {
    return text ? QString::fromStdString(*text) : QStringLiteral("<none>");
}

QStringList linesRead(LogReader& reader) {
    QStringList out;
    std::string line;
    while (reader.readLine(line))
        out << QString::number(reader.lineNumber()) + QLatin1Char(':') +
                   QString::fromLatin1(line.data(), qsizetype(line.size()));
    return out;
}

// Every line the reader yields, with its number; read from the file and from
// its bytes in memory, which must give the same.
QStringList linesOf(const QByteArray& bytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LOG.CSV"));
    if (!writeBytes(path, bytes))
        return {QStringLiteral("<cannot write>")};
    LogReader reader;
    if (auto failure = reader.open(path))
        return {failure->message};
    const QStringList fromFile = linesRead(reader);
    LogReader memory;
    memory.open(LogFileBytes{bytes, reader.status()});
    const QStringList fromMemory = linesRead(memory);
    if (fromMemory != fromFile)
        return QStringList{QStringLiteral("<from memory>")} + fromMemory;
    return fromFile;
}

} // namespace

class TestConvertFields : public QObject {
    Q_OBJECT

  private slots:
    void coordinates_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("degrees");
        // The single-precision step shows in the last digits.
        QTest::newRow("48 12.3456") << "48123456"
                                    << "48.2057600021362";
        QTest::newRow("west") << "-8123456"
                              << "-8.20576000213623";
        QTest::newRow("12 34.5678") << "12345678"
                                    << "12.576130002737";
        QTest::newRow("whole") << "48000000"
                               << "48";
        QTest::newRow("51 30.0123") << "51300123"
                                    << "51.5002050101757";
        QTest::newRow("minutes >= 60") << "7654321"
                                       << "8.09053502480189";
        QTest::newRow("tiny: E notation") << "1"
                                          << "1.66666666245874E-6";
        QTest::newRow("600") << "600"
                             << "0.00100000004749745";
        QTest::newRow("zero") << "0"
                              << "0";
        QTest::newRow("00") << "00"
                            << "0";
        QTest::newRow("hex") << "$7BF480"
                             << "8.20586666961511";
        QTest::newRow("32-bit minimum") << "-2147483648"
                                        << "-2147.80608000358";
    }
    void coordinates() {
        QFETCH(QString, field);
        QFETCH(QString, degrees);
        QCOMPARE(str(CoordFieldToDegrees(field.toStdString())), degrees);
    }

    void integers_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text"); // "<none>": not a whole number
        QTest::newRow("leading zeros") << "0042"
                                       << "42";
        QTest::newRow("plus") << "+7"
                              << "7";
        QTest::newRow("minus") << "-7"
                               << "-7";
        QTest::newRow("minus zero") << "-0"
                                    << "0";
        QTest::newRow("$ hex") << "$1F"
                               << "31";
        QTest::newRow("x hex") << "x1f"
                               << "31";
        QTest::newRow("X hex") << "X1F"
                               << "31";
        QTest::newRow("0x hex") << "0x1F"
                                << "31";
        QTest::newRow("signed hex") << "-$10"
                                    << "-16";
        QTest::newRow("hex as 32-bit pattern") << "$FFFFFFFF"
                                               << "-1";
        QTest::newRow("hex too long") << "$100000000"
                                      << "<none>";
        QTest::newRow("0X is no prefix") << "0X1F"
                                         << "<none>";
        QTest::newRow("maximum") << "2147483647"
                                 << "2147483647";
        QTest::newRow("minimum") << "-2147483648"
                                 << "-2147483648";
        QTest::newRow("above range") << "2147483648"
                                     << "<none>";
        QTest::newRow("below range") << "-2147483649"
                                     << "<none>";
        QTest::newRow("huge") << "99999999999999999999999"
                              << "<none>";
        QTest::newRow("leading blank") << " 12"
                                       << "12";
        QTest::newRow("trailing blank") << "12 "
                                        << "<none>";
        QTest::newRow("empty") << ""
                               << "<none>";
        QTest::newRow("sign only") << "-"
                                   << "<none>";
        QTest::newRow("prefix only") << "$"
                                     << "<none>";
        QTest::newRow("decimal point") << "1.5"
                                       << "<none>";
        QTest::newRow("letters") << "4a"
                                 << "<none>";
        QTest::newRow("double sign") << "--1"
                                     << "<none>";
    }
    void integers() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QCOMPARE(str(IntFieldToText(field.toStdString())), text);
    }

    void tenths_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("1234") << "1234"
                              << "123.4";
        QTest::newRow("10") << "10"
                            << "1";
        QTest::newRow("-5") << "-5"
                            << "-0.5";
        QTest::newRow("0") << "0"
                           << "0";
        QTest::newRow("4312") << "4312"
                              << "431.2";
        QTest::newRow("hex") << "$10"
                             << "1.6";
        QTest::newRow("bad") << "43.1"
                             << "<none>";
    }
    void tenths() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QCOMPARE(str(TenthsFieldToText(field.toStdString())), text);
    }

    void numberTextForm_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("integral") << 431.0 << "431";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("15 digits rounded") << 2.0 / 3.0 << "0.666666666666667";
        QTest::newRow("trailing zeros dropped") << 123.4 << "123.4";
        QTest::newRow("0.0001 positional") << 0.0001 << "0.0001";
        QTest::newRow("rounds up to 0.0001") << 9.999999999999997e-5 << "0.0001";
        QTest::newRow("below 0.0001") << 0.00009 << "9E-5";
        QTest::newRow("negative small") << -1.5e-7 << "-1.5E-7";
        QTest::newRow("large positional") << 123456789012345.0 << "123456789012345";
        QTest::newRow("1e15") << 1e15 << "1E15";
        QTest::newRow("rounds to a power of ten") << 9.9999999999999999 << "10";
    }
    void numberTextForm() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(numberText(value)), text);
    }

    // The form must not change with the regional settings of the machine.
    void numberTextIgnoresLocale() {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const char* cLocale = std::setlocale(LC_ALL, "de_DE.UTF-8");
        QCOMPARE(QString::fromStdString(numberText(123.4)), QStringLiteral("123.4"));
        QCOMPARE(str(CoordFieldToDegrees("48123456")), QStringLiteral("48.2057600021362"));
        QCOMPARE(parseLogFloat("431.5"), std::optional<double>(431.5));
        QVERIFY(!parseLogFloat("431,5"));
        QLocale::setDefault(saved);
        std::setlocale(LC_ALL, "C");
        if (!cLocale)
            qInfo("de_DE.UTF-8 not installed: only Qt's default locale was German");
    }

    // Against the correctly rounded 15-digit form of random values.
    void numberTextMatchesReference() {
        std::mt19937_64 random(4711);
        std::uniform_real_distribution<double> mantissa(1.0, 10.0);
        std::uniform_int_distribution<int> exponent(-8, 14);
        for (int i = 0; i < 20000; ++i) {
            const double value = mantissa(random) * std::pow(10.0, exponent(random));
            char buf[64];
            const auto end =
                std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15).ptr;
            double reference = 0;
            std::from_chars(buf, end, reference);
            const std::string text = numberText(value);
            double back = 0;
            std::string parseable = text;
            std::from_chars(parseable.data(), parseable.data() + parseable.size(), back);
            if (back != reference || text.find(',') != std::string::npos)
                QFAIL(qPrintable(QStringLiteral("%1 written as %2, reference %3")
                                     .arg(value, 0, 'g', 17)
                                     .arg(QString::fromStdString(text))
                                     .arg(QString::fromLatin1(buf, end - buf))));
        }
    }

    // Canonical integers and tenths take shortcuts past the general number
    // text form: they must agree with it for fields of every form.
    void integerAndTenthsTextsMatchTheGeneralForm() {
        std::mt19937 random(815);
        const char* forms[] = {"%d", "%07d", "+%d", " %d", "$%X", "x%x", "0x%x"};
        for (int i = 0; i < 50000; ++i) {
            const qint32 value = qint32(random()) >> (random() % 32);
            const char* form = forms[random() % std::size(forms)];
            // Hex digits are the value's 32-bit pattern; '+' only before a
            // value that has no '-'.
            char field[24];
            if (std::strchr(form, 'x') || std::strchr(form, 'X'))
                std::snprintf(field, sizeof field, form, unsigned(value));
            else
                std::snprintf(field, sizeof field, value < 0 && form[0] == '+' ? "%d" : form,
                              value);
            const QString expected = QString::number(value);
            QCOMPARE(str(IntFieldToText(field)), expected);
            QCOMPARE(str(TenthsFieldToText(field)),
                     QString::fromStdString(numberText(double(value) / 10.0)));
        }
    }

    // A line joins the text only whole: one with a field that is no number
    // leaves nothing, and its failure names the first such field. Writes past
    // the room the text has make more, keeping what came before.
    void lineWriter() {
        OutputText out;
        out.append("head\r\n");
        {
            LineWriter line(out);
            line.text("a=").intField("0042").text(" b=").intField("4x").text(" c=").intField("y");
            const Status failure = line.end();
            QVERIFY(failure);
            QCOMPARE(failure->kind, FailureKind::NotANumber);
            QCOMPARE(failure->message, QStringLiteral("'4x' ist kein gültiger Integerwert"));
        }
        {
            LineWriter abandoned(out);
            abandoned.text("given up before its end");
        }
        const std::string big(300 * 1024, 'z');
        LineWriter line(out);
        QVERIFY(!line.text("x").text(big).tenthsField("-5").coordinateField("48123456").end());
        QCOMPARE(std::string(out.data(), out.size()),
                 "head\r\nx" + big + "-0.548.2057600021362\r\n");
    }

    void floats_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value"); // NaN: not a number
        const double none = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("integer") << "431" << 431.0;
        QTest::newRow("point") << "431.5" << 431.5;
        QTest::newRow("signed") << "-12.25" << -12.25;
        QTest::newRow("plus") << "+3" << 3.0;
        QTest::newRow("exponent") << "4.315E2" << 431.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("blanks around") << " 7 " << 7.0;
        QTest::newRow("comma") << "431,5" << none;
        QTest::newRow("empty") << "" << none;
        QTest::newRow("point only") << "." << none;
        QTest::newRow("bare exponent") << "1E" << none;
        QTest::newRow("inf") << "inf" << none;
        QTest::newRow("nan") << "nan" << none;
        QTest::newRow("hex") << "0x10" << none;
        QTest::newRow("overflow") << "1e999" << none;
    }
    void floats() {
        QFETCH(QString, field);
        QFETCH(double, value);
        const auto parsed = parseLogFloat(field.toStdString());
        if (std::isnan(value))
            QVERIFY2(!parsed, qPrintable(QString::number(parsed.value_or(0))));
        else
            QCOMPARE(parsed, std::optional<double>(value));
    }

    void dataLineTest() {
        const FirmwareVariant v407{407, 0};
        const FirmwareVariant v500{500, 0};
        const FirmwareVariant duo{500, 1};
        const std::string twelve(12, ';');
        const std::string sixteen(16, ';');
        QVERIFY(IsLogDataLine(twelve, v407));
        QVERIFY(!IsLogDataLine(twelve, v500));
        QVERIFY(IsLogDataLine(sixteen, v500));
        QVERIFY(IsLogDataLine(sixteen, duo));
        QVERIFY(!IsLogDataLine(sixteen, v407));
        QVERIFY(!IsLogDataLine("", v407));
        // Every ';' counts, also inside quotes; anything up to 407 reads 13 fields.
        QVERIFY(IsLogDataLine("\"a;b\"" + std::string(11, ';'), v407));
        QVERIFY(IsLogDataLine(twelve, FirmwareVariant{0, 0}));
        // 0xBB is ';' with the high bit set: no ';' (the count runs 8 bytes a step).
        std::string mixed;
        for (int i = 0; i < 12; ++i)
            mixed += std::string(i % 5, '\xbb') + "a;";
        QVERIFY(IsLogDataLine(mixed, v407));
        QVERIFY(!IsLogDataLine(mixed + "\xbb;", v407));
        QVERIFY(IsLogDataLine(sixteen, FirmwareVariant{408, 0}));
        // Twelve ';' anywhere in lines of every length (the count runs in
        // chunks, the last one overlapping), a thirteenth one too many.
        std::mt19937 random(12);
        for (size_t length = 12; length < 300; ++length) {
            std::string line(length, 'a');
            for (char& c : line)
                c = "a\xbb\0 \x7f"[random() % 5];
            for (int placed = 0; placed < 12;) {
                char& c = line[random() % length];
                placed += c != ';';
                c = ';';
            }
            QVERIFY2(IsLogDataLine(line, v407), qPrintable(QString::number(length)));
            if (length > 12) {
                line[line.find_first_not_of(';')] = ';';
                QVERIFY(!IsLogDataLine(line, v407));
            }
        }
    }

    void splitting_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArrayList>("fields");
        QTest::newRow("plain") << QByteArray("a;b;c") << QByteArrayList{"a", "b", "c"};
        QTest::newRow("empty between") << QByteArray("a;;c") << QByteArrayList{"a", "", "c"};
        QTest::newRow("leading ;") << QByteArray(";a") << QByteArrayList{"", "a"};
        QTest::newRow("last ; adds a field") << QByteArray("a;b;") << QByteArrayList{"a", "b", ""};
        QTest::newRow("; then blanks adds none")
            << QByteArray("a;b;  ") << QByteArrayList{"a", "b"};
        QTest::newRow("blanks around")
            << QByteArray("  a  ;\tb ; c") << QByteArrayList{"a", "b", "c"};
        QTest::newRow("blank splits a field")
            << QByteArray("4 .9;x") << QByteArrayList{"4", ".9", "x"};
        QTest::newRow("control char splits") << QByteArray("a\x01"
                                                           "b;c")
                                             << QByteArrayList{"a", "b", "c"};
        QTest::newRow("quoted ;") << QByteArray("\"a;b\";c") << QByteArrayList{"a;b", "c"};
        QTest::newRow("doubled quote")
            << QByteArray("\"say \"\"hi\"\"\";c") << QByteArrayList{"say \"hi\"", "c"};
        QTest::newRow("quoted blank") << QByteArray("\" a b \";c") << QByteArrayList{" a b ", "c"};
        QTest::newRow("text after quote")
            << QByteArray("\"ab\"cd;e") << QByteArrayList{"ab", "cd", "e"};
        QTest::newRow("unclosed quote") << QByteArray("\"ab;c") << QByteArrayList{"ab;c"};
        QTest::newRow("empty quoted") << QByteArray("\"\";x") << QByteArrayList{"", "x"};
        QTest::newRow("quote inside field") << QByteArray("a\"b;c") << QByteArrayList{"a\"b", "c"};
        QTest::newRow("NUL ends the text") << QByteArray("a;b\0c;d", 7) << QByteArrayList{"a", "b"};
        QTest::newRow("empty line") << QByteArray("") << QByteArrayList{};
        QTest::newRow("blanks only") << QByteArray("   ") << QByteArrayList{};
        QTest::newRow("Latin-1 bytes kept")
            << QByteArray("H\xf6he;x") << QByteArrayList{"H\xf6he", "x"};
    }
    void splitting() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArrayList, fields);
        QByteArrayList got;
        for (const auto& f : SplitLogLine(std::string_view(line.constData(), line.size())))
            got << QByteArray(f.data(), qsizetype(f.size()));
        QCOMPARE(got, fields);
    }

    // Plain lines (no quote, no byte of code 0 to 32) are split on a faster
    // path. They must split as the general rules split the same line made
    // general by a trailing blank (or, after a last ';', a quoted empty field),
    // which changes no field; also when splitting stops early.
    void plainLinesSplitAsTheGeneralRules() {
        std::mt19937 random(4242);
        const char alphabet[] = "a;1;-\xe4;;";
        for (int i = 0; i < 20000; ++i) {
            std::string plain(random() % 90, 'x');
            for (char& c : plain)
                c = alphabet[random() % (sizeof alphabet - 1)];
            std::string general = plain + (!plain.empty() && plain.back() == ';' ? "\"\"" : " ");
            const size_t maxFields = random() % 3 == 0 ? random() % 20 : size_t(-1);
            std::vector<std::string_view> fast, slow;
            SplitLogLine(plain, fast, maxFields);
            SplitLogLine(general, slow, maxFields);
            QVERIFY2(std::equal(fast.begin(), fast.end(), slow.begin(), slow.end()), plain.c_str());
        }
    }

    void readerLineEnds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{"1:a", "2:b"};
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"1:a", "2:b"};
        QTest::newRow("lone CR dropped") << QByteArray("a\rb\r\nc") << QStringList{"1:ab", "2:c"};
        QTest::newRow("no final LF") << QByteArray("a\nb") << QStringList{"1:a", "2:b"};
        QTest::newRow("empty lines") << QByteArray("\n\r\n") << QStringList{"1:", "2:"};
        QTest::newRow("Ctrl-Z ends") << QByteArray("a\nb\x1a"
                                                   "c\nd\n")
                                     << QStringList{"1:a", "2:b"};
        QTest::newRow("Ctrl-Z first") << QByteArray("\x1a"
                                                    "a\n")
                                      << QStringList{};
        QTest::newRow("Ctrl-Z after LF") << QByteArray("a\n\x1a") << QStringList{"1:a"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("NUL kept") << QByteArray("a\0b\n", 4)
                                  << QStringList{QString("1:a") + QChar(0) + "b"};
        // Past 64 KiB only the ';' after a NUL stay, enough to fail any Data line test.
        QTest::newRow("long line after NUL")
            << QByteArray("abcd\0", 5) + QByteArray("x;").repeated(40000) + "\nend\n"
            << QStringList{QString("1:abcd") + QChar(0) + QString(17, QLatin1Char(';')), "2:end"};
    }
    void readerLineEnds() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(linesOf(bytes), lines);
    }

    // Lines and CR LF pairs that straddle the reader's buffer boundary.
    void readerLongLines() {
        QByteArray bytes;
        QStringList expected;
        for (int i = 0; i < 40; ++i) {
            const QByteArray line(6000 + i * 7, char('a' + i % 26));
            bytes += line + "\r\n";
            expected << QString::number(i + 1) + QLatin1Char(':') + QString::fromLatin1(line);
        }
        bytes += QByteArray(70000, 'z') + "\r";
        expected << QStringLiteral("41:") + QString(70000, QLatin1Char('z'));
        QCOMPARE(linesOf(bytes), expected);
    }

    void readerMissingFile() {
        LogReader reader;
        const auto failure = reader.open(QStringLiteral("/nonexistent/LOG00001.CSV"));
        QVERIFY(failure);
        QCOMPARE(failure->message, QStringLiteral("Datei nicht gefunden"));
    }
};

QTEST_GUILESS_MAIN(TestConvertFields)
#include "tst_convert_fields.moc"
