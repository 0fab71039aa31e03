#pragma once

#include "core/result.h"

#include <QMainWindow>
#include <QPointer>
#include <optional>

struct ConversionFormat;
class ConversionCommand;
class FlightView;
class LanguageSwitch;
class LogbookWindow;
class FlightViewOpener;
class QAction;
class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class SetupEditor;
class TUpDown;

// The one main window. Controls, menu items and dialogs carry the names of the
// original form (also as object names); handlers are named after their control.
// The window builds its controls and runs the shell commands; every other
// handler is one line that hands the click to its subsystem: the setup editor
// (setup/ui/), the conversion command (convert/ui/), the language switch
// (i18n/ui/) and the flight view (flight/).
class TForm1 : public QMainWindow {
    Q_OBJECT

  public:
    // Builds the window of design-time state, then runs FormCreate.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // --- controls (app/tform1.cpp builds them) ---
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QGroupBox* GroupBox7 = nullptr;
    QGroupBox* GroupBox8 = nullptr;
    QGroupBox* GroupBox9 = nullptr;
    QGroupBox* GroupBox10 = nullptr;
    QGroupBox* GroupBox11 = nullptr;
    QGroupBox* GroupBox12 = nullptr;
    QGroupBox* GroupBox13 = nullptr;
    QGroupBox* GroupBox14 = nullptr;
    QGroupBox* GroupBox15 = nullptr;
    QGroupBox* GroupBox16 = nullptr;
    QGroupBox* GroupBox19 = nullptr;
    QGroupBox* GroupBox20 = nullptr;
    QGroupBox* GroupBox21 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label24 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* Label28 = nullptr;
    QLabel* Sekunden = nullptr;
    QLineEdit* Memo1 = nullptr;
    QLineEdit* Memo2 = nullptr;
    QLineEdit* Memo3 = nullptr;
    QLineEdit* Memo4 = nullptr;
    QLineEdit* Memo5 = nullptr;
    QLineEdit* Memo6 = nullptr;
    QLineEdit* Memo7 = nullptr;
    QLineEdit* Memo8 = nullptr;
    QLineEdit* Memo9 = nullptr;
    QLineEdit* Memo10 = nullptr;
    QLineEdit* Memo13 = nullptr;
    QLineEdit* Memo14 = nullptr;
    QLineEdit* Memo15 = nullptr;
    TUpDown* UpDown1 = nullptr;
    TUpDown* UpDown2 = nullptr;
    TUpDown* UpDown3 = nullptr;
    TUpDown* UpDown4 = nullptr;
    TUpDown* UpDown5 = nullptr;
    TUpDown* UpDown6 = nullptr;
    TUpDown* UpDown7 = nullptr;
    TUpDown* UpDown8 = nullptr;
    TUpDown* UpDown9 = nullptr;
    TUpDown* UpDown10 = nullptr;
    TUpDown* UpDown11 = nullptr;
    TUpDown* UpDown12 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QRadioButton* RadioButton7 = nullptr;
    QRadioButton* RadioButton8 = nullptr;
    QRadioButton* RadioButton9 = nullptr;
    QRadioButton* RadioButton10 = nullptr;
    QRadioButton* RadioButton11 = nullptr;
    QRadioButton* RadioButton12 = nullptr;
    QRadioButton* RadioButton13 = nullptr;
    QRadioButton* RadioButton14 = nullptr;
    QRadioButton* RadioButton15 = nullptr;
    QRadioButton* RadioButton16 = nullptr;
    QRadioButton* RadioButton17 = nullptr;
    QRadioButton* RadioButton18 = nullptr;
    QRadioButton* RadioButton19 = nullptr;
    QRadioButton* RadioButton20 = nullptr;
    QRadioButton* RadioButton21 = nullptr;
    QRadioButton* RadioButton22 = nullptr;
    QRadioButton* RadioButton23 = nullptr;
    QRadioButton* RadioButton24 = nullptr;
    QRadioButton* RadioButton25 = nullptr;
    QRadioButton* RadioButton26 = nullptr;
    QRadioButton* RadioButton27 = nullptr;
    QRadioButton* RadioButton28 = nullptr;
    QRadioButton* RadioButton29 = nullptr;
    QRadioButton* RadioButton30 = nullptr;
    QRadioButton* RadioButton31 = nullptr;
    QRadioButton* RadioButton32 = nullptr;
    QRadioButton* RadioButton33 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox6 = nullptr;

    // --- menu MainMenu1 and dialogs ---
    QMenu* Datei1 = nullptr;
    QMenu* Einstellungen1 = nullptr;
    QMenu* FirmwareVersiondesAltorin1 = nullptr;
    QMenu* SpracheLanguage1 = nullptr;
    QMenu* DatenKonvertierung1 = nullptr;
    QMenu* Hilfe1 = nullptr;
    QAction* Setupladen1 = nullptr;
    QAction* Setupspeichern1 = nullptr;
    QAction* Proframmbeenden1 = nullptr;
    QAction* SetupGrundeinstellung1 = nullptr;
    QAction* bisV407x1 = nullptr;
    QAction* abV408x1 = nullptr;
    QAction* Duo_ab50x = nullptr;
    QAction* deutsch1 = nullptr;
    QAction* english1 = nullptr;
    QAction* nachKML2D1 = nullptr;
    QAction* nachKML3DmitGPSHhe1 = nullptr;
    QAction* nachKML3D1 = nullptr;
    QAction* nachGMX1 = nullptr;
    QAction* frTrakmond1 = nullptr;
    QAction* Flugansehen1 = nullptr;
    QAction* Flugbuch1 = nullptr;
    QAction* Info1 = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    QFileDialog* OpenDialog2 = nullptr;
    QFileDialog* SaveDialog2 = nullptr;

    // --- shell (app/tform1_shell.cpp) ---
    void FormCreate();
    void LoadToolSettings();
    Status SaveToolSettings();
    // The top-level error handler: shows the failure, the program goes on.
    void showFailure(const Failure& failure);

    // --- setup editor ---
    void ShowSetupImage();
    void ShowAnnouncementStep(qint32 step);

    // --- conversions ---
    // Converts the log with the firmware variant selected now and reports the
    // output or the failure over messageParent (nullptr: this window), as the
    // conversion menu commands do.
    void ConvertAndReport(const ConversionFormat& format, const QString& logPath,
                          QWidget* messageParent = nullptr);

    // --- flight view (app/tform1_flight.cpp) ---
    // Reads the logs with the firmware variant selected now and shows those
    // with samples in a flight view window of their own; reports each log that
    // cannot be shown. nullptr when none could.
    FlightView* OpenFlightView(const QStringList& logPaths);
    // The program's arguments, the program first: the logs after it are shown.
    void OpenLogsOfCommandLine(const QStringList& arguments);

    // --- captions ---
    void ApplyGermanCaptions();
    void ApplyEnglishCaptions();

  public slots:
    // shell
    void Proframmbeenden1Click();
    void Info1Click();
    void bisV407x1Click();
    void abV408x1Click();
    void Duo_ab50xClick();
    // setup editor
    void UpDown1Click();
    void UpDown2Click();
    void UpDown3Click();
    void UpDown4Click();
    void UpDown5Click();
    void UpDown6Click();
    void UpDown7Click();
    void UpDown8Click();
    void UpDown9Click();
    void UpDown10Click();
    void UpDown11Click();
    void UpDown12Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton7Click();
    void RadioButton8Click();
    void RadioButton9Click();
    void RadioButton10Click();
    void RadioButton11Click();
    void RadioButton12Click();
    void RadioButton13Click();
    void RadioButton14Click();
    void RadioButton15Click();
    void RadioButton16Click();
    void RadioButton17Click();
    void RadioButton18Click();
    void RadioButton19Click();
    void RadioButton20Click();
    void RadioButton21Click();
    void RadioButton22Click();
    void RadioButton23Click();
    void RadioButton24Click();
    void RadioButton25Click();
    void RadioButton26Click();
    void RadioButton27Click();
    void RadioButton28Click();
    void RadioButton29Click();
    void RadioButton30Click();
    void RadioButton31Click();
    void RadioButton32Click();
    void RadioButton33Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void CheckBox6Click();
    void Setupladen1Click();
    void Setupspeichern1Click();
    void SetupGrundeinstellung1Click();
    // captions
    void deutsch1Click();
    void english1Click();
    // conversions
    void nachKML2D1Click();
    void nachKML3DmitGPSHhe1Click();
    void nachKML3D1Click();
    void nachGPX1Click();
    void frTrakmond1Click();
    // flight view
    void Flugansehen1Click();
    // logbook (app/tform1_logbook.cpp)
    void Flugbuch1Click();

  protected:
    // The window system's frame is known once the window is shown: it must
    // fit the screen as well.
    void showEvent(QShowEvent* event) override;
    // Fits the window into its screen; see the definition.
    void fitToScreen();
    // Log files dropped on the window open in the flight view.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildWindow(); // app/tform1.cpp

    // --- shell helpers (app/tform1_shell.cpp) ---
    bool beginFirmwareCommand(qint32 version, qint32 duo);
    void showLateFirmwareSetups();
    // The firmware menu item of the variant whose log layout is in force.
    const QAction* firmwareMenuItem() const;

    // The subsystems the handlers hand their clicks to (children of the window).
    SetupEditor* m_setupEditor = nullptr;
    ConversionCommand* m_conversion = nullptr;
    LanguageSwitch* m_language = nullptr;

    // --- flight view helpers (app/tform1_flight.cpp) ---
    FlightViewOpener* flightViews();
    FlightViewOpener* m_flightViews = nullptr;

    // The one logbook window while it is open.
    QPointer<LogbookWindow> m_logbookWindow;
};
