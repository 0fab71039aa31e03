#include "i18n/captiontables.h"

#include <QSet>
#include <QTest>

namespace {

QStringList namesOf(std::span<const CaptionEntry> table) {
    QStringList names;
    for (const CaptionEntry& entry : table)
        names << QString::fromLatin1(entry.name);
    return names;
}

QString textOf(std::span<const CaptionEntry> table, const char* name) {
    for (const CaptionEntry& entry : table)
        if (qstrcmp(entry.name, name) == 0)
            return QString::fromUtf8(entry.text);
    return QStringLiteral("<missing>");
}

} // namespace

class TestI18nTables : public QObject {
    Q_OBJECT

  private slots:
    void bothTablesListTheSame99NamesOnce() {
        const QStringList german = namesOf(germanCaptions());
        const QStringList english = namesOf(englishCaptions());
        QCOMPARE(german.size(), 99);
        QCOMPARE(english.size(), 99);
        QCOMPARE(QSet<QString>(german.begin(), german.end()).size(), 99);
        QCOMPARE(QSet<QString>(german.begin(), german.end()),
                 QSet<QString>(english.begin(), english.end()));
    }

    void captionsOutsideTheTablesStayOut() {
        const QStringList names = namesOf(germanCaptions());
        for (const char* name :
             {"Label5", "Sekunden", "RadioButton17", "RadioButton18", "RadioButton19", "Datei1",
              "abV408x1", "Duo_ab50x", "nachKML3DmitGPSHhe1", "Memo1", "UpDown1"})
            QVERIFY2(!names.contains(QString::fromLatin1(name)), name);
    }

    // English translates setups 0, 1, 2, 4, 6, 7 and the setup 8 caption only.
    void englishDiffersInExactlyTheTranslatedEntries() {
        const QSet<QString> translated = {
            "GroupBox1",     "Label1",       "Label3",        "GroupBox2",     "Label2",
            "Label4",        "GroupBox4",    "Label8",        "GroupBox5",     "Label28",
            "RadioButton1",  "RadioButton2", "RadioButton30", "RadioButton31", "RadioButton32",
            "RadioButton33", "GroupBox7",    "Label10",       "Label11",       "GroupBox8",
            "Label12",       "GroupBox9"};
        QSet<QString> differing;
        for (const CaptionEntry& entry : germanCaptions()) {
            if (textOf(englishCaptions(), entry.name) != QString::fromUtf8(entry.text))
                differing << QString::fromLatin1(entry.name);
        }
        QCOMPARE(differing, translated);
    }

    // German shows the design-time captions until "deutsch" is chosen; the
    // German table differs from them in eleven entries. Controls outside the
    // tables keep their design-time caption in English too.
    void designCaptionsBesideTheTables() {
        QSet<QString> differing;
        for (const CaptionEntry& entry : germanCaptions()) {
            QVERIFY2(!designCaption(entry.name).isEmpty(), entry.name);
            if (designCaption(entry.name) != QString::fromUtf8(entry.text))
                differing << QString::fromLatin1(entry.name);
        }
        QCOMPARE(differing,
                 (QSet<QString>{"GroupBox1", "Label1", "GroupBox2", "GroupBox11", "Label14",
                                "RadioButton20", "RadioButton28", "FirmwareVersiondesAltorin1",
                                "bisV407x1", "nachKML3D1", "nachGMX1"}));
        QCOMPARE(captionIn(CaptionLanguage::German, "Label1"), QStringLiteral("Sendekanal"));
        QCOMPARE(captionIn(CaptionLanguage::English, "Label1"), QStringLiteral("Channel"));
        QCOMPARE(captionIn(CaptionLanguage::English, "GroupBox11"),
                 QStringLiteral("Setup 10  Pitot-Speed-Sensor Auswahl"));
        for (const char* name : {"Label5", "Sekunden", "RadioButton17", "Datei1", "Duo_ab50x"})
            QVERIFY2(!captionIn(CaptionLanguage::English, name).isEmpty() &&
                         captionIn(CaptionLanguage::English, name) == designCaption(name),
                     name);
        QCOMPARE(designCaption("Memo1"), QString());
    }

    void textsAreExact() {
        QCOMPARE(textOf(englishCaptions(), "GroupBox9"),
                 QStringLiteral(" Setup 8  Vario tone mode"));
        QCOMPARE(textOf(englishCaptions(), "Label13"), QStringLiteral("m/s"));
        QCOMPARE(textOf(englishCaptions(), "GroupBox11"),
                 QStringLiteral("Setup 10  Pitot-Speed-Sensor Auswahl"));
        QCOMPARE(textOf(germanCaptions(), "bisV407x1"),
                 QStringLiteral("Pellimar        ab V. 00x"));
        QCOMPARE(textOf(germanCaptions(), "Label15"), QStringLiteral("Alarmschwelle "));
        QCOMPARE(textOf(germanCaptions(), "Label28"),
                 QString::fromUtf8("zusätzlich automatische Ansage  ab :"));
        QCOMPARE(textOf(englishCaptions(), "GroupBox7"),
                 QStringLiteral("Setup 6  Reciever battery alarm"));
        // Every text is clean UTF-8 (umlauts, degree sign).
        for (auto table : {germanCaptions(), englishCaptions()})
            for (const CaptionEntry& entry : table) {
                const QString text = QString::fromUtf8(entry.text);
                QVERIFY2(!text.contains(QChar::ReplacementCharacter), entry.name);
                QCOMPARE(text.toUtf8(), QByteArray(entry.text));
            }
    }
};

QTEST_MAIN(TestI18nTables)
#include "tst_i18n_tables.moc"
