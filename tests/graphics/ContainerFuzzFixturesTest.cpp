#include "FuzzEntries.h"
#include "common/FuzzFixtures.h"

#include <gtest/gtest.h>

namespace {

class ContainerFuzzFixtures : public ::testing::TestWithParam<std::string>
{
};

} // namespace

// Containers that once crashed the reader or made it allocate without bound
// now end in one of its error codes.
TEST_P(ContainerFuzzFixtures, EndInACleanError)
{
    const QByteArray input = ReadFuzzFixture(GetParam());
    ASSERT_FALSE(input.isEmpty());
    EXPECT_FALSE(FuzzContainer(input).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Found, ContainerFuzzFixtures,
                         ::testing::ValuesIn(FuzzFixtures("container")), FuzzFixtureName);
