// Tests that run on both databases a server may keep its results in: SQLite
// in a file of the test's own, and a real PostgreSQL server it starts.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "throwaway_postgres.h"

class OnBothDatabases : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (GetParam() == "sqlite") {
            where_ = folder_.path() + "/results.sqlite";
            return;
        }
        QString why;
        postgres_ = std::make_unique<ThrowawayPostgres>();
        if (!postgres_->Start(&why)) {
            if (ThrowawayPostgres::Required()) FAIL() << why.toStdString();
            GTEST_SKIP() << why.toStdString();
        }
        where_ = postgres_->url();
    }
    // Where the test's database is: a file name or a postgresql:// address.
    const QString& where() const { return where_; }

private:
    QTemporaryDir folder_;
    std::unique_ptr<ThrowawayPostgres> postgres_;
    QString where_;
};

inline std::string BackendName(const ::testing::TestParamInfo<std::string>& info) { return info.param; }
