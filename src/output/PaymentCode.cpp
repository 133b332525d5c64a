#include "output/PaymentCode.h"

#include "model/DisplayModel.h"
#include "model/Payment.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

namespace invorator {

QrMatrix EncodeQr(const QString &text)
{
    QrMatrix matrix;
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty())
        return matrix;
    const std::unique_ptr<QRcode, void (*)(QRcode *)> code(
        QRcode_encodeData(static_cast<int>(bytes.size()),
                          reinterpret_cast<const unsigned char *>(bytes.constData()), 0, QR_ECLEVEL_M),
        QRcode_free);
    if (!code)
        return matrix;
    matrix.size = code->width;
    matrix.dark.resize(static_cast<std::size_t>(code->width) * static_cast<std::size_t>(code->width));
    for (std::size_t i = 0; i < matrix.dark.size(); ++i)
        matrix.dark[i] = (code->data[i] & 1) != 0; // the lowest bit of each module is its colour
    return matrix;
}

QImage QrImage(const QrMatrix &matrix, int scale)
{
    if (matrix.size == 0 || scale < 1)
        return {};
    constexpr int quiet = 4;
    const int side = (matrix.size + 2 * quiet) * scale;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < matrix.size; ++y)
        for (int x = 0; x < matrix.size; ++x)
            if (matrix.at(x, y))
                painter.fillRect((x + quiet) * scale, (y + quiet) * scale, scale, scale, Qt::black);
    return image;
}

int ChosenPaymentRow(const ListView &payments)
{
    for (int r = 0; r < payments.rowCount(); ++r)
        if (!payments.cell(r, PaymentColumn::Qr).isEmpty())
            return r;
    return -1;
}

} // namespace invorator
