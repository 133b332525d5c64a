// Any bytes as an invoice file through the driver: format detection, PDF extraction,
// whichever reader the content calls for, the check of sums and the validation (schemas and
// code lists from the source tree).
#include "import/ImportDriver.h"
#include "model/DisplayModel.h"
#include "services/MessageSink.h"
#include "services/SharedState.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace invorator;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("invoice"));
    // No texts database: messages are empty, every step still runs.
    static const bool linked =
        QFile::link(QStringLiteral(VALIDATION_DATA), dir.filePath(QStringLiteral("Validation")));
    static SharedState state(dir.path());
    (void)linked;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    file.close();
    DisplayModel model;
    RecordingSink sink(MsgAnswer::Yes); // a mismatch is read as the kind the content shows
    ImportDriver driver(state, model, sink);
    (void)driver.ImportInvoice(path, InvoiceKind::Auto);
    return 0;
}
