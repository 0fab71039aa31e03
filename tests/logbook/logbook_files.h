#pragma once

// The logbook folder as the upgrade tests look at it from outside: the
// committed logbooks of older versions copied to work on, and the rows of
// the database as SQLite itself gives them.
#include "logbook_support.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>

namespace logbook_support {

// Copies a folder tree (a committed logbook is never opened in place).
inline bool copyTree(const QString& from, const QString& to) {
    if (!QFileInfo(from).isDir())
        return false;
    QDir().mkpath(to);
    for (const QFileInfo& info :
         QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + info.fileName();
        if (info.isDir() ? !copyTree(info.filePath(), target)
                         : !QFile::copy(info.filePath(), target))
            return false;
    }
    return true;
}

// A committed logbook of an older schema ("version1", "version2") copied to `to`.
inline bool copyCommittedLogbook(const QString& name, const QString& to) {
    return copyTree(
        qEnvironmentVariable("SOURCE_DIR") + QStringLiteral("/tests/data/logbook/") + name, to);
}

// The rows of `sql` on a connection of the test's own, each column by name.
inline QList<QVariantMap> rowsOf(const QString& databasePath, const QString& sql) {
    QList<QVariantMap> rows;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(databasePath);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql))
                while (query.next()) {
                    QVariantMap row;
                    for (int i = 0; i < query.record().count(); ++i)
                        row.insert(query.record().fieldName(i), query.value(i));
                    rows << row;
                }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return rows;
}

} // namespace logbook_support
