// Fuzz target: the log reader and the field rules on arbitrary log bytes.
// The lines must be what the reading rules say (LF ends a line, CR dropped,
// Ctrl-Z ends the file), from the file and from its bytes in memory alike;
// splitting in place must agree with splitting a copy; numbers written must
// read back as the value to 15 digits.
#include "fuzzsupport.h"

#include "convert/numbertext.h"
#include "log/logfields.h"
#include "log/logreader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace fuzz;

namespace {

// Lines up to this length are kept whole by the reader.
constexpr size_t LongLine = 64 * 1024;

std::vector<std::string> expectedLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string line;
    size_t raw = 0; // bytes since the last LF, CRs included
    for (const char c : bytes) {
        if (c == 26)
            break;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            raw = 0;
            continue;
        }
        ++raw;
        if (c != '\r')
            line += c;
    }
    if (raw > 0)
        lines.push_back(line);
    return lines;
}

void checkNumberText(double value) {
    if (!std::isfinite(value))
        return;
    const std::string text = numberText(value);
    check(!text.empty() && text.find(',') == std::string::npos, "bad number text", text);
    char reference[64];
    std::snprintf(reference, sizeof reference, "%.14e", value);
    const double expected = std::strtod(reference, nullptr);
    const double written = std::strtod(text.c_str(), nullptr);
    check(written == expected, "number text is not the value to 15 digits",
          text + " for " + reference);
}

void checkFields(const std::string& line) {
    for (const int version : {407, 500}) {
        const size_t semicolons = size_t(std::count(line.begin(), line.end(), ';'));
        check(IsLogDataLine(line, FirmwareVariant{version, 0}) ==
                  (semicolons == (version == 407 ? 12u : 16u)),
              "Data line test disagrees with the ';' count");
    }
    const std::vector<std::string> copies = SplitLogLine(line);
    std::string inPlace = line;
    std::vector<std::string_view> fields;
    SplitLogLine(inPlace, fields);
    check(fields.size() == copies.size(), "in-place split differs in count");
    for (size_t i = 0; i < fields.size(); ++i)
        check(fields[i] == copies[i], "in-place split differs", copies[i]);
    std::vector<std::string_view> firstFields;
    std::string again = line;
    SplitLogLine(again, firstFields, 3);
    check(firstFields.size() == std::min<size_t>(3, copies.size()), "split limit not kept");
    for (size_t i = 0; i < firstFields.size(); ++i)
        check(firstFields[i] == copies[i], "limited split differs", copies[i]);

    for (const auto& field : copies) {
        if (const auto v = parseLogInteger(field)) {
            const auto text = IntFieldToText(field);
            check(text && *text == std::to_string(*v), "integer text differs", field);
            check(TenthsFieldToText(field).has_value(), "tenths missing", field);
            checkNumberText(double(*v) / 10.0);
        } else {
            check(!IntFieldToText(field) && !TenthsFieldToText(field) &&
                      !CoordFieldToDegrees(field),
                  "a non-integer converted", field);
        }
        if (const auto degrees = CoordFieldToDegrees(field))
            check(!degrees->empty(), "empty degrees", field);
        if (const auto f = parseLogFloat(field))
            checkNumberText(*f);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = scratchFolder() + "/LOG00001.CSV";
    writeBytes(path, data, size);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto expected = expectedLines(bytes);

    LogReader reader;
    check(!reader.open(QString::fromStdString(path)), "cannot open the log");
    // The same bytes read from memory, line for line.
    LogReader memory;
    memory.open(LogFileBytes{QByteArrayView(bytes.data(), qsizetype(size)), reader.status()});
    std::string fromMemory;
    std::string line;
    size_t count = 0;
    while (reader.readLine(line)) {
        check(memory.readLine(fromMemory) && fromMemory == line &&
                  memory.lineNumber() == reader.lineNumber(),
              "bytes in memory read otherwise than their file", line);
        check(count < expected.size(), "more lines than the rules give");
        check(reader.lineNumber() == qint64(count + 1), "line number out of step");
        if (expected[count].size() <= LongLine)
            check(line == expected[count], "line differs", expected[count]);
        else
            check(line.size() <= expected[count].size(), "long line grew");
        checkFields(line);
        ++count;
    }
    check(!reader.failure(), "read failure on a plain file");
    check(count == expected.size(), "fewer lines than the rules give");
    check(!reader.readLine(line) && line.empty(), "a line after the end");
    check(!memory.readLine(fromMemory), "a line from memory after the file's end");
    return 0;
}
