// The window, headless: set-up, conversions through the button, side panels, settings,
// close, files from the command line, and screenshots for review.
#include "TestSupport.h"

#include "frame/CaptionedField.h"
#include "frame/Controls.h"
#include "frame/FieldBox.h"
#include "frame/frmInvora.h"
#include "services/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

// A program folder of its own: the texts database, and the archive file when asked for.
struct ProgramFolder
{
    explicit ProgramFolder(bool textsDb = true, bool archive = false)
    {
        QDir(dir.path()).mkpath("DB");
        if (textsDb)
            QFile::copy(TEXTS_DB, dir.filePath("DB/Daten.mdb"));
        if (archive)
            QFile::copy(PROGRAM_FOLDER "/DB/Invoices.mdb", dir.filePath("DB/Invoices.mdb"));
    }
    QTemporaryDir dir;
};

struct Window
{
    explicit Window(const ProgramFolder &folder, MsgAnswer answer = MsgAnswer::No)
        : state(folder.dir.path()), sink(answer), window(state, &sink)
    {
        // Every version keeps settings of its own; so does every test window.
        window.openUrl = [this](const QUrl &url) {
            opened << url.toLocalFile();
            return true;
        };
        // No export folder unless a test sets one.
        field("txtExport(0)")->setText(QString());
    }

    CaptionedField *field(const QString &name) const { return window.findChild<CaptionedField *>(name); }
    QString text(const QString &name) const
    {
        return field(name) ? field(name)->text() : QStringLiteral("<missing>");
    }
    QTreeWidget *list(const char *name) const { return window.findChild<QTreeWidget *>(name); }
    QAction *command(const char *key) const { return window.findChild<QAction *>(key); }
    void click(const char *name) const { window.findChild<QPushButton *>(name)->click(); }

    void choose(const QString &file, int filterIndex)
    {
        field("txtFile(0)")->setFilterIndex(filterIndex);
        field("txtFile(0)")->setText(file);
        emit field("txtFile(0)")->pathChanged(file);
    }

    SharedState state;
    RecordingSink sink;
    frmInvora window;
    QStringList opened;
};

QString settingOf(const SharedState &state, const char *key)
{
    return SettingsStore::Read(state.AppTitle, "Settings", key, "<none>");
}

} // namespace

TEST(Window, SetUpWithAndWithoutTheDatabases)
{
    {
        ProgramFolder folder(true, false);
        Window w(folder);
        EXPECT_TRUE(w.sink.messages().empty());
        EXPECT_FALSE(w.command("btnSave")->isVisible()) << "no archive, no save command";
        EXPECT_EQ(w.text(controlKey(Rd::DocumentType)), "Rechnung");
        EXPECT_EQ(w.text(controlKey(Rd::TaxTotal)), "0,00");
        w.window.fillStatusBar();
        EXPECT_TRUE(w.window.findChild<QLabel *>("panel2")->text().startsWith("Benutzer:"));
        EXPECT_EQ(w.field("txtFile(0)")->text(), UserTempFolder()) << "first start: the temporary folder";
        EXPECT_EQ(w.field("txtAdresse(14)")->text(), "0.00");
        EXPECT_EQ(w.field("txtAdresse(13)")->text(), "2");
        EXPECT_EQ(w.field("txtAdresse(11)")->value(), "Verdana");
    }
    {
        ProgramFolder folder(true, true);
        Window w(folder, MsgAnswer::Yes);
        EXPECT_TRUE(w.command("btnSave")->isVisible());
        EXPECT_FALSE(w.command("btnSave")->isEnabled()) << "present but disabled until an import";
        w.choose(sample("Rechnung-2026-0815.xml"), 1);
        w.click("btnXRechnung");
        EXPECT_TRUE(w.command("btnSave")->isEnabled());
        // The command stores the invoice on screen after asking.
        w.command("btnSave")->trigger();
        ASSERT_EQ(w.sink.messages().size(), 2u);
        EXPECT_EQ(w.sink.messages()[0].number, 42);
        EXPECT_TRUE(w.sink.messages()[1].text.contains("Rechnung-2026-0815.xml saved."));
    }
    {
        // Without the texts database: the critical message, and the window still opens.
        ProgramFolder folder(false, false);
        Window w(folder);
        ASSERT_EQ(w.sink.messages().size(), 1u);
        EXPECT_EQ(w.sink.messages()[0].icon, MsgIcon::Critical);
        EXPECT_EQ(w.sink.messages()[0].title, "Tarvo Invorator");
        EXPECT_TRUE(w.sink.messages()[0].text.startsWith(
            "Data-Connect failed! Please control connect.udl in Folder \\DB\r\n"
            "Error Message: "));
        w.window.fillStatusBar();
        w.choose(sample("Rechnung-2026-0815.xml"), 1);
        w.click("btnXRechnung");
        EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "RE-2026-0815");
        EXPECT_EQ(w.field(controlKey(Rd::DocumentType))->value(), "380");
    }
}

TEST(Window, ConvertButtonShowsEveryKindOfInvoice)
{
    ProgramFolder folder;
    Window w(folder);
    w.choose(sample("Rechnung-2026-0815.xml"), 1);
    w.click("btnXRechnung");
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "RE-2026-0815");
    EXPECT_EQ(w.text(controlKey(Rd::DocumentType)), "Rechnung");
    EXPECT_EQ(w.text(controlKey(Rd::FinalAmount)), "333,13");
    EXPECT_EQ(w.text(controlKey(Rd::TaxCurrency)), "EUR");
    EXPECT_EQ(w.text(controlKey(Seller.Name)), "Holzwerk Brandt GmbH");
    EXPECT_EQ(w.text(controlKey(So::DuePayable)), "333,13");
    QTreeWidget *lines = w.list("lvTable");
    ASSERT_EQ(lines->topLevelItemCount(), 4);
    EXPECT_EQ(lines->topLevelItem(3)->text(3), "-2,00");
    EXPECT_EQ(lines->topLevelItem(3)->foreground(0).color(), QColor(255, 0, 0));
    EXPECT_EQ(lines->topLevelItem(3)->foreground(6).color(), QColor(255, 0, 0));
    EXPECT_NE(lines->topLevelItem(0)->foreground(0).color(), QColor(255, 0, 0));
    EXPECT_TRUE(lines->topLevelItem(0)->textAlignment(6) & Qt::AlignRight);
    EXPECT_EQ(w.list("lvUst")->topLevelItemCount(), 2);
    EXPECT_EQ(w.list("lvAbzuege")->topLevelItemCount(), 2);
    auto *positions = w.window.findChild<QTabWidget *>("sstabPos");
    EXPECT_FALSE(positions->isTabEnabled(3));

    w.choose(corpus("ubl/01.01a-INVOICE_ubl.xml"), 2);
    w.click("btnXRechnung");
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "123456XX");
    EXPECT_EQ(w.list("lvTable")->topLevelItemCount(), 2);
    EXPECT_EQ(w.text(controlKey(So::ProfileId)), "");

    w.choose(corpus("peppol/BIS3_Invoice_negativ.XML"), 3);
    EXPECT_TRUE(positions->isTabEnabled(3)) << "the identifiers page belongs to Peppol";
    w.click("btnXRechnung");
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "12345");
    EXPECT_FALSE(w.text(controlKey(So::ProfileId)).isEmpty());
    EXPECT_EQ(w.list("lvTable")->topLevelItem(0)->foreground(0).color(), QColor(255, 0, 0));

    w.choose(corpus("pdf/EN16931_Einfach.pdf"), 4);
    EXPECT_FALSE(positions->isTabEnabled(3));
    EXPECT_EQ(positions->currentIndex(), 0);
    w.click("btnXRechnung");
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "471102");
    EXPECT_EQ(w.text("txtFile(0)"), corpus("pdf/EN16931_Einfach.pdf")) << "the field keeps the PDF";
    EXPECT_EQ(w.state.FilterIndex, 1) << "an extracted PDF counts as CII";
    EXPECT_TRUE(w.sink.messages().empty());

    // The raw view shows the file's own text.
    w.choose(sample("Rechnung-2026-0815.xml"), 1);
    w.click("btnCodeAnzeigen");
    EXPECT_TRUE(w.window.findChild<QPlainTextEdit *>("txtXML")->toPlainText().contains("RE-2026-0815"));
}

TEST(Window, MismatchQuestionAndFilesFromOutside)
{
    ProgramFolder folder;
    Window yes(folder, MsgAnswer::Yes);
    yes.choose(corpus("ubl/01.01a-INVOICE_ubl.xml"), 1);
    yes.click("btnXRechnung");
    ASSERT_EQ(yes.sink.messages().size(), 1u);
    EXPECT_EQ(yes.sink.messages()[0].number, 50);
    EXPECT_EQ(yes.text(controlKey(Rd::InvoiceNumber)), "123456XX");
    EXPECT_EQ(yes.field("txtFile(0)")->filterIndex(), 2) << "the filter follows the kind read";

    // A file given on the command line or dropped: its content chooses the kind.
    Window w(folder);
    w.window.convertFile(corpus("pdf/EN16931_Einfach.pdf"));
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "471102");
    EXPECT_EQ(w.field("txtFile(0)")->filterIndex(), 4);
    w.window.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(corpus("peppol/BIS3_Invoice_negativ.XML"))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window's event handler, as a drag from the desktop would end.
    static_cast<QObject &>(w.window).event(&drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "12345");
    EXPECT_EQ(w.field("txtFile(0)")->filterIndex(), 3);
    EXPECT_TRUE(w.sink.messages().empty());
}

TEST(Window, SidePanelsDisableTheContentWhileOpen)
{
    ProgramFolder folder;
    Window w(folder);
    w.window.show();
    const std::pair<const char *, QPoint> panels[] = {
        {"btnSetting", {466, 200}}, {"btnMandant", {400, 120}}, {"btnSupport", {460, 120}}};
    const char *frames[] = {"frmSetting", "frmMandant", "frmSupport"};
    const char *closers[] = {"btnClose(4)", "btnClose(1)", "btnClose(3)"};
    for (int i = 0; i < 3; ++i) {
        w.command(panels[i].first)->trigger();
        auto *panel = w.window.findChild<QWidget *>(frames[i]);
        EXPECT_TRUE(panel->isVisible()) << frames[i];
        EXPECT_EQ(panel->pos(), panels[i].second) << frames[i];
        for (QWidget *c : w.window.contentSet())
            EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
        w.click(closers[i]);
        EXPECT_FALSE(panel->isVisible());
        for (QWidget *c : w.window.contentSet())
            EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    }
    // A second panel replaces the first.
    w.command("btnSetting")->trigger();
    w.command("btnSupport")->trigger();
    EXPECT_FALSE(w.window.findChild<QWidget *>("frmSetting")->isVisible());
    EXPECT_TRUE(w.window.findChild<QWidget *>("frmSupport")->isVisible());
}

TEST(Window, SettingsPageSaveAndCloseStoreTheSettings)
{
    ProgramFolder folder;
    QTemporaryDir exportDir;
    {
        Window w(folder);
        w.field("txtAdresse(13)")->setText("3");
        EXPECT_EQ(w.field("txtAdresse(14)")->text(), "#,##0.000");
        w.field("txtAdresse(13)")->setText("7");
        EXPECT_EQ(w.field("txtAdresse(14)")->text(), "#,##0.000") << "other places leave the format";
        w.click("btnSaveSetting");
        ASSERT_EQ(w.sink.messages().size(), 1u);
        EXPECT_EQ(w.sink.messages()[0].number, 37);
        EXPECT_EQ(w.sink.messages()[0].title, "Brellwerk");
        EXPECT_EQ(settingOf(w.state, "Format"), "#,##0.000");
        EXPECT_EQ(w.state.NumberFormat, "#,##0.000");
        // The next import uses its own pattern, and closing stores that one.
        w.field("txtExport(0)")->setText(exportDir.path());
        w.choose(corpus("pdf/EN16931_Einfach.pdf"), 4);
        w.click("btnXRechnung");
        EXPECT_EQ(w.text(controlKey(Rd::FinalAmount)), "529,87");
        w.window.close();
        EXPECT_EQ(settingOf(w.state, "Format"), "#,##0.00");
        EXPECT_EQ(settingOf(w.state, "FilterIndex"), "4") << "the dialog's index, not the kind read";
        EXPECT_EQ(settingOf(w.state, "LW"), corpus("pdf/EN16931_Einfach.pdf"));
        EXPECT_EQ(settingOf(w.state, "Folder"), exportDir.path());
        EXPECT_EQ(settingOf(w.state, "Language"), "DE");
    }
    // The next start shows what was stored.
    Window again(folder);
    EXPECT_EQ(again.text("txtFile(0)"), corpus("pdf/EN16931_Einfach.pdf"));
    EXPECT_EQ(again.field("txtFile(0)")->filterIndex(), 4);
    EXPECT_EQ(again.text("txtAdresse(13)"), "2");
}

TEST(Window, HelpOpensTheManualOfTheLanguage)
{
    ProgramFolder folder;
    Window w(folder);
    w.state.LanguageCode = "EN";
    w.window.openHelp();
    ASSERT_EQ(w.sink.messages().size(), 1u);
    EXPECT_EQ(w.sink.messages()[0].text, "Handbook was not found in the .\\Help directory!");
    EXPECT_TRUE(w.opened.isEmpty());
    QDir(folder.dir.path()).mkpath("Hilfe");
    writeFile(folder.dir, "Hilfe/Handbook.pdf", "%PDF-1.4");
    w.window.openHelp();
    EXPECT_EQ(w.opened, QStringList({folder.dir.filePath("Hilfe/Handbook.pdf")}));
    w.state.LanguageCode = "DE";
    w.window.openHelp();
    EXPECT_EQ(w.sink.messages().back().text, "Handbuch wurde im Verzeichnis .\\Hilfe nicht gefunden!");
}

// Writes pictures of the converted window for review into build/screenshots.
TEST(Window, ScreenshotsOfConvertedInvoices)
{
    QDir().mkpath(SCREENSHOT_DIR);
    const std::pair<QString, QString> shots[] = {{"cii.png", sample("Rechnung-2026-0815.xml")},
                                                 {"ubl.png", corpus("ubl/maxRechnung_ubl.xml")},
                                                 {"pdf.png", corpus("pdf/EN16931_Einfach.pdf")}};
    for (const auto &[name, invoice] : shots) {
        const QString out = QStringLiteral(SCREENSHOT_DIR "/") + name;
        QFile::remove(out);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(INVORATOR_EXE, {"--screenshot", out, invoice});
        ASSERT_TRUE(p.waitForFinished(60000)) << name.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QImage image(out);
        EXPECT_EQ(image.size(), QSize(1280, 800)) << name.toStdString();
    }
}

TEST(Window, RequiredFieldsAreMarkedAndCounted)
{
    QWidget form;
    auto *name = new CaptionedField("txtSupport(0)", "Name", CaptionedField::Kind::Text, &form);
    auto *file = new CaptionedField("txtSupport(1)", "Anhang", CaptionedField::Kind::Text, &form);
    auto *text = new CaptionedField("txtSupport(2)", "Ihre Nachricht", CaptionedField::Kind::Text, &form);
    auto *label = new QLabel(&form);
    file->setText("/tmp/x.pdf");
    form.show();
    RecordingSink sink;
    EXPECT_TRUE(CheckRequiredFields({name, file, text, label}, sink));
    ASSERT_EQ(sink.messages().size(), 1u);
    EXPECT_EQ(sink.messages()[0].title, "Brellwerk");
    EXPECT_EQ(sink.messages()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(sink.messages()[0].text.startsWith("Sie haben 3 Feld(er) nicht mit Daten gefüllt.\r\n"))
        << "the empty label counts too";
    EXPECT_EQ(name->lineEdit()->palette().color(QPalette::Base), QColor(255, 255, 132));
    EXPECT_EQ(text->lineEdit()->palette().color(QPalette::Base), QColor(255, 255, 132));
    EXPECT_NE(file->lineEdit()->palette().color(QPalette::Base), QColor(255, 255, 132));
    EXPECT_EQ(form.focusWidget(), static_cast<QWidget *>(name->lineEdit()));
    name->setText("Erika");
    text->setText("Bitte helfen");
    sink.clear();
    EXPECT_FALSE(CheckRequiredFields({name, file, text}, sink));
    EXPECT_TRUE(sink.messages().empty());
    EXPECT_NE(name->lineEdit()->palette().color(QPalette::Base), QColor(255, 255, 132));
    LockControls({name, file}, true);
    EXPECT_FALSE(name->isEnabled());
    EXPECT_TRUE(text->isEnabled());
    LockControls({name, file}, false);
    EXPECT_TRUE(name->isEnabled());
}
