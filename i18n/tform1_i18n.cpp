#include "app/tform1.h"

void TForm1::ApplyGermanCaptions() {}
void TForm1::ApplyEnglishCaptions() {}
void TForm1::deutsch1Click() {}
void TForm1::english1Click() {}
