#pragma once

// A tile server of the test's own on 127.0.0.1, so no test ever asks one
// outside the machine. It answers GET /Z/X/Y.png with a plain tile of a known
// colour (or a 404, bytes that are no picture, or nothing at all), keeps every
// request's path and User-Agent, and counts how many it held at once.
#include <QBuffer>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QLocale>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <utility>

class TileServer : public QObject {
  public:
    enum class Answer { Tile, NotFound, NoPicture, Silence };

    Answer answer = Answer::Tile;
    QColor colour = QColor(30, 120, 220);
    int delayMs = 0;         // before each answer
    QByteArray extraHeaders; // e.g. "Cache-Control: max-age=0\r\n"
    // Draws the tile of zoom, x and y instead of the plain colour.
    std::function<QImage(int, int, int)> draw;
    QStringList paths;              // in the order asked
    QList<QByteArray> userAgents;   // one per request
    QList<QByteArray> cacheHeaders; // Cache-Control and Pragma lines sent to us
    int open = 0, mostOpen = 0;     // requests received and not yet answered

    explicit TileServer(QObject* parent = nullptr) : QObject(parent), m_server(this) {
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                QObject::connect(socket, &QTcpSocket::readyRead, this,
                                 [this, socket] { read(socket); });
                // A client that gives up on a request no longer counts as open.
                QObject::connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                    open -= std::exchange(m_unanswered[socket], 0);
                });
            }
        });
    }
    bool start() {
        const bool listening = m_server.listen(QHostAddress::LocalHost);
        m_port = m_server.serverPort();
        return listening;
    }
    // Closes the port and every connection: as a server gone away.
    void stop() {
        m_server.close();
        for (QTcpSocket* socket : findChildren<QTcpSocket*>())
            socket->abort();
    }
    QString urlTemplate() const {
        return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(m_port);
    }
    static QByteArray png(const QColor& colour) {
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(colour);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "PNG");
        return buffer.data();
    }

  private:
    void read(QTcpSocket* socket) {
        QByteArray& pending = m_pending[socket];
        pending += socket->readAll();
        int end;
        while ((end = pending.indexOf("\r\n\r\n")) >= 0) {
            const QList<QByteArray> lines = pending.left(end).split('\n');
            pending.remove(0, end + 4);
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            const QString path = QString::fromLatin1(first.value(1));
            paths << path;
            for (const QByteArray& line : lines) {
                const QByteArray lower = line.trimmed().toLower();
                if (lower.startsWith("user-agent:"))
                    userAgents << line.mid(11).trimmed();
                if (lower.startsWith("cache-control:") || lower.startsWith("pragma:"))
                    cacheHeaders << line.trimmed();
            }
            mostOpen = std::max(mostOpen, ++open);
            ++m_unanswered[socket];
            if (answer == Answer::Silence)
                continue;
            QPointer<QTcpSocket> to(socket);
            QTimer::singleShot(delayMs, this, [this, to, path] {
                if (!to)
                    return;
                --open;
                --m_unanswered[to.data()];
                reply(to, path);
            });
        }
    }
    void reply(QTcpSocket* socket, const QString& path) {
        QByteArray status = "200 OK", body, type = "image/png";
        const QStringList parts =
            QString(path).remove(QStringLiteral(".png")).split(QLatin1Char('/'));
        if (draw && parts.size() == 4) {
            QBuffer buffer(&body);
            buffer.open(QIODevice::WriteOnly);
            draw(parts[1].toInt(), parts[2].toInt(), parts[3].toInt()).save(&buffer, "PNG");
        } else {
            body = png(colour);
        }
        if (answer == Answer::NotFound)
            status = "404 Not Found", body = "no such tile", type = "text/plain";
        if (answer == Answer::NoPicture)
            body = "<html>this is not a tile</html>";
        const QByteArray date = QLocale::c()
                                    .toString(QDateTime::currentDateTimeUtc(),
                                              QStringLiteral("ddd, dd MMM yyyy hh:mm:ss"))
                                    .toLatin1() +
                                " GMT";
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nDate: " + date + "\r\n" + extraHeaders + "\r\n" + body);
    }

    QTcpServer m_server;
    quint16 m_port = 0; // kept when stopped, so its tiles keep their addresses
    QHash<QTcpSocket*, QByteArray> m_pending;
    QHash<QTcpSocket*, int> m_unanswered;
};
