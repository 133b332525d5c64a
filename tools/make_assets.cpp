// Build tool: turns a Markdown manual into a PDF (`--manual IN.md OUT.pdf TITLE`) and
// draws the window icon (`--icon OUT.ico`), with Qt alone.
#include <QFile>
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
#include <QTextDocument>
#include <QTextStream>

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
    doc.print(&pdf);
    return QFile::exists(out) ? 0 : 1;
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
    QImageWriter writer(out, "ico");
    if (!writer.write(image)) {
        // Without the ICO plugin a PNG under the same name serves Qt just as well.
        return image.save(out, "PNG") ? 0 : 1;
    }
    return 0;
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
    QTextStream(stderr) << "usage: make_assets --manual IN.md OUT.pdf TITLE | --icon OUT.ico\n";
    return 2;
}
