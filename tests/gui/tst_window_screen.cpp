#include "app/tform1.h"
#include "common/fakedialogs.h"
#include "common/testfiles.h"
#include "core/programstate.h"
#include "core/settingsfile.h"

#include <QGroupBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// Runs on a laptop screen of 1366x768 and on a netbook's of 1024x600 (the
// offscreen platform's screen files in data/screens), both lower than the
// window's design height of 784.
class TestWindowScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDialogs> fake;
    std::unique_ptr<TForm1> form;

    static QByteArray geometryText(int top, int left, int width, int height) {
        return QStringLiteral("[Top]\nTop=%1\n[Left]\nLeft=%2\n[Width]\nWidth=%3\n[Height]\n"
                              "Height=%4\n")
            .arg(top)
            .arg(left)
            .arg(width)
            .arg(height)
            .toLatin1();
    }
    void start(const QByteArray& settings = {}) {
        if (!settings.isEmpty())
            QVERIFY(writeBytes(settingsFilePath(), settings));
        form = std::make_unique<TForm1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

  private slots:
    void initTestCase() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen == QRect(0, 0, 1366, 768) || screen == QRect(0, 0, 1024, 600));
    }
    void init() {
        resetProgramState();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        setSettingsFolder(dir->path());
        fake = std::make_unique<FakeDialogs>();
    }
    void cleanup() {
        form.reset();
        fake.reset();
        setSettingsFolder(QString());
        dir.reset();
    }

    // The design place on a screen lower than the window: the frame fits the
    // height (and the width, moved left, on the netbook), and every setup can
    // be reached, scrolling where the window is lower than the setups, with
    // every control where the form puts it.
    void firstStartFitsTheScreen() {
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        const bool netbook = screen == QSize(1024, 600);
        start();
        QCOMPARE(form->pos(), QPoint(netbook ? 1024 - form->frameGeometry().width() : 239, 0));
        auto* scroll = qobject_cast<QScrollArea*>(form->centralWidget());
        QVERIFY(scroll);
        // On the netbook the window grows by the scroll bar, so the setups
        // scroll up and down only, never sideways.
        const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
        QCOMPARE(form->width(), netbook ? 857 + bar : 865);
        QCOMPARE(form->frameGeometry().bottom(), screen.height() - 1);
        QTRY_COMPARE(scroll->verticalScrollBar()->isVisible(), netbook);
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QCOMPARE(form->GroupBox21->geometry(), QRect(433, 676, 419, 46));
        scroll->ensureWidgetVisible(form->GroupBox21);
        QCOMPARE(scroll->verticalScrollBar()->value() > 0, netbook);
        const QRect last(form->GroupBox21->mapTo(form.get(), QPoint()), form->GroupBox21->size());
        QVERIFY(form->rect().contains(last));
    }

    // "Programm beenden" stores the place and size the window has.
    void quitSavesTheFittedPlace() {
        start();
        const int left = form->x();
        const int height = form->height();
        QVERIFY(height < 768);
        form->Proframmbeenden1->trigger();
        const QByteArray file = readBytes(settingsFilePath());
        QVERIFY2(file.startsWith(geometryText(0, left, form->width(), height)), file.constData());
    }

    // The stored place and size, and where the window's frame must stand:
    // the frame as stored where it fits, else moved in whole, or as large as
    // the screen.
    void storedPlaces_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QRect>("frame");
        // The window system's frame around the window.
        const QMargins m = frameMargins();
        const auto framed = [&](int left, int top, int width, int height) {
            return QRect(left, top, width + m.left() + m.right(), height + m.top() + m.bottom());
        };
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        QTest::newRow("fits: as stored")
            << geometryText(12, 34, 700, 500) << framed(34, 12, 700, 500);
        const QRect fromLarger = framed(1200, 400, 865, 500);
        QTest::newRow("from a larger screen: moved in")
            << geometryText(400, 1200, 865, 500)
            << fromLarger.translated(screen.width() - fromLarger.right() - 1,
                                     screen.height() - fromLarger.bottom() - 1);
        QTest::newRow("negative left: moved in")
            << geometryText(160, -20, 865, 400) << framed(0, 160, 865, 400);
        QTest::newRow("larger than the screen")
            << geometryText(-10, -10, 1600, 1000) << QRect(QPoint(0, 0), screen);
    }
    void storedPlaces() {
        QFETCH(QByteArray, settings);
        QFETCH(QRect, frame);
        start(settings);
        QCOMPARE(form->frameGeometry(), frame);
        QCOMPARE(readBytes(settingsFilePath()), settings); // reading never writes
    }

  private:
    static QMargins frameMargins() {
        QWidget probe;
        probe.show();
        return QMargins(probe.geometry().left() - probe.frameGeometry().left(),
                        probe.geometry().top() - probe.frameGeometry().top(),
                        probe.frameGeometry().right() - probe.geometry().right(),
                        probe.frameGeometry().bottom() - probe.geometry().bottom());
    }
};

QTEST_MAIN(TestWindowScreen)
#include "tst_window_screen.moc"
