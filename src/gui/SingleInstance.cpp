#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace cfg::gui {

namespace {
const QByteArray kActivate = QByteArrayLiteral("activate\n");
}

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent) : QObject(parent) {
    QString folder = QDir(programFolder).absolutePath();
#ifdef Q_OS_WIN
    folder = folder.toLower();
#endif
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    name_ = QStringLiteral("cfgvimo-") + QString::fromLatin1(hash);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
    {
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(500)) {
            probe.write(kActivate);
            probe.flush();
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            return false;
        }
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A socket left behind by a copy that crashed: nobody answered it.
        QLocalServer::removeServer(name_);
        server_->listen(name_);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        // Only another copy of the program knocks, and it knocks for one
        // reason: the connection itself is the request. (Its words may be
        // lost when it hangs up before they are read, as a pipe on Windows
        // can do.)
        bool knocked = false;
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            knocked = true;
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            if (peer->state() != QLocalSocket::ConnectedState) peer->deleteLater();
        }
        if (knocked && onActivate) onActivate();
    });
    return true;
}

}  // namespace cfg::gui
