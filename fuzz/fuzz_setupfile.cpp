// Fuzz target: loading SETUPUPL.HEX of any content. The image takes the file's
// bytes only for a valid length and keeps everything else; saving it again
// writes exactly its twenty bytes.
#include "fuzzsupport.h"

#include "setup/setupfile.h"

#include <algorithm>

using namespace fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = scratchFolder() + '/' + SetupFileName;
    writeBytes(path, data, size);

    SetupImage image;
    for (int k = 0; k < SetupImage::Size; ++k)
        image[k] = quint8(0xA0 + k);
    const SetupImage before = image;

    const auto loaded = loadSetupFile(image, QString::fromStdString(path));
    check(loaded.ok(), "a plain file failed to load");
    const int count = *loaded;
    check(count == int(std::min<size_t>(size, MaxSetupFileRead)), "wrong byte count");
    for (int k = 0; k < SetupImage::Size; ++k) {
        const bool taken = isValidSetupLength(count) && k < count;
        check(image[k] == (taken ? data[k] : before[k]), "image byte wrong", std::to_string(k));
    }

    check(!saveSetupFile(image, QString::fromStdString(scratchFolder())), "save failed");
    const std::string saved = readBytes(path);
    check(saved ==
              std::string_view(reinterpret_cast<const char*>(image.bytes.data()), SetupImage::Size),
          "saved bytes differ from the image");
    check(folderEntries() == std::vector<std::string>{SetupFileName}, "save left a file");
    return 0;
}
