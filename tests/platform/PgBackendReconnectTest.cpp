// A clinic connection whose server goes away during work and comes back: on
// a server of the test's own, stopped at once as in a crash and started again.
#include "app/CError.h"
#include "common/PgOwnServerFixture.h"
#include "platform/CPgBackend.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class PgReconnect : public PgOwnServerFixture
{
protected:
    // Stops the server and starts it again, `backend` finding the loss.
    static void Restart(CPgBackend& backend)
    {
        ASSERT_TRUE(server->Halt());
        EXPECT_THROW(backend.Select("SELECT 1", {}, "test"), CError);
        EXPECT_FALSE(backend.Alive());
        ASSERT_TRUE(server->Resume());
    }

    static qint64 Count(CPgBackend& backend, const QString& sql)
    {
        return backend.Select(sql, {}, "test").rows.front().value(0).toLongLong();
    }
};

} // namespace

TEST_F(PgReconnect, ComesBackWithItsLocksAndChannelsAndNeverWaitsWhileTheServerIsAway)
{
    CPgBackend room1(conninfo, "Sala 1");
    ASSERT_TRUE(room1.TryLock(7, 42));
    room1.Listen("zmiany");
    ASSERT_TRUE(server->Halt());
    EXPECT_THROW(room1.Select("SELECT 1", {}, "test"), CError);
    // While the server is away, each step gives up at once.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 5; ++i)
        EXPECT_NE(room1.PollReconnect(), CPgBackend::EReconnect::Connected);
    EXPECT_FALSE(room1.Reconnect(300));
    ASSERT_TRUE(server->Resume());
    ASSERT_TRUE(room1.Reconnect(10000));
    EXPECT_TRUE(room1.Alive());
    EXPECT_TRUE(room1.TakeLostLocks().isEmpty());

    CPgBackend room3(conninfo, "Sala 3");
    EXPECT_FALSE(room3.TryLock(7, 42)) << "the lock was not taken again";
    EXPECT_EQ(room3.LockHolder(7, 42), "Sala 1");
    room3.Notify("zmiany", "dodany 5");
    QStringList notices;
    for (int i = 0; i < 250 && notices.isEmpty(); ++i) {
        QThread::msleep(20);
        notices = room1.TakeNotices();
    }
    EXPECT_EQ(notices, QStringList{"dodany 5"}) << "LISTEN was not taken again";
    room1.Unlock(7, 42);
    EXPECT_TRUE(room3.TryLock(7, 42));
}

TEST_F(PgReconnect, ALockAnotherTookMeanwhileIsReportedLost)
{
    CPgBackend room1(conninfo, "Sala 1");
    ASSERT_TRUE(room1.TryLock(7, 42));
    ASSERT_TRUE(room1.TryLock(7, 43));
    Restart(room1);
    CPgBackend room3(conninfo, "Sala 3");
    ASSERT_TRUE(room3.TryLock(7, 42));
    ASSERT_TRUE(room1.Reconnect(10000));
    const QList<QPair<int, int>> lost = room1.TakeLostLocks();
    EXPECT_EQ(lost, (QList<QPair<int, int>>{{7, 42}}));
    EXPECT_TRUE(room1.TakeLostLocks().isEmpty());
    EXPECT_EQ(room3.LockHolder(7, 43), "Sala 1");
    EXPECT_EQ(room1.LockHolder(7, 42), "Sala 3");
}

TEST_F(PgReconnect, ATransactionCutByTheLossIsNeverContinuedOnTheNewConnection)
{
    CPgBackend room1(conninfo, "Sala 1");
    room1.Execute("CREATE TABLE t (a int)", {}, "test");
    for (const bool change : {false, true}) {
        // A transaction of the caller's, and one change with a savepoint.
        const bool outermost = change ? room1.BeginChange("test") : (room1.Begin(), true);
        room1.Execute("INSERT INTO t VALUES (1)", {}, "test");
        Restart(room1);
        EXPECT_TRUE(room1.InTransaction());
        // Nothing reconnects before the caller has ended it...
        EXPECT_EQ(room1.PollReconnect(), CPgBackend::EReconnect::Failed);
        EXPECT_THROW(room1.Execute("INSERT INTO t VALUES (2)", {}, "test"), CError);
        if (change)
            room1.AbortChange(outermost);
        else
            EXPECT_THROW(room1.Commit(), CError);
        room1.Rollback();
        EXPECT_FALSE(room1.InTransaction());
        // ...and then nothing of it is there.
        ASSERT_TRUE(room1.Reconnect(10000));
        EXPECT_EQ(Count(room1, "SELECT count(*) FROM t"), 0);
    }
}
