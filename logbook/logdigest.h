#pragma once

#include <QByteArrayView>
#include <QString>

// The SHA-256 of a log's bytes in lowercase hex: the name of its copy and
// its identity in the logbook.
QString logDigest(QByteArrayView bytes);
