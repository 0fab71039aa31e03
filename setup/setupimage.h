#pragma once

#include "core/setupimagedata.h"

// Writes the default setup (the table in setupmodel.cpp) into bytes 0..18;
// byte 19 and the setup-13 state stay.
void LoadDefaultSetup(SetupImage& image);

// Byte 13 = 2 x announcement step + value mode, kept to 8 bits.
quint8 composeByte13(qint32 announcementStep, qint32 valueMode);
void storeByte13(SetupImage& image);

struct Setup13State {
    qint32 valueMode;
    qint32 announcementStep;
};
// The inverse used when an image is shown (division rounds towards zero).
Setup13State decodeByte13(quint8 byte13);
