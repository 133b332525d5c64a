#include "PdfMaker.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace testing_support {

QByteArray MakePdf(const std::vector<EmbeddedFile> &files, bool compress, const char *userPassword)
{
    QPDF qpdf;
    qpdf.emptyPDF();
    QPDFEmbeddedFileDocumentHelper helper(qpdf);
    for (const EmbeddedFile &f : files) {
        auto stream = QPDFEFStreamObjectHelper::createEFStream(qpdf, f.data.toStdString());
        stream.setSubtype("text/xml");
        if (f.deflated)
            stream.getObjectHandle().replaceStreamData(
                f.data.toStdString(), QPDFObjectHandle::newName("/FlateDecode"), QPDFObjectHandle::newNull());
        for (int copy = 1; copy <= f.copies; ++copy) {
            const std::string name = copy == 1 ? f.name : f.name + "-" + std::to_string(copy);
            helper.replaceEmbeddedFile(name, QPDFFileSpecObjectHelper::createFileSpec(qpdf, name, stream));
        }
    }
    QPDFWriter writer(qpdf);
    writer.setOutputMemory();
    writer.setCompressStreams(compress);
    writer.setDecodeLevel(qpdf_dl_none);
    if (userPassword)
        writer.setR6EncryptionParameters(userPassword, "owner", true, true, true, true, true, true,
                                         qpdf_r3p_full, true);
    writer.write();
    const auto buffer = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()),
                      static_cast<qsizetype>(buffer->getSize()));
}

} // namespace testing_support
