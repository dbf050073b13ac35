// The random style: every value from 1 to the maximum equally likely, never 0, and the two
// draws of one click independent of each other.

#include "randomvalue.h"

#include <QTest>

#include <cmath>
#include <set>
#include <vector>

using RandomChoice::valueFor;

namespace {

// Pearson's chi-square statistic of observed counts against equal expectations.
double chiSquare(const std::vector<long>& counts, double expected)
{
    double sum = 0;
    for (long c : counts) {
        sum += (c - expected) * (c - expected) / expected;
    }
    return sum;
}

} // namespace

class TestRandomValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Int(r * max) + 1, worked out by hand. A float is not the decimal it is written as:
    // 0.05f is a hair above 1/20, 0.95f a hair below 19/20, 1/3 a hair above.
    void mapping_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("expected");
        const float belowOne = std::nextafter(1.0F, 0.0F); // 0.99999994
        QTest::newRow("0") << 0.0F << 20 << 1;
        QTest::newRow("0.0499") << 0.0499F << 20 << 1;
        QTest::newRow("0.05 is above 1/20") << 0.05F << 20 << 2;
        QTest::newRow("0.5") << 0.5F << 20 << 11;
        QTest::newRow("0.95 is below 19/20") << 0.95F << 20 << 19;
        QTest::newRow("0.9500001") << 0.9500001F << 20 << 20;
        QTest::newRow("just below 1, eyes") << belowOne << 20 << 20;
        QTest::newRow("just below 1, mouth") << belowOne << 15 << 15;
        QTest::newRow("just below 1, largest bar") << belowOne << 32767 << 32767;
        QTest::newRow("1/3 of 15") << 1.0F / 3.0F << 15 << 6;
        QTest::newRow("0.2 of 15") << 0.2F << 15 << 4;
        QTest::newRow("0.1999999 of 15") << 0.1999999F << 15 << 3;
        QTest::newRow("one style") << belowOne << 1 << 1;
        // A bar without styles still gives 1; a caller's r of exactly 1 stays in range.
        QTest::newRow("max 0") << 0.5F << 0 << 1;
        QTest::newRow("max -32768") << belowOne << -32768 << 1;
        QTest::newRow("r = 1") << 1.0F << 20 << 20;
    }
    void mapping()
    {
        QFETCH(float, r);
        QFETCH(int, maximum);
        QFETCH(int, expected);
        QCOMPARE(int(valueFor(r, static_cast<std::int16_t>(maximum))), expected);
    }

    void numbersStayBelowOne()
    {
        float largest = 0;
        for (std::uint64_t seed = 0; seed < 200000; ++seed) {
            const float r = RandomChoice::numberFromSeed(seed * 0x9E3779B97F4A7C15ULL);
            QVERIFY(r >= 0.0F);
            QVERIFY(r < 1.0F);
            largest = std::max(largest, r);
        }
        QVERIFY(largest > 0.99F);
    }

    void seedsNeverRepeat()
    {
        std::set<std::uint64_t> seeds;
        for (int i = 0; i < 10000; ++i) {
            QVERIFY(seeds.insert(RandomChoice::nextSeed()).second);
        }
    }

    void rangesOfTheBars_data()
    {
        QTest::addColumn<int>("maximum");
        QTest::newRow("eyes") << 20;
        QTest::newRow("mouth") << 15;
        QTest::newRow("one") << 1;
        QTest::newRow("zero") << 0;
    }
    void rangesOfTheBars()
    {
        QFETCH(int, maximum);
        const int values = std::max(maximum, 1);
        std::vector<long> counts(static_cast<size_t>(values), 0);
        const int draws = 20000 * values;
        const auto n = static_cast<std::int16_t>(maximum);
        for (int i = 0; i < draws; ++i) {
            const int v = RandomValue(n);
            QVERIFY(v >= 1 && v <= values);
            ++counts[static_cast<size_t>(v - 1)];
        }
        // Every value comes up, the top one included, about equally often: with 19 degrees
        // of freedom a chi-square above 60 happens by chance less than once in a million.
        for (long c : counts) {
            QVERIFY(c > 0);
        }
        QVERIFY2(chiSquare(counts, 20000.0) < 60.0 + 2.0 * values,
                 qPrintable(QString::number(chiSquare(counts, 20000.0))));
    }

    // The eye and mouth draws of a click are made right after each other; they must not
    // follow each other.
    void consecutiveDrawsAreIndependent()
    {
        std::vector<long> pairs(20 * 15, 0);
        const int clicks = 300000;
        for (int i = 0; i < clicks; ++i) {
            const int e = RandomValue(20);
            const int m = RandomValue(15);
            ++pairs[static_cast<size_t>((e - 1) * 15 + (m - 1))];
        }
        // 299 degrees of freedom: mean 299, standard deviation about 24.5.
        const double statistic = chiSquare(pairs, clicks / 300.0);
        QVERIFY2(statistic < 450.0, qPrintable(QString::number(statistic)));
    }
};

QTEST_GUILESS_MAIN(TestRandomValue)
#include "tst_randomvalue.moc"
