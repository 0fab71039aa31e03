#include "app/tform1.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    buildWindow();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::buildWindow() {}
