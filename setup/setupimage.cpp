#include "setup/setupimage.h"

namespace {
constexpr std::array<quint8, 19> DefaultSetup = {1, 60, 20, 20, 1, 1, 47, 0, 1, 0,
                                                 0, 0,  0,  1,  2, 1, 3,  0, 0};
}

void LoadDefaultSetup(SetupImage& image) {
    for (size_t k = 0; k < DefaultSetup.size(); ++k)
        image.bytes[k] = DefaultSetup[k];
}

quint8 composeByte13(qint32 announcementStep, qint32 valueMode) {
    return static_cast<quint8>(static_cast<quint32>(2 * announcementStep + valueMode) & 0xFFu);
}

void storeByte13(SetupImage& image) {
    image[13] = composeByte13(image.announcementStep, image.valueMode);
}

Setup13State decodeByte13(quint8 byte13) {
    const qint32 b = byte13;
    const qint32 mode = b - 2 * ((b - 1) / 2);
    return {mode, (b - mode) / 2};
}
