#pragma once
#include "common/TempDir.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "platform/DatabaseSchema.h"

#include <QVariant>
#include <QVariantList>
#include <gtest/gtest.h>

// An empty patient database in a temporary folder, made by the same function
// as the data build's.
class PatientDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.file("pacmem.qp");
        ASSERT_TRUE(CreatePatientDatabase(path));
    }

    // The first column of the first row of `sql`, read on `connection` (the
    // file is held exclusively, so tests read through the store's own one).
    static QVariant Scalar(CDbConnection* connection, const QString& sql,
                           const QVariantList& params = {})
    {
        CDbQuery query(connection);
        query.SetSQL(sql, params);
        query.Open();
        if (query.RecordCount() == 0)
            return QVariant();
        return query.Fields(0).Value();
    }

    TempDir dir;
    QString path;
};
