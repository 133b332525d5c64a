// The exact decimal type against a second implementation: every case of
// tests/data/decimal/cases.tsv was computed with Python's decimal module (make_cases.py),
// over numbers of up to 60 digits with signs, leading zeros and many decimals.
#include "TestSupport.h"

#include "model/Decimal.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace invorator;

namespace {

QString unescape(QString field)
{
    field.replace("\\n", "\n").replace("\\t", "\t").replace("\\\\", "\\");
    return field;
}

QString text(const std::optional<Decimal> &d)
{
    return d ? d->toText() : QStringLiteral("-");
}

} // namespace

TEST(Decimal, AgreesWithASecondImplementation)
{
    QFile table(QStringLiteral(DECIMAL_CASES));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly | QIODevice::Text));
    int cases = 0;
    while (!table.atEnd()) {
        const QStringList f = QString::fromUtf8(table.readLine()).chopped(1).split('\t');
        ASSERT_EQ(f.size(), 5);
        const QString op = f[0], a = unescape(f[1]), b = unescape(f[2]), expected = f[4];
        const int places = f[3].toInt();
        const auto x = Decimal::fromXml(a).value;
        const auto y = Decimal::fromXml(b).value;
        QString got;
        if (op == "parse")
            got = text(x);
        else if (op == "add")
            got = (*x + *y).toText();
        else if (op == "sub")
            got = (*x - *y).toText();
        else if (op == "mul")
            got = (*x * *y).toText();
        else if (op == "round")
            got = x->rounded(places).toText();
        else if (op == "div")
            got = text(Decimal::divided(*x, *y, places));
        EXPECT_EQ(got.toStdString(), expected.toStdString())
            << op.toStdString() << " '" << a.toStdString() << "' '" << b.toStdString() << "' " << places;
        ++cases;
    }
    EXPECT_GT(cases, 700);
}

// What the checks rely on besides the arithmetic: order, sign and the reason a text is
// no number.
TEST(Decimal, OrderSignAndReasons)
{
    const auto d = [](const std::string &t) {
        return *Decimal::fromXml(QString::fromStdString(t)).value;
    };
    EXPECT_TRUE(d("10.00") == d("10"));
    EXPECT_TRUE(d("-0.01") < d("0"));
    EXPECT_TRUE(d("1" + std::string(40, '0')) > d(std::string(40, '9')));
    EXPECT_FALSE((d("-5") - d("-5")).isNegative());
    EXPECT_EQ(d("-12.345").abs().toText(), "12.345");
    EXPECT_EQ(d("2.5").toText(2, true), "2.50");
    EXPECT_EQ(d("2.5000").toText(2, true), "2.50");
    EXPECT_EQ(d("-0.1").toText(0, true), "-0.1");
    const DecimalRead bad = Decimal::fromXml(QStringLiteral("10,00"));
    EXPECT_FALSE(bad);
    EXPECT_TRUE(bad.problem.contains("10,00")) << bad.problem.toStdString();
}
