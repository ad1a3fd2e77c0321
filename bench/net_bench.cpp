// Network play: whole four-seat games between a Dealer and three bot
// clients, inside one process and over loopback TCP between processes, and
// what a Dealer that waits for a remote move costs in processor time.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <fstream>
#include <sstream>
#include <thread>

#include "net/local_transport.h"
#include "tools/net_play.h"

namespace {

using namespace zarv;

void BM_InProcessGame(benchmark::State& st) {
    uint64_t seed = 1;
    for (auto _ : st) {
        net::LocalEndpoint dealerEnd;
        net::LocalPump dealerPump(dealerEnd);
        std::ostringstream sink;
        sim::Machine dealer(dealerEnd, dealerPump, net::NetworkSession::Role::Dealer, seed++, sink);
        dealerEnd.Listen();
        struct Client {
            net::LocalEndpoint end;
            net::LocalPump pump{end};
            std::ostringstream out;
            sim::Machine m{end, pump, net::NetworkSession::Role::Client, 1, out};
        };
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < 3; ++i) clients.push_back(std::make_unique<Client>());
        std::vector<std::thread> threads;
        threads.emplace_back([&] { sim::RunDealer(dealer, sim::DealerOptions{}); });
        for (auto& c : clients)
            threads.emplace_back([&] {
                c->end.ConnectTo(dealerEnd);
                sim::RunClient(c->m);
            });
        for (auto& t : threads) t.join();
    }
    st.counters["games_per_second"] = benchmark::Counter(static_cast<double>(st.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InProcessGame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

QString ReadPort(QProcess& serve) {
    QString first;
    while (!first.contains('\n') && serve.waitForReadyRead(30000)) first += QString::fromUtf8(serve.readLine());
    return QRegularExpression(QStringLiteral("listening (\\d+)")).match(first).captured(1);
}

void BM_LoopbackGame(benchmark::State& st) {
    int seed = 1;
    for (auto _ : st) {
        QProcess serve;
        serve.start(QStringLiteral(ZARV_SIM), {"serve", "--port", "0", "--seed", QString::number(seed++)});
        const QString port = ReadPort(serve);
        std::vector<std::unique_ptr<QProcess>> joins;
        for (int i = 0; i < 3; ++i) {
            joins.push_back(std::make_unique<QProcess>());
            joins.back()->start(QStringLiteral(ZARV_SIM), {"join", "127.0.0.1:" + port});
        }
        serve.waitForFinished(60000);
        for (auto& j : joins) j->waitForFinished(60000);
    }
    st.counters["games_per_second"] = benchmark::Counter(static_cast<double>(st.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoopbackGame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

long CpuTicks(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream in(line.substr(line.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && in >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return utime + stime;
}

// A client that joins and then never answers: the Dealer waits for its
// acknowledgement of the first deal. Counts the Dealer's processor ticks over
// the waiting seconds (the goal is 0).
void BM_DealerIdleWhileWaiting(benchmark::State& st) {
    const double seconds = 10;
    for (auto _ : st) {
        QProcess serve;
        serve.start(QStringLiteral(ZARV_SIM), {"serve", "--port", "0", "--clients", "1"});
        const QString port = ReadPort(serve);
        QTcpSocket silent;
        silent.connectToHost(QStringLiteral("127.0.0.1"), port.toUShort());
        silent.waitForConnected(10000);
        silent.write("Connect;Silent;Against|");
        silent.waitForBytesWritten(10000);
        silent.waitForReadyRead(10000);  // seated; the game starts and waits for us
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const long before = CpuTicks(serve.processId());
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const long after = CpuTicks(serve.processId());
        st.counters["idle_ticks_in_10s"] = static_cast<double>(after - before);
        serve.kill();
        serve.waitForFinished(5000);
    }
}
BENCHMARK(BM_DealerIdleWhileWaiting)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
