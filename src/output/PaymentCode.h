#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace invorator {

class ListView;

// The modules of a QR code, row by row, true for dark.
struct QrMatrix
{
    int size = 0;
    std::vector<bool> dark;
    bool at(int x, int y) const { return dark[static_cast<std::size_t>(y * size + x)]; }
};

// The text as a QR code of error correction level M (as the EPC guidelines ask), its
// UTF-8 bytes in byte mode; an empty matrix for an empty text or one too long to encode.
QrMatrix EncodeQr(const QString &text);

// The matrix drawn black on white, `scale` pixels a module, with the four-module quiet
// zone around it; a null image for an empty matrix.
QImage QrImage(const QrMatrix &matrix, int scale);

// The payment means whose QR code is shown, in the window and on the document alike: the
// first row of the payment list that has a transfer code; -1 when none has one.
int ChosenPaymentRow(const ListView &payments);

} // namespace invorator
