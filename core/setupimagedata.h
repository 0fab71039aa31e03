#pragma once

#include <QtGlobal>
#include <array>

// The device's whole configuration: byte k carries setup k (k = 0..18),
// byte 19 is spare and only ever set from a file. The program state holds
// it; what the bytes mean is the setup editor's (setup/setupimage.h).
struct SetupImage {
    static constexpr int Size = 20;
    std::array<quint8, Size> bytes{};
    // Setup 13 is edited through these two values; byte 13 is built from them.
    qint32 valueMode = 0;        // 1 metres, 2 m/s, 0 after showing a byte 13 of 0
    qint32 announcementStep = 0; // 0 off, 1..3 every 2nd/5th/10th announcement

    quint8& operator[](int k) { return bytes[static_cast<size_t>(k)]; }
    quint8 operator[](int k) const { return bytes[static_cast<size_t>(k)]; }
};
