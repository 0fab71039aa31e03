#include "log/logdate.h"

#include <ctime>

qint64 logDateInstant(const struct stat& status) {
    const time_t modified = status.st_mtime;
    tzset();
    struct tm local {};
    if (!localtime_r(&modified, &local))
        return modified;
    return qint64(modified) - local.tm_sec % 2;
}
