#include "throwaway_postgres.h"

#include <QDir>
#include <QProcess>
#include <QTcpServer>
#include <QVersionNumber>
#include <unistd.h>

namespace {

// The newest installed server's programs.
QString PostgresBin() {
    QDir lib("/usr/lib/postgresql");
    QString best;
    QVersionNumber bestVersion;
    for (const QString& version : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const auto v = QVersionNumber::fromString(version);
        if (QFile::exists(lib.filePath(version + "/bin/pg_ctl")) && v > bestVersion) {
            bestVersion = v;
            best = lib.filePath(version + "/bin");
        }
    }
    return best;
}

int FreePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

} // namespace

bool ThrowawayPostgres::Required() { return qEnvironmentVariableIsSet("CI"); }

bool ThrowawayPostgres::Run(const QString& program, const QStringList& args, QString* why) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // Root may not run a cluster: it runs as the postgres user.
    if (getuid() == 0) p.start("runuser", QStringList{"-u", "postgres", "--", bin_ + "/" + program} + args);
    else p.start(bin_ + "/" + program, args);
    if (!p.waitForFinished(60'000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (why) *why = program + " failed: " + QString::fromLocal8Bit(p.readAll()).right(600);
        return false;
    }
    return true;
}

bool ThrowawayPostgres::Start(QString* why) {
    bin_ = PostgresBin();
    if (bin_.isEmpty()) {
        *why = "PostgreSQL is not installed (apt-get install postgresql)";
        return false;
    }
    dir_ = std::make_unique<QTemporaryDir>();
    if (!dir_->isValid()) {
        *why = "no temporary folder";
        return false;
    }
    if (getuid() == 0 && QProcess::execute("chown", {"postgres:postgres", dir_->path()}) != 0) {
        *why = "cannot give the folder to the postgres user";
        return false;
    }
    const QString data = dir_->path() + "/data";
    if (!Run("initdb", {"-D", data, "-A", "trust", "-U", "zarv", "--no-sync"}, why)) return false;
    // A port taken between choosing and starting is chosen again.
    for (int attempt = 0; attempt < 5 && !running_; ++attempt) {
        port_ = FreePort();
        running_ = Run("pg_ctl", {"-D", data, "-l", dir_->path() + "/log", "-w", "-t", "60", "-o",
                                  QString("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off").arg(port_).arg(dir_->path()),
                                  "start"},
                       why);
    }
    return running_;
}

ThrowawayPostgres::~ThrowawayPostgres() {
    if (running_) Run("pg_ctl", {"-D", dir_->path() + "/data", "-m", "immediate", "-w", "stop"}, nullptr);
}

QString ThrowawayPostgres::url() const { return QString("postgresql://zarv@127.0.0.1:%1/postgres").arg(port_); }
