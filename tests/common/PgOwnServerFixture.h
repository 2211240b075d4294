#pragma once
#include "common/PgTestServer.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>

// Tests that stop, kill or restart the PostgreSQL server: the suite runs a
// cluster of its own (the other tests' server stays up) and each test gets
// a fresh empty database on it.
class PgOwnServerFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { server = std::make_unique<PgTestServer>(PgTestServer::Own); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(server->Problem().isEmpty()) << server->Problem().toStdString();
        QString problem;
        conninfo = server->NewDatabase(&problem);
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    }

    static inline std::unique_ptr<PgTestServer> server;
    QString conninfo;
};
