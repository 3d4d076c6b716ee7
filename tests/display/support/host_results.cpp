// Running display-test hosts for their results.
#include "support/host_results.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/x_session.h"

std::map<std::string, double> runHostScenario(const std::string& host, const std::string& scenario,
                                              std::string* errorLog)
{
    XSession x(320, 240);
    EXPECT_TRUE(x.ready());
    EXPECT_EQ(x.waitForExit(x.start(host, {"--scenario=" + scenario}), 120000), 0);
    std::map<std::string, double> values;
    std::istringstream lines(x.readTempFile("results.txt"));
    std::string name;
    double value;
    while (lines >> name >> value)
        values[name] = value;
    EXPECT_EQ(values["done"], 1) << "the host did not finish " << scenario;
    if (errorLog) *errorLog = x.readTempFile("ErrorLog.txt");
    return values;
}
