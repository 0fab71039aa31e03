// Fuzz target: AltorinTool.ini of any content. Reading never fails; writing
// seven values over it and reading again gives exactly those values; the
// integer rules read back every 32-bit number they may meet.
#include "fuzzsupport.h"

#include "core/settingsfile.h"

#include <cstring>

using namespace fuzz;

namespace {

qint32 int32At(const uint8_t* data, size_t size, size_t index, qint32 fallback) {
    if (size < 4 * (index + 1))
        return fallback;
    qint32 v;
    std::memcpy(&v, data + 4 * index, 4);
    return v;
}

bool same(const ToolSettings& a, const ToolSettings& b) {
    return a.top == b.top && a.left == b.left && a.width == b.width && a.height == b.height &&
           a.firmwareVersion == b.firmwareVersion && a.duo == b.duo && a.language == b.language;
}

void checkIntegerRules(qint32 v) {
    check(parseSettingsInteger(QByteArray::number(v)) == v, "decimal not read back");
    check(parseSettingsInteger(" " + QByteArray::number(v)) == v, "blank before a number");
    const qint64 magnitude = v < 0 ? -qint64(v) : qint64(v);
    const QByteArray sign = v < 0 ? "-" : "";
    check(parseSettingsInteger(sign + "$" + QByteArray::number(magnitude, 16)) == v,
          "$ hex not read back");
    if (v >= 0)
        check(parseSettingsInteger("0x" + QByteArray::number(v, 16).toUpper()) == v,
              "0x hex not read back");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setSettingsFolder(QString::fromStdString(scratchFolder()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = scratchFolder() + '/' + SettingsFileName;
    writeBytes(path, data, size);
    const QByteArray ini(reinterpret_cast<const char*>(data), qsizetype(size));
    parseSettingsInteger(ini);

    const ToolSettings defaults;
    readToolSettings(defaults);

    ToolSettings wanted;
    wanted.top = int32At(data, size, 0, -5);
    wanted.left = int32At(data, size, 1, 0x7fffffff);
    wanted.width = int32At(data, size, 2, -0x7fffffff - 1);
    wanted.height = int32At(data, size, 3, 12);
    wanted.firmwareVersion = 500;
    wanted.duo = 1;
    wanted.language = 1;
    checkIntegerRules(wanted.top);
    checkIntegerRules(wanted.left);
    checkIntegerRules(wanted.width);

    check(!writeToolSettings(wanted), "cannot write over any content");
    check(same(readToolSettings(defaults), wanted), "written settings not read back",
          readBytes(path));
    check(folderEntries() == std::vector<std::string>{SettingsFileName}, "write left a file");
    return 0;
}
