#include "app/tform1.h"
#include "app/ui/tupdown.h"
#include "convert/conversions.h"
#include "convert/ui/conversioncommand.h"
#include "core/programstate.h"
#include "i18n/ui/languageswitch.h"
#include "setup/ui/setupeditor.h"

#include <QCheckBox>
#include <QRadioButton>

// Each handler hands its click to the subsystem that owns the control.

void TForm1::ShowSetupImage() {
    m_setupEditor->showSetupImage();
}
void TForm1::ShowAnnouncementStep(qint32 step) {
    m_setupEditor->showAnnouncementStep(step);
}

void TForm1::UpDown1Click() {
    m_setupEditor->spinnerClicked(UpDown1);
}
void TForm1::UpDown2Click() {
    m_setupEditor->spinnerClicked(UpDown2);
}
void TForm1::UpDown3Click() {
    m_setupEditor->spinnerClicked(UpDown3);
}
void TForm1::UpDown4Click() {
    m_setupEditor->spinnerClicked(UpDown4);
}
void TForm1::UpDown5Click() {
    m_setupEditor->spinnerClicked(UpDown5);
}
void TForm1::UpDown6Click() {
    m_setupEditor->spinnerClicked(UpDown6);
}
void TForm1::UpDown7Click() {
    m_setupEditor->spinnerClicked(UpDown7);
}
void TForm1::UpDown8Click() {
    m_setupEditor->spinnerClicked(UpDown8);
}
void TForm1::UpDown9Click() {
    m_setupEditor->spinnerClicked(UpDown9);
}
void TForm1::UpDown10Click() {
    m_setupEditor->spinnerClicked(UpDown10);
}
void TForm1::UpDown11Click() {
    m_setupEditor->spinnerClicked(UpDown11);
}
void TForm1::UpDown12Click() {
    m_setupEditor->spinnerClicked(UpDown12);
}
void TForm1::RadioButton1Click() {
    m_setupEditor->optionClicked(RadioButton1);
}
void TForm1::RadioButton2Click() {
    m_setupEditor->optionClicked(RadioButton2);
}
void TForm1::RadioButton3Click() {
    m_setupEditor->optionClicked(RadioButton3);
}
void TForm1::RadioButton4Click() {
    m_setupEditor->optionClicked(RadioButton4);
}
void TForm1::RadioButton5Click() {
    m_setupEditor->optionClicked(RadioButton5);
}
void TForm1::RadioButton6Click() {
    m_setupEditor->optionClicked(RadioButton6);
}
void TForm1::RadioButton7Click() {
    m_setupEditor->optionClicked(RadioButton7);
}
void TForm1::RadioButton8Click() {
    m_setupEditor->optionClicked(RadioButton8);
}
void TForm1::RadioButton9Click() {
    m_setupEditor->optionClicked(RadioButton9);
}
void TForm1::RadioButton10Click() {
    m_setupEditor->optionClicked(RadioButton10);
}
void TForm1::RadioButton11Click() {
    m_setupEditor->optionClicked(RadioButton11);
}
void TForm1::RadioButton12Click() {
    m_setupEditor->optionClicked(RadioButton12);
}
void TForm1::RadioButton13Click() {
    m_setupEditor->optionClicked(RadioButton13);
}
void TForm1::RadioButton14Click() {
    m_setupEditor->optionClicked(RadioButton14);
}
void TForm1::RadioButton15Click() {
    m_setupEditor->optionClicked(RadioButton15);
}
void TForm1::RadioButton16Click() {
    m_setupEditor->optionClicked(RadioButton16);
}
void TForm1::RadioButton17Click() {
    m_setupEditor->optionClicked(RadioButton17);
}
void TForm1::RadioButton18Click() {
    m_setupEditor->optionClicked(RadioButton18);
}
void TForm1::RadioButton19Click() {
    m_setupEditor->optionClicked(RadioButton19);
}
void TForm1::RadioButton20Click() {
    m_setupEditor->optionClicked(RadioButton20);
}
void TForm1::RadioButton21Click() {
    m_setupEditor->optionClicked(RadioButton21);
}
void TForm1::RadioButton22Click() {
    m_setupEditor->optionClicked(RadioButton22);
}
void TForm1::RadioButton23Click() {
    m_setupEditor->optionClicked(RadioButton23);
}
void TForm1::RadioButton24Click() {
    m_setupEditor->optionClicked(RadioButton24);
}
void TForm1::RadioButton25Click() {
    m_setupEditor->optionClicked(RadioButton25);
}
void TForm1::RadioButton26Click() {
    m_setupEditor->optionClicked(RadioButton26);
}
void TForm1::RadioButton27Click() {
    m_setupEditor->optionClicked(RadioButton27);
}
void TForm1::RadioButton28Click() {
    m_setupEditor->optionClicked(RadioButton28);
}
void TForm1::RadioButton29Click() {
    m_setupEditor->optionClicked(RadioButton29);
}
void TForm1::RadioButton30Click() {
    m_setupEditor->optionClicked(RadioButton30);
}
void TForm1::RadioButton31Click() {
    m_setupEditor->optionClicked(RadioButton31);
}
void TForm1::RadioButton32Click() {
    m_setupEditor->optionClicked(RadioButton32);
}
void TForm1::RadioButton33Click() {
    m_setupEditor->optionClicked(RadioButton33);
}
void TForm1::CheckBox1Click() {
    m_setupEditor->boxClicked(CheckBox1);
}
void TForm1::CheckBox2Click() {
    m_setupEditor->boxClicked(CheckBox2);
}
void TForm1::CheckBox3Click() {
    m_setupEditor->boxClicked(CheckBox3);
}
void TForm1::CheckBox4Click() {
    m_setupEditor->boxClicked(CheckBox4);
}
void TForm1::CheckBox5Click() {
    m_setupEditor->boxClicked(CheckBox5);
}
void TForm1::CheckBox6Click() {
    m_setupEditor->boxClicked(CheckBox6);
}
void TForm1::Setupladen1Click() {
    m_setupEditor->loadSetup(OpenDialog2);
}
void TForm1::Setupspeichern1Click() {
    m_setupEditor->saveSetup(SaveDialog2);
}
void TForm1::SetupGrundeinstellung1Click() {
    m_setupEditor->loadDefaultSetup();
}

void TForm1::ApplyGermanCaptions() {
    m_language->applyGermanCaptions();
}
void TForm1::ApplyEnglishCaptions() {
    m_language->applyEnglishCaptions();
}
void TForm1::deutsch1Click() {
    m_language->choose(0);
}
void TForm1::english1Click() {
    m_language->choose(1);
}

void TForm1::ConvertAndReport(const ConversionFormat& format, const QString& logPath,
                              QWidget* messageParent) {
    m_conversion->run(format, logPath, messageParent ? messageParent : this);
}
void TForm1::nachKML2D1Click() {
    m_conversion->runMenuItem(nachKML2D1, OpenDialog1);
}
void TForm1::nachKML3DmitGPSHhe1Click() {
    m_conversion->runMenuItem(nachKML3DmitGPSHhe1, OpenDialog1);
}
void TForm1::nachKML3D1Click() {
    m_conversion->runMenuItem(nachKML3D1, OpenDialog1);
}
void TForm1::nachGPX1Click() {
    m_conversion->runMenuItem(nachGMX1, OpenDialog1);
}
void TForm1::frTrakmond1Click() {
    m_conversion->runMenuItem(frTrakmond1, OpenDialog1);
}
