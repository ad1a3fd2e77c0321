#include "tools/flooder.h"

#include <QByteArray>
#include <QTcpSocket>
#include <chrono>

#include "net/lobby_wire.h"
#include "net/wire.h"

namespace zarv::sim {

namespace {

// Reads until a message that begins so arrives (bounded by its time).
bool Await(QTcpSocket& socket, QByteArray& heard, const QByteArray& start) {
    for (int turn = 0; turn < 100; ++turn) {
        if (heard.contains(start)) return true;
        if (!socket.waitForReadyRead(100) && socket.state() != QAbstractSocket::ConnectedState) return false;
        heard += socket.readAll();
    }
    return heard.contains(start);
}

QByteArray FloodBlock(FloodPlan::Kind kind) {
    QByteArray block;
    const QByteArray piece = kind == FloodPlan::Kind::Chat ? QByteArray("Chat;4;") + QByteArray(150, 'z') + "|"
                             : kind == FloodPlan::Kind::Junk ? QByteArray("Zz;") + QByteArray(20, 'q') + "|"
                                                             : QByteArray("Recived;HandIs|");
    while (block.size() < 64 * 1024) block += piece;
    return block;
}

} // namespace

FloodResult RunFlooder(const FloodPlan& plan, const std::atomic<bool>& stop) {
    FloodResult result;
    QTcpSocket socket;
    socket.connectToHost(QString::fromStdString(plan.host), static_cast<quint16>(plan.port));
    if (!socket.waitForConnected(10'000)) {
        result.failure = "could not connect";
        return result;
    }
    QByteArray heard;
    socket.write(QByteArray::fromStdString(net::Message("Recived", net::kLobbyAsk)));
    socket.write(QByteArray::fromStdString(net::Message("LobbySit", net::SitText({plan.table, 4, ""}))));
    if (!Await(socket, heard, "LobbyOk;Sit")) {
        result.failure = "no seat: " + heard.right(200).toStdString();
        return result;
    }
    socket.write(QByteArray::fromStdString(net::Message("Connect", plan.name + ";Against")));
    if (!Await(socket, heard, "Join;4")) {
        result.failure = "not seated: " + heard.right(200).toStdString();
        return result;
    }
    // Once the game is on: a seat that leaves before would only free its place.
    if (!Await(socket, heard, "HandIs;")) {
        result.failure = "no game: " + heard.right(200).toStdString();
        return result;
    }
    const QByteArray block = FloodBlock(plan.kind);
    const auto began = std::chrono::steady_clock::now();
    while (!stop && socket.state() == QAbstractSocket::ConnectedState) {
        // As fast as the socket takes it: more only once the last is out.
        if (socket.bytesToWrite() < block.size()) {
            socket.write(block);
            result.bytesSent += block.size();
        }
        socket.waitForBytesWritten(100);
        socket.readAll();  // what the table says is read, so only the sending floods
    }
    if (socket.state() != QAbstractSocket::ConnectedState)
        result.closedAfter = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    return result;
}

} // namespace zarv::sim
