// Amount and date texts through the conversions: no crash, and exact arithmetic that
// holds for every number the XML may write.
#include "model/Conversions.h"

#include <cstdint>
#include <cstdlib>

using namespace invorator;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype split = bytes.indexOf('\n');
    const QString text = QString::fromUtf8(split < 0 ? bytes : bytes.left(split));
    const QString pattern = split < 0 ? QStringLiteral("#,##0.00") : QString::fromUtf8(bytes.mid(split + 1));
    (void)FormatXmlAmount(text, pattern);
    (void)FormatXmlDate(text);
    (void)NzFormat(text, QStringLiteral("0"), pattern);
    (void)XmlAmountToNumber(text);
    (void)FormatText(text, pattern);
    if (const auto a = XmlAmountToDecimal(text)) {
        const QString exact = QStringLiteral("0.##########");
        // a - a is zero, and (a + a) - a is a again, digit for digit.
        if (!(*a - *a).isZero())
            std::abort();
        if (FormatNumber((*a + *a) - *a, exact) != FormatNumber(*a, exact))
            std::abort();
    }
    return 0;
}
