#pragma once

#include <QtGlobal>
#include <array>

// The device's whole configuration: byte k carries setup k (k = 0..18),
// byte 19 is spare and only ever set from a file.
struct SetupImage {
    static constexpr int Size = 20;
    std::array<quint8, Size> bytes{};
    // Setup 13 is edited through these two values; byte 13 is built from them.
    qint32 valueMode = 0;        // 1 metres, 2 m/s, 0 after showing a byte 13 of 0
    qint32 announcementStep = 0; // 0 off, 1..3 every 2nd/5th/10th announcement

    quint8& operator[](int k) { return bytes[static_cast<size_t>(k)]; }
    quint8 operator[](int k) const { return bytes[static_cast<size_t>(k)]; }
};

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
