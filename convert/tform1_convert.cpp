#include "app/tform1.h"

void TForm1::nachKML2D1Click() {}
void TForm1::nachKML3DmitGPSHhe1Click() {}
void TForm1::nachKML3D1Click() {}
void TForm1::nachGPX1Click() {}
void TForm1::frTrakmond1Click() {}
