// invorator-cli links the core alone. What needs qpdf, Qt Gui or libcurl it opens from
// the program folder when a command needs it: the embedded files of a PDF invoice, the
// document of `pdf`, the mail of `support`. The functions here stand in for the parts'
// own, which the window and the tests link instead; each calls the same function of the
// part's module.
#include "import/PdfEmbeddedFiles.h"
#include "output/InvoiceDocument.h"
#include "support/SupportMail.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <dlfcn.h>

#include <utility>

namespace invorator {

namespace {

// The functions of the module lib<name>.so beside the program, or the loader's reason it
// cannot be opened. The module stays loaded to the end of the process.
template <class Module> std::pair<const Module *, QString> openModule(const char *name, const char *entry)
{
    // The program's own folder: the application object may not exist yet.
    const QString folder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    const QByteArray path = QFile::encodeName(folder) + "/lib" + name + ".so";
    void *library = dlopen(path.constData(), RTLD_LAZY | RTLD_LOCAL);
    using Entry = const Module *(*)();
    if (const auto functions = library ? reinterpret_cast<Entry>(dlsym(library, entry)) : nullptr)
        return {functions(), QString()};
    return {nullptr, QString::fromLocal8Bit(dlerror())};
}

const std::pair<const PdfModule *, QString> &pdfModule()
{
    static const auto opened = [] {
        auto module = openModule<PdfModule>("invorator_pdf", "invorator_pdf_module");
        // Deep in an import nothing else could tell why no PDF can be read.
        if (!module.first)
            QTextStream(stderr) << "invorator-cli: " << module.second << '\n';
        return module;
    }();
    return opened;
}

const std::pair<const DocumentModule *, QString> &documentModule()
{
    static const auto opened = openModule<DocumentModule>("invorator_document", "invorator_document_module");
    return opened;
}

const std::pair<const MailModule *, QString> &mailModule()
{
    static const auto opened = openModule<MailModule>("invorator_mail", "invorator_mail_module");
    return opened;
}

} // namespace

QByteArray EmbeddedInvoiceXml(const QByteArray &pdf, bool (*isInvoice)(const QByteArray &xml))
{
    const auto &[module, problem] = pdfModule();
    return module ? module->embeddedInvoiceXml(pdf, isInvoice) : QByteArray();
}

std::unique_ptr<QCoreApplication> DocumentApplication(int &argc, char **argv)
{
    if (const auto &[module, problem] = documentModule(); module)
        return module->application(argc, argv);
    // WriteInvoicePdf says why no document can be drawn.
    return std::make_unique<QCoreApplication>(argc, argv);
}

bool WriteInvoicePdf(const DisplayModel &model, const DocumentTexts &texts, const QString &path,
                     QString *error)
{
    const auto &[module, problem] = documentModule();
    if (module)
        return module->writePdf(model, texts, path, error);
    *error = problem;
    return false;
}

MailResult SendSupportMail(const SupportConfig &config, const SupportRequest &request,
                           const std::atomic<bool> *cancel)
{
    const auto &[module, problem] = mailModule();
    if (module)
        return module->send(config, request, cancel);
    return {MailResult::Problem::Transfer, problem};
}

} // namespace invorator
