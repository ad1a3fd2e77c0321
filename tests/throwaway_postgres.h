// A PostgreSQL server of the test's own: a fresh cluster in a temporary
// folder, on a free loopback port, stopped and removed at the end. Needs the
// Debian "postgresql" package; as root the cluster runs as user postgres.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

class ThrowawayPostgres {
public:
    ThrowawayPostgres() = default;
    ~ThrowawayPostgres();
    ThrowawayPostgres(const ThrowawayPostgres&) = delete;
    ThrowawayPostgres& operator=(const ThrowawayPostgres&) = delete;

    // False, with the reason, when no server could be started.
    bool Start(QString* why);
    // postgresql://zarv@127.0.0.1:PORT/postgres
    QString url() const;
    // Whether a test run must have PostgreSQL (on CI) rather than skip without it.
    static bool Required();

private:
    bool Run(const QString& program, const QStringList& args, QString* why);
    QString bin_;
    std::unique_ptr<QTemporaryDir> dir_;
    int port_ = 0;
    bool running_ = false;
};
