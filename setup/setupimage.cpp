#include "setup/setupimage.h"
#include "setup/setupmodel.h"

void LoadDefaultSetup(SetupImage& image) {
    for (const SetupDefinition& setup : setupDefinitions())
        image[setup.number] = setup.defaultByte;
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
