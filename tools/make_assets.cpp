// Build tool: turns a Markdown manual into a PDF (`--manual IN.md OUT.pdf TITLE`), draws
// the window icon (`--icon OUT.ico`) and a flag for every language of the texts database
// (`--flags DB/Daten.mdb FOLDER`), with Qt alone.
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <QTextStream>
#include <algorithm>

namespace {

int manual(const QString &in, const QString &out, const QString &title)
{
    QFile source(in);
    if (!source.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << "cannot read " << in << '\n';
        return 1;
    }
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    doc.setMarkdown(QString::fromUtf8(source.readAll()));
    QPdfWriter pdf(out);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Tarvo Invorator"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    // Pictures are named relative to the PDF's folder, where the build draws them, and are
    // as wide as the text at most: 120 mm (printing adds 2 cm margins of its own), in the
    // document's units, the screen's pixels.
    const double width = 120 / 25.4 * QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextImageFormat image = it.fragment().charFormat().toImageFormat();
            if (!image.isValid())
                continue;
            const QImage picture(QFileInfo(out).absolutePath() + QLatin1Char('/') + image.name());
            if (picture.isNull()) {
                QTextStream(stderr) << "cannot read the picture " << image.name() << '\n';
                return 1;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            const double scale = std::min(1.0, width / picture.width());
            image.setWidth(picture.width() * scale);
            image.setHeight(picture.height() * scale);
            QTextCursor cursor(&doc);
            cursor.setPosition(it.fragment().position());
            cursor.setPosition(it.fragment().position() + it.fragment().length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    doc.print(&pdf);
    return QFile::exists(out) ? 0 : 1;
}

// Writes an icon file; without the ICO plugin a PNG under the same name serves Qt as well.
int writeIcon(const QImage &image, const QString &out)
{
    QImageWriter writer(out, "ico");
    if (!writer.write(image))
        return image.save(out, "PNG") ? 0 : 1;
    return 0;
}

// A flag of three stripes, across (horizontal) or upright.
QImage stripes(std::initializer_list<QColor> colours, bool horizontal)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const int top = 6, height = 20, n = static_cast<int>(colours.size());
    int k = 0;
    for (const QColor &c : colours) {
        const QRect band = horizontal ? QRect(0, top + k * height / n, 32, height / n + 1)
                                      : QRect(k * 32 / n, top, 32 / n + 1, height);
        p.fillRect(band, c);
        ++k;
    }
    return image;
}

// The Union Flag, for English.
QImage unionFlag()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect field(0, 6, 32, 20);
    p.setClipRect(field);
    p.fillRect(field, QColor(1, 33, 105));
    const QColor red(200, 16, 46);
    p.setPen(QPen(Qt::white, 5));
    p.drawLine(field.topLeft(), field.bottomRight() + QPoint(1, 1));
    p.drawLine(field.bottomLeft() + QPoint(0, 1), field.topRight() + QPoint(1, 0));
    p.setPen(QPen(red, 1.5));
    p.drawLine(field.topLeft(), field.bottomRight() + QPoint(1, 1));
    p.drawLine(field.bottomLeft() + QPoint(0, 1), field.topRight() + QPoint(1, 0));
    p.fillRect(QRect(12, 6, 8, 20), Qt::white);
    p.fillRect(QRect(0, 13, 32, 6), Qt::white);
    p.fillRect(QRect(14, 6, 4, 20), red);
    p.fillRect(QRect(0, 14, 32, 4), red);
    return image;
}

QImage flagOf(const QString &code)
{
    if (code == QLatin1String("DE"))
        return stripes({QColor(0, 0, 0), QColor(221, 0, 0), QColor(255, 206, 0)}, true);
    if (code == QLatin1String("FR"))
        return stripes({QColor(0, 35, 149), Qt::white, QColor(237, 41, 57)}, false);
    if (code == QLatin1String("EN"))
        return unionFlag();
    if (code == QLatin1String("IT"))
        return stripes({QColor(0, 146, 70), Qt::white, QColor(206, 43, 55)}, false);
    if (code == QLatin1String("NL"))
        return stripes({QColor(174, 28, 40), Qt::white, QColor(33, 70, 139)}, true);
    // A language without a drawn flag gets a neutral grey one.
    return stripes({QColor(160, 160, 160), QColor(210, 210, 210), QColor(160, 160, 160)}, true);
}

// One flag per row of the languages table.
int flags(const QString &database, const QString &folder)
{
    QStringList codes;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("flags"));
        db.setDatabaseName(database);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            QTextStream(stderr) << "cannot open " << database << '\n';
            return 1;
        }
        QSqlQuery query(QStringLiteral("SELECT Sprache FROM tblSprache ORDER BY ID"), db);
        while (query.next())
            codes << query.value(0).toString().trimmed().toUpper();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("flags"));
    int status = codes.isEmpty() ? 1 : 0;
    for (const QString &code : codes)
        status |= writeIcon(flagOf(code), folder + QLatin1Char('/') + code + QStringLiteral(".ico"));
    return status;
}

int icon(const QString &out)
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sheet(0, 0, 0, 64);
    sheet.setColorAt(0, QColor(255, 255, 255));
    sheet.setColorAt(1, QColor(226, 232, 240));
    QPainterPath page;
    page.moveTo(12, 4);
    page.lineTo(42, 4);
    page.lineTo(54, 16);
    page.lineTo(54, 60);
    page.lineTo(12, 60);
    page.closeSubpath();
    p.setPen(QPen(QColor(30, 64, 110), 2));
    p.setBrush(sheet);
    p.drawPath(page);
    p.setPen(QPen(QColor(120, 140, 170), 3, Qt::SolidLine, Qt::RoundCap));
    for (int y : {24, 32, 40})
        p.drawLine(19, y, 47, y);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 40));
    p.drawEllipse(QPointF(44, 50), 9, 9);
    p.setPen(QPen(Qt::white, 2.5));
    p.drawLine(QPointF(40, 50), QPointF(48, 50));
    p.end();
    return writeIcon(image, out);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--manual"))
        return manual(args[2], args[3], args[4]);
    if (args.size() == 3 && args[1] == QLatin1String("--icon"))
        return icon(args[2]);
    if (args.size() == 4 && args[1] == QLatin1String("--flags"))
        return flags(args[2], args[3]);
    QTextStream(stderr) << "usage: make_assets --manual IN.md OUT.pdf TITLE | --icon OUT.ico"
                           " | --flags DATEN.mdb FOLDER\n";
    return 2;
}
