// The window, headless: set-up, conversions through the button, side panels, settings,
// close, files from the command line, and screenshots for review.
#include "ArchiveRows.h"
#include "SmtpServer.h"
#include "TestSupport.h"

#include "archive/InvoiceArchive.h"
#include "checks/Validation.h"
#include "frame/ArchiveDialog.h"
#include "frame/CaptionedField.h"
#include "frame/CheckTexts.h"
#include "frame/DocumentCommands.h"
#include "frame/FieldBox.h"
#include "frame/frmInvora.h"
#include "localisation/ReasonTexts.h"
#include "model/Payment.h"
#include "services/SettingsStore.h"
#include "services/XmlDocument.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

// A program folder of its own: the texts database, the validation data, and the archive
// file when asked for.
struct ProgramFolder
{
    explicit ProgramFolder(bool textsDb = true, bool archive = false)
    {
        QDir(dir.path()).mkpath("DB");
        QFile::link(PROGRAM_FOLDER "/Validation", dir.filePath("Validation"));
        if (textsDb)
            QFile::copy(TEXTS_DB, dir.filePath("DB/Daten.mdb"));
        if (archive)
            QFile::copy(PROGRAM_FOLDER "/DB/Invoices.mdb", dir.filePath("DB/Invoices.mdb"));
    }
    QTemporaryDir dir;
};

// Runs statements on one of the folder's databases (the texts database unless named); the
// value of the last one's first column.
QVariant sql(const ProgramFolder &folder, const QStringList &statements, const char *file = "DB/Daten.mdb")
{
    QVariant last;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "edit");
        db.setDatabaseName(folder.dir.filePath(file));
        EXPECT_TRUE(db.open());
        for (const QString &statement : statements) {
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(statement))
                << statement.toStdString() << ": " << q.lastError().text().toStdString();
            last = q.next() ? q.value(0) : QVariant();
        }
    }
    QSqlDatabase::removeDatabase("edit");
    return last;
}

struct Window
{
    explicit Window(const ProgramFolder &folder, MsgAnswer answer = MsgAnswer::No,
                    const QString &language = {})
        : state(folder.dir.path()), language((state.CommandLineLanguage = language, 0)), sink(answer),
          window(state, &sink)
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
    // Picks an entry of a list field as a user does: through the list widget itself.
    void pick(const QString &name, const QString &code) const
    {
        auto *list = qobject_cast<QComboBox *>(field(name)->editor());
        ASSERT_NE(list, nullptr) << name.toStdString();
        const int index = list->findData(code, Qt::UserRole);
        ASSERT_GE(index, 0) << code.toStdString();
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    QWidget *widget(const char *name) const { return window.findChild<QWidget *>(name); }

    void choose(const QString &file, int filterIndex)
    {
        field("txtFile(0)")->setFilterIndex(filterIndex);
        field("txtFile(0)")->setText(file);
        emit field("txtFile(0)")->pathChanged(file);
    }
    void convert(const QString &file, int filterIndex)
    {
        choose(file, filterIndex);
        click("btnXRechnung");
        waitForValidation();
    }
    // The validation runs beside the window; its result arrives as an event.
    void waitForValidation()
    {
        const QLabel *mark = window.findChild<QLabel *>("validMark");
        for (int i = 0; i < 2000 && mark->text() == QStringLiteral("…"); ++i)
            QTest::qWait(5);
    }

    QString caption(const QString &name) const { return field(name)->caption(); }
    QString buttonText(const char *name) const { return window.findChild<QPushButton *>(name)->text(); }

    SharedState state;
    int language; // set before the window starts
    RecordingSink sink;
    frmInvora window;
    QStringList opened;
};

QString settingOf(const SharedState &state, const char *key)
{
    return SettingsStore::Read(state.AppTitle, "Settings", key, "<none>");
}

// Stores settings for the next window, whatever windows closed before in this process.
void storeSettings(const ProgramFolder &folder, const QList<std::pair<QString, QString>> &values)
{
    const SharedState state(folder.dir.path());
    for (const auto &[key, value] : values)
        SettingsStore::Write(state.AppTitle, "Settings", key, value);
}

QList<int> numbers(const RecordingSink &sink)
{
    QList<int> n;
    for (const Message &m : sink.messages())
        n << m.number;
    return n;
}

// Runs the program as a user starts it; what it printed.
QByteArray runProgram(const QStringList &args, int status = 0)
{
    QProcess p;
    p.start(INVORATOR_EXE, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
    EXPECT_EQ(p.exitCode(), status) << args.join(' ').toStdString() << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
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
        w.window.fillStatusBar();
        EXPECT_TRUE(w.window.findChild<QLabel *>("panel2")->text().startsWith("Benutzer:"));
        // First start: no invoice, the dialog on every invoice, no attachment for support.
        EXPECT_EQ(w.text("txtFile(0)"), "");
        EXPECT_EQ(w.field("txtFile(0)")->filterIndex(), 5);
        EXPECT_EQ(w.text("txtSupport(1)"), "");
        EXPECT_EQ(w.field("txtAdresse(13)")->text(), "2");
    }
    {
        // Without the texts database: the critical message, and the window still opens.
        ProgramFolder folder(false, false);
        Window w(folder);
        ASSERT_EQ(w.sink.messages().size(), 1u);
        EXPECT_EQ(w.sink.messages()[0].icon, MsgIcon::Critical);
        EXPECT_TRUE(w.sink.messages()[0].text.startsWith(
            "Data-Connect failed! Please control connect.udl in Folder \\DB\r\n"
            "Error Message: "));
        w.window.fillStatusBar();
        w.convert(sample("Rechnung-2026-0815.xml"), 1);
        EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "RE-2026-0815");
        EXPECT_EQ(w.field(controlKey(Rd::DocumentType))->value(), "380");
    }
}

// Saving, printing and the PDF act on the invoice on show: another file in the invoice
// field, picked or typed, disables them until it is read, and the archive stores the file
// as its import read it, even when the file has changed on disk since.
TEST(Window, CommandsActOnTheInvoiceOnShow)
{
    ProgramFolder folder(true, true);
    QTemporaryDir dir;
    const QByteArray first = readFile(sample("Rechnung-2026-0815.xml"));
    const QByteArray second = readFile(corpus("cii/EN16931_Einfach.cii.xml"));
    const QString a = writeFile(dir, "a.xml", first);
    const QString b = writeFile(dir, "b.xml", second);
    Window w(folder, MsgAnswer::Yes);
    const auto enabled = [&] {
        QString flags;
        for (const char *key : {"btnSave", "btnPrint", "btnPdf"})
            flags += w.command(key)->isEnabled() ? '1' : '0';
        return flags;
    };
    const auto archived = [&](const char *what) {
        return sql(folder, {QString("SELECT %1 FROM tblDocuments ORDER BY ID").arg(what)}, "DB/Invoices.mdb");
    };
    EXPECT_TRUE(w.command("btnSave")->isVisible()) << "an archive, a save command";
    EXPECT_EQ(enabled(), "000") << "nothing read yet";
    w.convert(a, 1);
    EXPECT_EQ(enabled(), "111");
    w.choose(b, 1); // picked in the dialog, not yet read
    EXPECT_EQ(enabled(), "000");
    w.window.SaveToArchive();
    EXPECT_TRUE(w.sink.messages().empty()) << "nothing saved, nothing asked";
    w.field("txtFile(0)")->lineEdit()->setText(a); // typed back: the invoice on show again
    EXPECT_EQ(enabled(), "111");
    w.field("txtFile(0)")->lineEdit()->setText(a + "x");
    EXPECT_EQ(enabled(), "000");

    const QString broken = writeFile(dir, "broken.xml", "<rsm:CrossIndustryInvoice");
    w.convert(broken, 5);
    EXPECT_EQ(enabled(), "000") << "a failed read leaves nothing to save, print or write";
    w.sink.clear();
    w.window.SaveToArchive();
    EXPECT_TRUE(w.sink.messages().empty());

    w.convert(b, 1);
    EXPECT_EQ(enabled(), "111");
    writeFile(dir, "b.xml", first); // the file changes after it was read
    w.command("btnSave")->trigger();
    ASSERT_EQ(numbers(w.sink), QList<int>({43})) << "a new invoice is saved without a question";
    EXPECT_EQ(archived("InvoiceNumber").toString(), "471102");
    EXPECT_EQ(archived("BinaryFile").toByteArray(), second);
    EXPECT_EQ(sql(folder, {"SELECT InvoiceNumber FROM tblInvoice"}, "DB/Invoices.mdb").toString(), "471102");
    w.command("btnSave")->trigger();
    ASSERT_EQ(numbers(w.sink), QList<int>({43, 42, 43})) << "replacing it is asked about";
    EXPECT_EQ(
        sql(folder, {"SELECT count(*) FROM tblInvoice WHERE ReplacedDate IS NOT NULL"}, "DB/Invoices.mdb")
            .toInt(),
        1);
}

TEST(Window, ConvertButtonShowsEveryKindOfInvoice)
{
    ProgramFolder folder;
    Window w(folder);
    w.convert(sample("Rechnung-2026-0815.xml"), 1);
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "RE-2026-0815");
    EXPECT_EQ(w.text(controlKey(Rd::FinalAmount)), "333,13");
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

    w.choose(corpus("peppol/BIS3_Invoice_negativ.XML"), 3);
    EXPECT_TRUE(positions->isTabEnabled(3)) << "the identifiers page belongs to Peppol";
    w.click("btnXRechnung");
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "12345");
    EXPECT_EQ(w.text(controlKey(Seller.VatId)), "DK12345678") << "USt-IdNr. beside the same tax number";

    w.choose(corpus("pdf/EN16931_Einfach.pdf"), 4);
    EXPECT_FALSE(positions->isTabEnabled(3));
    EXPECT_EQ(positions->currentIndex(), 0);
    w.click("btnXRechnung");
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "471102");
    EXPECT_EQ(w.text("txtFile(0)"), corpus("pdf/EN16931_Einfach.pdf")) << "the field keeps the PDF";
    EXPECT_EQ(w.state.FilterIndex, 1) << "an extracted PDF counts as CII";
    EXPECT_TRUE(w.sink.messages().empty());
}

TEST(Window, MismatchQuestionAndFilesFromOutside)
{
    ProgramFolder folder;
    Window yes(folder, MsgAnswer::Yes);
    yes.convert(corpus("ubl/01.01a-INVOICE_ubl.xml"), 1);
    EXPECT_EQ(numbers(yes.sink), QList<int>({50}));
    EXPECT_EQ(yes.text(controlKey(Rd::InvoiceNumber)), "123456XX");
    EXPECT_EQ(yes.field("txtFile(0)")->filterIndex(), 1) << "the filter stays the user's pick";
    yes.sink.clear();
    yes.convert(sample("Rechnung-2026-0815.xml"), 4);
    EXPECT_EQ(numbers(yes.sink), QList<int>({50})) << "an XML file under the ZUGFeRD filter";

    // A file given on the command line or dropped: its content chooses the kind.
    Window w(folder);
    w.window.convertFile(corpus("pdf/EN16931_Einfach.pdf"));
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "471102");
    EXPECT_EQ(w.field("txtFile(0)")->filterIndex(), 5);
    w.window.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(corpus("peppol/BIS3_Invoice_negativ.XML"))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window's event handler, as a drag from the desktop would end.
    static_cast<QObject &>(w.window).event(&drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "12345");
    EXPECT_EQ(w.field("txtFile(0)")->filterIndex(), 5);
    EXPECT_TRUE(w.window.findChild<QTabWidget *>("sstabPos")->isTabEnabled(3)) << "a Peppol invoice was read";
    // Converted under the filter the dialog starts on, a UBL file is read as UBL, unasked.
    w.field("txtFile(0)")->setText(corpus("ubl/01.01a-INVOICE_ubl.xml"));
    w.click("btnXRechnung");
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "123456XX");
    EXPECT_TRUE(w.sink.messages().empty());
}

// The command bar: a side panel disables the content while open; help opens the manual of
// the language.
TEST(Window, CommandBarOpensPanelsAndTheManual)
{
    ProgramFolder folder;
    Window w(folder);
    w.window.show();
    const char *const panels[][3] = {{"btnSetting", "frmSetting", "btnClose(4)"},
                                     {"btnMandant", "frmMandant", "btnClose(1)"},
                                     {"btnSupport", "frmSupport", "btnClose(3)"}};
    for (const auto &[command, frame, closer] : panels) {
        w.command(command)->trigger();
        EXPECT_TRUE(w.widget(frame)->isVisible()) << frame;
        for (QWidget *c : w.window.contentSet())
            EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
        w.click(closer);
        EXPECT_FALSE(w.widget(frame)->isVisible()) << frame;
        for (QWidget *c : w.window.contentSet())
            EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    }
    // A second panel replaces the first.
    w.command("btnSetting")->trigger();
    w.command("btnSupport")->trigger();
    EXPECT_FALSE(w.widget("frmSetting")->isVisible());
    EXPECT_TRUE(w.widget("frmSupport")->isVisible());

    // The English manual missing, then there; the German one, still missing, is not replaced
    // by it, and the user is told so in German.
    w.state.LanguageCode = "EN";
    w.window.openHelp();
    ASSERT_EQ(w.sink.messages().size(), 1u);
    EXPECT_TRUE(w.opened.isEmpty());
    QDir(folder.dir.path()).mkpath("Hilfe");
    writeFile(folder.dir, "Hilfe/Handbook.pdf", "%PDF-1.4");
    w.window.openHelp();
    EXPECT_EQ(w.opened, QStringList({folder.dir.filePath("Hilfe/Handbook.pdf")}));
    w.state.LanguageCode = "DE";
    w.window.openHelp();
    ASSERT_EQ(w.sink.messages().size(), 2u);
    EXPECT_NE(w.sink.messages()[1].text, w.sink.messages()[0].text);
    EXPECT_EQ(w.opened.size(), 1);
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
        EXPECT_EQ(numbers(w.sink), QList<int>({37}));
        EXPECT_EQ(settingOf(w.state, "Format"), "#,##0.000");
        EXPECT_EQ(w.state.NumberFormat, "#,##0.000");
        // The next import uses its own pattern, and closing stores that one.
        w.field("txtExport(0)")->setText(exportDir.path());
        w.convert(corpus("pdf/EN16931_Einfach.pdf"), 4);
        EXPECT_EQ(w.text(controlKey(Rd::FinalAmount)), "529,87");
        w.window.close();
        EXPECT_EQ(settingOf(w.state, "Format"), "#,##0.00");
        EXPECT_EQ(settingOf(w.state, "FilterIndex"), "4") << "the dialog's index, not the kind read";
        EXPECT_EQ(settingOf(w.state, "LW"), corpus("pdf/EN16931_Einfach.pdf"));
        EXPECT_EQ(settingOf(w.state, "Folder"), exportDir.path());
        EXPECT_EQ(settingOf(w.state, "Language"), "DE");
    }
    // The next start shows what was stored; a language picked in the list is what is saved.
    Window again(folder);
    EXPECT_EQ(again.text("txtFile(0)"), corpus("pdf/EN16931_Einfach.pdf"));
    EXPECT_EQ(again.field("txtFile(0)")->filterIndex(), 5) << "the dialog starts on every invoice";
    again.pick("txtAdresse(5)", "EN");
    again.click("btnSaveSetting");
    EXPECT_EQ(settingOf(again.state, "Language"), "EN");
    EXPECT_EQ(again.field("txtAdresse(5)")->value(), "EN");
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
        runProgram({"--screenshot", out, invoice});
        EXPECT_FALSE(QImage(out).isNull()) << name.toStdString();
    }
}

// Arguments that ask for no one run, or a file too many or too few, end the program with
// exit 2 before a window opens.
// The window on common screens, pictured for review: at 1024x700 and up every column of
// the lines is in sight, at 1366x768 a party's fields too, wide enough for their texts.
TEST(Window, LayoutFitsCommonScreens)
{
    ProgramFolder folder;
    QDir().mkpath(SCREENSHOT_DIR);
    for (const QSize size : {QSize(1366, 768), QSize(1024, 700), QSize(800, 560)}) {
        Window w(folder);
        w.convert(corpus("ubl/maxRechnung_ubl.xml"), 5);
        w.window.resize(size);
        w.window.show();
        QCoreApplication::processEvents();
        const QString name = QString("%1x%2").arg(size.width()).arg(size.height());
        EXPECT_TRUE(w.window.grab().save(QStringLiteral(SCREENSHOT_DIR "/window-") + name + ".png"));
        if (size.width() < 1024)
            continue;
        const QTreeWidget *lines = w.list("lvTable");
        EXPECT_EQ(lines->horizontalScrollBar()->maximum(), 0) << name.toStdString();
        if (size.width() < 1366)
            continue;
        const auto *page = w.window.findChild<QScrollArea *>("invoicePage");
        const QWidget *seller = w.widget("frmSeller");
        EXPECT_LE(seller->mapTo(page->widget(), QPoint(0, seller->height())).y(), page->viewport()->height());
        for (const FieldId id : {Seller.Name, Seller.VatId, Seller.Street, Seller.Email}) {
            const QLineEdit *edit = w.field(controlKey(id))->lineEdit();
            EXPECT_LT(edit->fontMetrics().horizontalAdvance(edit->text()), edit->width() - 8)
                << edit->text().toStdString();
        }
    }
}

TEST(Window, UsageErrorsExitWith2)
{
    for (const QStringList &args :
         {QStringList{"--screenshot", "out.png"}, QStringList{"--dump-texts", "a.xml"},
          QStringList{"--shown", "--dump-texts"}, QStringList{"a.xml", "b.xml"}, QStringList{"--bogus"},
          QStringList{"--lang"}})
        runProgram(args, 2);
}

// The program as a user starts it: every translatable text of the window is there in
// each language, and English and French are no German left over. A control added
// later without a translation fails here.
TEST(Window, EveryLanguageNamesEveryControl)
{
    const auto dump = [](const char *language) {
        QHash<QString, QStringList> texts; // object → its texts in order
        for (const QJsonValue &v :
             QJsonDocument::fromJson(runProgram({"--dump-texts", "--lang", language})).array()) {
            const QJsonObject o = v.toObject();
            const QString kind = o["kind"].toString();
            QStringList &t = texts[o["object"].toString()];
            if (kind.contains("CaptionedField") || kind == "QPushButton" || kind == "QGroupBox" ||
                kind.endsWith("Panel") || kind.endsWith("Area") || o["object"].toString().startsWith("lbl"))
                t << o["text"].toString();
            for (const char *list : {"tabs", "headers"})
                for (const QJsonValue &text : o[list].toArray())
                    t << text.toString();
            for (const QJsonValue &button : o["buttons"].toArray()) {
                t << button["text"].toString();
                for (const QJsonValue &entry : button["entries"].toArray())
                    t << entry["text"].toString();
            }
        }
        return texts;
    };
    const auto german = dump("DE");
    ASSERT_GT(german.size(), 100);
    EXPECT_EQ(german["cBar"].size(), 10) << "eight buttons and the help menu's two entries";
    // Proper names, codes and words the languages share.
    const QStringList same = {"XML",  "PDF",         "Support",    "Format", "Name",
                              "Code", "Endpoint ID", "Profile ID", "BIC"};
    for (const char *language : {"EN", "FR"}) {
        const auto translated = dump(language);
        for (auto it = german.cbegin(); it != german.cend(); ++it) {
            const QStringList &theirs = translated.value(it.key());
            ASSERT_EQ(theirs.size(), it.value().size()) << it.key().toStdString();
            for (qsizetype i = 0; i < theirs.size(); ++i) {
                const QString &de = it.value()[i];
                if (de.trimmed().isEmpty())
                    continue;
                EXPECT_FALSE(theirs[i].isEmpty()) << language << " " << it.key().toStdString() << " #" << i;
                if (!same.contains(de)) {
                    EXPECT_NE(theirs[i], de) << language << " " << it.key().toStdString() << " #" << i;
                }
            }
        }
    }
    // Every control that explains itself in English or French does so in German too (a
    // command's tip that only repeats its caption explains nothing).
    const auto tips = [](const char *language) {
        QStringList objects;
        for (const QJsonValue &v :
             QJsonDocument::fromJson(runProgram({"--dump-texts", "--lang", language})).array()) {
            if (!v["toolTip"].toString().isEmpty())
                objects << v["object"].toString();
            for (const QJsonValue &button : v["buttons"].toArray())
                if (button["toolTip"].toString() != button["text"].toString())
                    objects << button["object"].toString();
        }
        return objects;
    };
    const QStringList germanTips = tips("DE");
    EXPECT_GT(germanTips.size(), 90);
    for (const char *language : {"EN", "FR"})
        EXPECT_EQ(tips(language), germanTips) << language;
}

// A missing row, column or table leaves the designed text; a Null button caption is empty;
// German keeps the designed captions but reads list headers and widths.
TEST(Window, MissingTextsLeaveTheDesignedOnes)
{
    ProgramFolder folder;
    sql(folder,
        {"DELETE FROM tblLabelUebersetzung WHERE Feldname = 'txtSeller(3)'",
         "UPDATE tblLabelUebersetzung SET EN = NULL WHERE Feldname IN ('btnXRechnung', 'txtSeller(5)')",
         "ALTER TABLE tblLabelUebersetzung DROP COLUMN ToolTipTextEN",
         "UPDATE tblLabelUebersetzung SET DE = 'Falsch'",
         "DELETE FROM tblLabelUebersetzungSSTab WHERE SSTab = 'sstabPos' AND TabIndex >= 4",
         "DELETE FROM tblLabelUebersetzungListView WHERE ListView = 'lvTable' AND Index1 = 3",
         "UPDATE tblLabelUebersetzungListView SET DE = 'Nr.', Width = '77' "
         "WHERE ListView = 'lvTable' AND Index1 = 1",
         "UPDATE tblLabelUebersetzungBar SET EN = NULL WHERE Feldname IN ('btnPrint', 'mnuInfo')"});
    {
        Window w(folder, MsgAnswer::No, "EN");
        EXPECT_EQ(w.caption("txtSeller(3)"), "Straße") << "no row";
        EXPECT_EQ(w.caption("txtSeller(5)"), "PLZ") << "a Null caption changes nothing";
        EXPECT_EQ(w.caption("txtSeller(6)"), "City");
        EXPECT_EQ(w.buttonText("btnXRechnung"), "") << "a button takes a Null as the empty text";
        EXPECT_EQ(w.command("btnPrint")->text(), "Drucken") << "a command keeps its caption on a Null";
        EXPECT_EQ(w.command("mnuInfo")->text(), "Über Tarvo Invorator");
        EXPECT_EQ(w.command("btnSave")->text(), "Archive invoice");
        EXPECT_EQ(w.field("txtSeller(6)")->toolTip(), "<b>City</b>") << "no text column: the title alone";
        const auto *tabs = w.window.findChild<QTabWidget *>("sstabPos");
        EXPECT_EQ(tabs->tabText(3), "Identifiers");
        EXPECT_EQ(tabs->tabText(4), "Prüfung") << "fewer rows than tabs";
        const QTreeWidget *lines = w.list("lvTable");
        EXPECT_EQ(lines->headerItem()->text(1), "Item");
        EXPECT_EQ(lines->headerItem()->text(2), "Bezeichnung") << "no row for the column";
        EXPECT_EQ(lines->headerItem()->text(3), "Menge") << "the columns after it keep theirs";
        EXPECT_TRUE(w.sink.messages().empty());
    }
    {
        Window w(folder, MsgAnswer::No, "DE");
        EXPECT_EQ(w.caption("txtSeller(6)"), "Ort");
        EXPECT_EQ(w.buttonText("btnXRechnung"), "Konvertieren");
        EXPECT_EQ(w.list("lvTable")->headerItem()->text(0), "Nr.");
        EXPECT_EQ(w.list("lvTable")->columnWidth(0), 77);
    }
    // French asked of a database without French and without tab texts: German, no message.
    sql(folder,
        {"ALTER TABLE tblLabelUebersetzung DROP COLUMN FR", "DROP TABLE tblLabelUebersetzungSSTab",
         "ALTER TABLE tblMeldungen DROP COLUMN FR", "ALTER TABLE tblLabelUebersetzungBar DROP COLUMN FR"});
    QDir(folder.dir.path()).mkpath("Flags");
    QFile::copy(PROGRAM_FOLDER "/Flags/EN.ico", folder.dir.filePath("Flags/EN.ico"));
    Window w(folder, MsgAnswer::No, "FR");
    EXPECT_EQ(w.caption("txtSeller(6)"), "Ort");
    EXPECT_EQ(w.window.findChild<QTabWidget *>("sstabPos")->tabText(0), "Positionen");
    for (const auto &[key, caption] :
         {std::pair{"btnSave", "Archivieren"}, {"btnHelp", "Hilfe"}, {"mnuHandbuch", "Benutzerhandbuch"}})
        EXPECT_EQ(w.command(key)->text(), caption) << "no French column: the designed caption";
    EXPECT_TRUE(w.sink.messages().empty());
    // Flags where the file is there, none where it is missing, codes in the table's order.
    const auto *languages = w.field("txtAdresse(5)")->findChild<QComboBox *>();
    ASSERT_EQ(languages->count(), 3);
    EXPECT_EQ(languages->itemText(0), "DE");
    EXPECT_TRUE(languages->itemIcon(0).isNull());
    EXPECT_EQ(languages->itemText(1), "EN");
    EXPECT_FALSE(languages->itemIcon(1).isNull());
}

TEST(Window, ColumnWidthsSurviveARestart)
{
    ProgramFolder folder;
    sql(folder, {"DELETE FROM tblLabelUebersetzungListView"});
    const QString rows = "SELECT count(*) FROM tblLabelUebersetzungListView";
    const auto stored = [&](const QString &list, int column) {
        return sql(folder, {"SELECT DE || '/' || Width FROM tblLabelUebersetzungListView WHERE ListView = '" +
                            list + "' AND Index1 = " + QString::number(column)})
            .toString();
    };
    QList<int> designed; // the allowances' widths before any is stored
    {
        Window w(folder, MsgAnswer::No, "EN");
        EXPECT_EQ(w.list("lvTable")->headerItem()->text(1), "Artikel") << "no rows: the designed headers";
        for (int c = 0; c < 4; ++c)
            designed << w.list("lvAbzuege")->columnWidth(c);
        w.list("lvTable")->setColumnWidth(1, 123);
        w.window.close();
    }
    // The first close seeds one row per column, with the German header.
    EXPECT_EQ(sql(folder, {rows}).toInt(), 7 + 8 + 5 + 12);
    EXPECT_EQ(stored("lvTable", 2), "Artikel/123");
    {
        Window w(folder);
        EXPECT_EQ(w.list("lvTable")->columnWidth(1), 123);
        w.list("lvAbzuege")->setColumnWidth(0, 150);
        w.window.close();
    }
    // Later closes change widths only.
    EXPECT_EQ(sql(folder, {rows}).toInt(), 32);
    EXPECT_EQ(stored("lvAbzuege", 1), "Code/150");
    // Stored widths that are no width are ignored; a decimal part is cut.
    sql(folder,
        {"UPDATE tblLabelUebersetzungListView SET Width = CASE Index1 WHEN 1 THEN '-5' WHEN 2 THEN '' "
         "WHEN 3 THEN 'breit' WHEN 4 THEN '20000' ELSE '1440,5' END WHERE ListView = 'lvAbzuege'"});
    Window w(folder);
    const QTreeWidget *allowances = w.list("lvAbzuege");
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(allowances->columnWidth(c), designed[c]) << c;
    EXPECT_EQ(allowances->columnWidth(4), 1440);
}

TEST(Window, ClientRecordLoadsSavesAndSwitchesTheLanguage)
{
    ProgramFolder folder;
    sql(folder, {"UPDATE tblAdressen SET Ort = NULL"});
    storeSettings(folder, {{"Language", "DE"}, {"Font", "Arial"}, {"FontSize", "9"}});
    Window w(folder);
    EXPECT_EQ(w.text("txtAdresse(0)"), "Musterfirma GmbH");
    EXPECT_EQ(w.text("txtAdresse(4)"), "") << "a Null loads as the empty text";
    EXPECT_EQ(w.field("txtAdresse(2)")->value(), "DE");

    w.field("txtAdresse(0)")->setText("Neuer Name AG");
    w.field("txtAdresse(1)")->setText("  Lindenweg 5  ");
    w.field("txtAdresse(11)")->setValue("");
    w.field("txtAdresse(12)")->setText(" ");
    w.click("btnMandantSpeichern");
    EXPECT_EQ(numbers(w.sink), QList<int>({3}));
    EXPECT_EQ(sql(folder, {"SELECT Strasse || '|' || Ort || '|' || Name1 FROM tblAdressen"}).toString(),
              "Lindenweg 5||Neuer Name AG");
    EXPECT_EQ(w.state.FontName, "Verdana");
    EXPECT_EQ(w.state.FontSize, "8");
    EXPECT_EQ(settingOf(w.state, "Font"), "Arial") << "the client save leaves the settings store";

    // Another language translates the window at once, and its font goes with it; the
    // language and the country are picked in their lists, and the pick is what is stored.
    w.pick("txtAdresse(5)", "EN");
    w.pick("txtAdresse(2)", "FR");
    w.field("txtAdresse(11)")->setValue("Courier New");
    w.field("txtAdresse(12)")->setText("11");
    w.click("btnMandantSpeichern");
    EXPECT_EQ(w.state.LanguageCode, "EN");
    EXPECT_EQ(sql(folder, {"SELECT Land || '|' || Sprache FROM tblAdressen"}).toString(), "FR|EN");
    EXPECT_EQ(w.field("txtAdresse(2)")->value(), "FR") << "the translated list keeps the pick";
    EXPECT_EQ(w.caption("txtSeller(3)"), "Street");
    EXPECT_EQ(w.field("txtSeller(3)")->font().family(), "Courier New");
    EXPECT_EQ(w.field("txtSeller(3)")->font().pointSize(), 11);
    EXPECT_EQ(w.sink.messages().back().text, "The client data has been saved.");
    EXPECT_EQ(w.text(controlKey(Rd::DocumentType)), "Commercial invoice");
    // The same language again: no second translation.
    sql(folder, {"UPDATE tblLabelUebersetzung SET EN = 'Road' WHERE Feldname = 'txtSeller(3)'"});
    w.click("btnMandantSpeichern");
    EXPECT_EQ(w.caption("txtSeller(3)"), "Street");
    // Back to German: the designed captions again.
    w.field("txtAdresse(5)")->setValue("DE");
    w.click("btnMandantSpeichern");
    EXPECT_EQ(w.caption("txtSeller(3)"), "Straße");
}

TEST(Window, ClientRecordWithoutARow)
{
    ProgramFolder folder;
    sql(folder, {"DELETE FROM tblAdressen"});
    storeSettings(folder, {{"Language", "DE"}});
    Window w(folder);
    ASSERT_EQ(numbers(w.sink), QList<int>({4}));
    EXPECT_EQ(w.sink.messages()[0].icon, MsgIcon::Exclamation);
    w.field("txtAdresse(0)")->setText("Neu GmbH");
    w.field("txtAdresse(5)")->setValue("EN");
    w.click("btnMandantSpeichern");
    EXPECT_EQ(numbers(w.sink), QList<int>({4, 2})) << "nothing after the failure";
    EXPECT_EQ(w.state.LanguageCode, "DE");
    EXPECT_EQ(sql(folder, {"SELECT count(*) FROM tblAdressen"}).toInt(), 0);
}

TEST(Window, SupportRequestIsMailedWhileTheWindowStaysAlive)
{
    ProgramFolder folder;
    SmtpServer &server = SmtpServer::instance();
    const QString config = server.writeConfig(folder.dir.filePath("DB"));
    Window w(folder, MsgAnswer::Yes);
    QWidget *panel = w.widget("frmSupport");
    const int before = server.mailCount();
    w.field("txtSupport(1)")->setText("");
    // The message may take several lines.
    w.field("txtSupport(2)")->setText("Die Rechnung zeigt keine Positionen.\nSeit gestern.");
    // A required field empty: marked, focused and counted in the error box, nothing asked.
    const auto marked = [&](const char *name) {
        return w.field(name)->editor()->palette().color(QPalette::Base) == QColor(255, 255, 132);
    };
    w.click("cmdSenden(1)");
    ASSERT_EQ(w.sink.messages().size(), 1u);
    EXPECT_EQ(w.sink.messages()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(w.sink.messages()[0].text.startsWith("Sie haben 1 Feld(er) nicht mit Daten gefüllt.\r\n"));
    EXPECT_TRUE(marked("txtSupport(0)"));
    EXPECT_FALSE(marked("txtSupport(2)"));
    EXPECT_EQ(w.window.focusWidget(), static_cast<QWidget *>(w.field("txtSupport(0)")->lineEdit()));

    // The client saved under a new name: the mail names the company loaded at start-up.
    w.field("txtAdresse(0)")->setText("Umbenannt AG");
    w.click("btnMandantSpeichern");
    w.sink.clear();
    w.field("txtSupport(0)")->setText("Erika Mustermann");
    // The end of the request comes from another thread.
    QSignalSpy finished(&w.window, &frmInvora::supportRequestFinished);
    w.click("cmdSenden(1)");
    EXPECT_FALSE(panel->isEnabled()) << "the panel waits while the mail is sent";
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(finished[0][0].toBool());
    EXPECT_EQ(numbers(w.sink), QList<int>({31, 36}));
    EXPECT_EQ(w.sink.messages()[1].icon, MsgIcon::Information);
    ASSERT_EQ(server.mailCount(), before + 1);
    EXPECT_EQ(
        QString::fromUtf8(QByteArray::fromBase64(server.mail(before + 1)["body"].toString().toLatin1())),
        "Erika Mustermann\r\n\r\nMusterfirma GmbH\r\nerika.mustermann@musterfirma.example\r\n"
        "Die Rechnung zeigt keine Positionen.\nSeit gestern.");
    // Support answers the client's address, not the contact's nor the sender's.
    EXPECT_EQ(server.mail(before + 1)["replyTo"].toString(), "buchhaltung@musterfirma.example");
    EXPECT_TRUE(panel->isEnabled());
    EXPECT_EQ(w.text("txtSupport(0)"), "Erika Mustermann") << "the panel keeps its texts";
    EXPECT_FALSE(marked("txtSupport(0)")) << "filled: no longer marked";

    // No to the question: nothing sent.
    w.sink.clear();
    w.sink.answerQuestionsWith(MsgAnswer::No);
    w.click("cmdSenden(1)");
    EXPECT_EQ(numbers(w.sink), QList<int>({31}));

    // The start folder as attachment: the error box, nothing sent.
    w.sink.clear();
    w.sink.answerQuestionsWith(MsgAnswer::Yes);
    w.field("txtSupport(1)")->setText(folder.dir.path());
    w.click("cmdSenden(1)");
    ASSERT_EQ(w.sink.messages().size(), 1u) << "no question before the error";
    EXPECT_EQ(w.sink.messages()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(w.sink.messages()[0].text.startsWith("Fehler beim Senden der Nachricht: Die Anlage"));
    EXPECT_EQ(server.mailCount(), before + 1);

    // Without the mail set-up the user learns so before being asked to send.
    w.sink.clear();
    w.field("txtSupport(1)")->setText("");
    QFile::remove(config);
    w.click("cmdSenden(1)");
    ASSERT_EQ(numbers(w.sink), QList<int>({0}));
    EXPECT_TRUE(w.sink.messages()[0].text.startsWith("Fehler beim Senden der Nachricht: "));
    EXPECT_EQ(server.mailCount(), before + 1);
}

TEST(Window, ClosingTheWindowEndsASendingMail)
{
    ProgramFolder folder;
    SilentPort silent;
    SmtpServer::instance().writeConfig(
        folder.dir.filePath("DB"),
        {{"Server", "127.0.0.1"}, {"Port", QString::number(silent.port())}, {"TimeoutSeconds", "60"}});
    Window w(folder, MsgAnswer::Yes);
    w.field("txtSupport(0)")->setText("Erika");
    w.field("txtSupport(1)")->setText("");
    w.field("txtSupport(2)")->setText("Hallo");
    w.click("cmdSenden(1)");
    EXPECT_FALSE(w.widget("frmSupport")->isEnabled());
    w.window.close();
    EXPECT_EQ(numbers(w.sink), QList<int>({31})) << "no report of a sending the user ended";
    EXPECT_TRUE(w.widget("frmSupport")->isEnabled());
}

// Validation in the window: a valid invoice has a green mark and no bar; an invalid one a
// red mark and a red bar that count the rules it breaks, with rows for its findings beside
// the sums' (a rule both report listed once); a double click on a row shows its line in
// the XML, for a PDF the line of the XML it carries.
TEST(Window, ValidationIsShownAndLeadsToTheLine)
{
    ProgramFolder folder;
    Window w(folder);
    w.window.show();
    QTreeWidget *findings = w.window.findChild<QTreeWidget *>("lvPruefung");
    const QLabel *mark = w.window.findChild<QLabel *>("validMark");
    const QLabel *bar = w.window.findChild<QLabel *>("lblUngueltig");
    const auto *xml = w.window.findChild<QPlainTextEdit *>("txtXML");
    const auto rowOf = [&](const QString &rule) -> QTreeWidgetItem * {
        for (int r = 0; r < findings->topLevelItemCount(); ++r)
            if (findings->topLevelItem(r)->text(1) == rule)
                return findings->topLevelItem(r);
        return nullptr;
    };

    w.convert(sample("Rechnung-2026-0815.xml"), 1);
    EXPECT_EQ(mark->text(), "✓");
    EXPECT_TRUE(mark->styleSheet().contains("0,128,0"));
    EXPECT_EQ(mark->toolTip(), "Die Rechnung ist eine gültige E-Rechnung.");
    EXPECT_FALSE(bar->isVisible());
    ASSERT_EQ(findings->topLevelItemCount(), 2);
    EXPECT_EQ(findings->topLevelItem(1)->text(0), "Die Rechnung ist eine gültige E-Rechnung.");

    const QString creditNote = corpus("ubl-creditnote/ubl-creditnote.xml");
    XmlDocument doc;
    ASSERT_TRUE(doc.load(creditNote));
    const int broken = BrokenRules(ValidateInvoice(doc, ValidationFolder(PROGRAM_FOLDER)));
    ASSERT_GT(broken, 1);
    // The invoice is on show before its validation ends; until then the mark and the page say so.
    w.choose(creditNote, 2);
    w.click("btnXRechnung");
    EXPECT_EQ(mark->text(), "…");
    EXPECT_EQ(mark->toolTip(), "Die Rechnung wird als E-Rechnung geprüft …");
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(findings->topLevelItem(0)->text(0), "Die Rechnung wird als E-Rechnung geprüft …");
    EXPECT_FALSE(w.text(controlKey(Rd::InvoiceNumber)).isEmpty());
    w.waitForValidation();
    const QString verdict =
        QString(
            "Die Rechnung ist keine gültige E-Rechnung: sie verletzt %1 Regel(n) (siehe Seite „Prüfung“).")
            .arg(broken);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->text(), verdict);
    EXPECT_EQ(mark->text(), "✗");
    EXPECT_TRUE(mark->styleSheet().contains("255,0,0"));
    EXPECT_EQ(mark->toolTip(), verdict);
    int checked = 0;
    for (int r = 0; r < findings->topLevelItemCount(); ++r)
        checked += findings->topLevelItem(r)->text(1) == "BR-CO-15";
    EXPECT_EQ(checked, 1) << "the sums check's finding, not the validation's again";
    QTreeWidgetItem *attachment = rowOf("UBL-DT-07");
    ASSERT_TRUE(attachment);
    EXPECT_EQ(attachment->text(0), "Fehler");
    EXPECT_EQ(attachment->text(2), "Zeile 35");
    EXPECT_TRUE(attachment->toolTip(5).endsWith("/cac:Attachment/cbc:EmbeddedDocumentBinaryObject"));
    emit findings->itemDoubleClicked(attachment, 0);
    EXPECT_TRUE(xml->isVisible());
    EXPECT_EQ(xml->textCursor().blockNumber(), 34);
    EXPECT_TRUE(xml->textCursor().selectedText().contains("EmbeddedDocumentBinaryObject"));

    // A MINIMUM profile in a PDF: the note on the profile comes first; its line is one of the
    // XML the PDF carries.
    w.convert(corpus("pdf/zugferd_2p0_MINIMUM.pdf"), 4);
    ASSERT_TRUE(rowOf("PROFILE") && rowOf("BR-16"));
    EXPECT_EQ(findings->indexOfTopLevelItem(rowOf("PROFILE")), 1);
    emit findings->itemDoubleClicked(rowOf("PROFILE"), 0);
    EXPECT_TRUE(xml->toPlainText().startsWith("<?xml"));
    EXPECT_TRUE(xml->textCursor().selectedText().contains("CrossIndustryInvoice"));
}

// The check page says what each finding means in the window's language, with the amounts
// in the invoice's pattern and the flag's colour; the status bar's mark and the red bar
// above the invoice follow the invoice on show and the language, and so do the names of
// VAT categories and payment means; the invoice read can be written as a PDF.
TEST(Window, CheckPageMarkAndDocumentFollowTheInvoice)
{
    ProgramFolder folder;
    Window w(folder);
    w.window.show();
    QStringList suggested;
    const QString pdf = folder.dir.filePath("out.pdf");
    w.window.choosePdfPath = [&](const QString &path) {
        suggested << path;
        return pdf;
    };
    const QTreeWidget *findings = w.list("lvPruefung");
    const QLabel *mark = w.window.findChild<QLabel *>("sumsMark");
    const QLabel *alarm = w.window.findChild<QLabel *>("lblSummenFehler");
    // Each row of the check of sums as a user reads it, and the colour of its flag; the
    // validation's rows are looked at below.
    const auto rows = [&] {
        QStringList out;
        for (int r = 0; r < findings->topLevelItemCount(); ++r) {
            if (findings->topLevelItem(r)->data(0, Qt::UserRole).toInt() > 0 ||
                findings->topLevelItem(r)->text(0).contains("E-Rechnung") ||
                findings->topLevelItem(r)->text(0).contains("e-invoice"))
                continue;
            QStringList cells;
            for (int c = 0; c < findings->columnCount(); ++c)
                cells << findings->topLevelItem(r)->text(c);
            while (!cells.isEmpty() && cells.last().isEmpty())
                cells.removeLast();
            out << cells.join('|') + ' ' + findings->topLevelItem(r)->foreground(0).color().name();
        }
        return out;
    };
    const auto names = [&] {
        return w.list("lvUst")->topLevelItem(0)->text(VatColumn::CategoryName) + '|' +
               w.list("lvZahlung")->topLevelItem(0)->text(PaymentColumn::Name);
    };
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(mark->text().isEmpty());
    EXPECT_FALSE(alarm->isVisible());

    w.convert(corpus("ubl-creditnote/ubl-creditnote.xml"), 2);
    EXPECT_EQ(rows(),
              QStringList({"Fehler|BR-CO-15||1728,70|1729,00|Nettobetrag plus Umsatzsteuer ergibt 1728,70, "
                           "als Bruttobetrag steht in der Rechnung aber 1729,00. #ff0000",
                           "Fehler|BR-CO-16||729,30|729,00|Bruttobetrag minus schon Bezahltes plus "
                           "Rundung ergibt 729,30, als Zahlbetrag steht in der Rechnung aber 729,00. "
                           "#ff0000"}));
    EXPECT_TRUE(mark->styleSheet().contains("255,0,0"));
    EXPECT_EQ(mark->toolTip(), "2 Summe(n) der Rechnung stimmen nicht (siehe Seite „Prüfung“).");
    EXPECT_TRUE(alarm->isVisible());
    EXPECT_EQ(alarm->text(), "Die Summen stimmen nicht");

    // An amount written the German way is no number: shown as written, and fatal beside a warning.
    QTemporaryDir dir;
    w.convert(writeFile(dir, "mixed.xml",
                        readFile(corpus("cii/CII_example1.xml"))
                            .replace("<ram:DuePayableAmount>250.33", "<ram:DuePayableAmount>1.234,50")),
              1);
    EXPECT_EQ(rows(),
              QStringList({"Fehler|NUMBER|DuePayableAmount||1.234,50|„1.234,50“ in DuePayableAmount ist "
                           "kein Betrag; die Summen, in die er eingeht, können nicht geprüft werden. "
                           "#ff0000",
                           "Warnung|LINE-NET|20|109,98|-109,98|In Position 20 ergibt Menge mal Preis mit "
                           "den Abzügen und Zuschlägen der Position 109,98, als Nettobetrag steht dort "
                           "aber -109,98. Bitte prüfen Sie die Position. #c86400"}));
    EXPECT_EQ(mark->toolTip(),
              "1 Summe(n) der Rechnung stimmen nicht (siehe Seite „Prüfung“). 1 Hinweis(e) zu "
              "den Beträgen der Rechnung (siehe Seite „Prüfung“).");
    EXPECT_TRUE(alarm->isVisible());
    // A unit code that is no unit on every line is one rule broken, not one per line.
    w.convert(writeFile(dir, "units.xml",
                        readFile(sample("Rechnung-2026-0815.xml"))
                            .replace("unitCode=\"H87\"", "unitCode=\"ZZZ\"")
                            .replace("unitCode=\"PK\"", "unitCode=\"ZZZ\"")),
              1);
    EXPECT_TRUE(w.window.findChild<QLabel *>("lblUngueltig")->text().contains("verletzt 1 Regel(n)"));
    w.window.findChild<QTabWidget *>("sstabPos")->setCurrentIndex(4);
    QDir().mkpath(SCREENSHOT_DIR);
    EXPECT_TRUE(w.window.grab().save(SCREENSHOT_DIR "/check.png"));

    // A warning alone: an orange mark and no red bar.
    w.convert(corpus("cii/CII_example1.xml"), 1);
    EXPECT_EQ(rows().size(), 1);
    EXPECT_TRUE(mark->styleSheet().contains("200,100,0"));
    EXPECT_EQ(mark->toolTip(), "1 Hinweis(e) zu den Beträgen der Rechnung (siehe Seite „Prüfung“).");
    EXPECT_FALSE(alarm->isVisible());
    EXPECT_EQ(names(), "Normalsatz|Überweisung");

    // Another language: the page and the mark at once, the names of codes with the next import.
    w.state.LanguageCode = "EN";
    w.window.translate();
    EXPECT_EQ(rows(),
              QStringList({"Warning|LINE-NET|20|109,98|-109,98|On line 20, quantity times price with the "
                           "line's allowances and charges comes to 109,98, but the line states a net "
                           "amount of -109,98. Please check the line. #c86400"}));
    EXPECT_EQ(mark->toolTip(), "1 note(s) on the amounts of the invoice (see the \"Check\" page).");
    w.convert(corpus("cii/CII_example1.xml"), 1);
    EXPECT_EQ(names(), "Standard rate|Credit transfer");
    w.convert(corpus("ubl-creditnote/ubl-creditnote.xml"), 2);
    EXPECT_EQ(rows().value(0),
              "Error|BR-CO-15||1728,70|1729,00|The net total plus VAT comes to 1728,70, but the "
              "invoice states a gross total of 1729,00. #ff0000");
    EXPECT_EQ(mark->toolTip(), "2 sum(s) of the invoice do not agree (see the \"Check\" page).");
    EXPECT_EQ(alarm->text(), "The sums do not agree");

    // The next invoice takes the red bar away.
    w.convert(sample("Rechnung-2026-0815.xml"), 1);
    EXPECT_EQ(rows(), QStringList({"All sums of the invoice agree. #008000"}));
    EXPECT_TRUE(mark->styleSheet().contains("0,128,0"));
    EXPECT_EQ(mark->toolTip(), "All sums of the invoice agree.");
    EXPECT_FALSE(alarm->isVisible());
    ASSERT_TRUE(w.command("btnPdf")->isEnabled());
    w.command("btnPdf")->trigger();
    ASSERT_EQ(suggested.size(), 1);
    EXPECT_TRUE(suggested[0].endsWith("/RE-2026-0815.pdf")) << "named by the invoice number";
    DisplayModel hostile; // an invoice number is no path
    for (const char *number : {"../x/y:z", "/etc/passwd"}) {
        hostile[Rd::InvoiceNumber].setText(number);
        const QFileInfo name(SuggestedPdfPath(hostile));
        EXPECT_EQ(QDir::cleanPath(name.absolutePath()), DocumentsFolder()) << number;
        EXPECT_FALSE(name.fileName().contains(':')) << number;
    }
    EXPECT_TRUE(readFile(pdf).startsWith("%PDF-"));
    // A pipe chosen as the PDF: the failure box says why.
    const QString pipe = folder.dir.filePath("pipe.pdf");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    w.window.choosePdfPath = [&](const QString &) {
        return pipe;
    };
    w.sink.clear();
    w.command("btnPdf")->trigger();
    ASSERT_EQ(numbers(w.sink), QList<int>({66}));
    EXPECT_TRUE(w.sink.messages()[0].text.contains(WriteRefusalText(w.state, WriteRefusal::NamedPipe)));
    // A file that is no invoice leaves neither findings nor a mark.
    w.convert(writeFile(dir, "x.xml", "<a/>"), 1);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(mark->text().isEmpty());
    EXPECT_FALSE(w.command("btnPdf")->isEnabled());
}

// What a new user ran into: the XML of the previous invoice, an empty path read as "no
// valid XML", no way out of a panel with Escape, Qt's buttons in English in a German
// window, documents that open with nothing and say nothing, a window taller than the screen.
TEST(Window, RoughEdgesANewUserFound)
{
    ProgramFolder folder;
    Window w(folder);
    w.window.show();
    w.convert(sample("Rechnung-2026-0815.xml"), 1);
    w.click("btnCodeAnzeigen");
    const auto *xml = w.window.findChild<QPlainTextEdit *>("txtXML");
    EXPECT_TRUE(xml->toPlainText().contains("RE-2026-0815"));
    w.convert(corpus("cii/CII_example7.xml"), 1);
    EXPECT_TRUE(xml->toPlainText().isEmpty()) << "the XML goes with its invoice";

    w.sink.clear();
    w.convert("", 1);
    ASSERT_EQ(w.sink.messages().size(), 1u);
    EXPECT_NE(w.sink.messages()[0].number, 5);
    EXPECT_EQ(w.field("txtFile(0)")->lineEdit()->palette().color(QPalette::Base), QColor(255, 255, 132));

    // All invoices and all files, after the four kinds: the content chooses.
    w.sink.clear();
    w.convert(corpus("ubl/guide-example2.xml"), 5);
    EXPECT_TRUE(w.sink.messages().empty());
    EXPECT_FALSE(w.text(controlKey(Rd::InvoiceNumber)).isEmpty());

    w.command("btnSetting")->trigger();
    QApplication::setActiveWindow(&w.window);
    QTest::keyClick(w.widget("frmSetting"), Qt::Key_Escape);
    EXPECT_FALSE(w.widget("frmSetting")->isVisible());
    EXPECT_TRUE(w.widget("frmMenue")->isEnabled());

    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Ja");

    w.window.openUrl = [](const QUrl &) {
        return false;
    };
    w.sink.clear();
    w.window.OpenWithAssociatedProgram(folder.dir.filePath("Hilfe.pdf"));
    ASSERT_EQ(w.sink.messages().size(), 1u);
    EXPECT_TRUE(w.sink.messages()[0].text.contains("Hilfe.pdf"));

    const QRect screen = w.window.screen()->availableGeometry();
    EXPECT_LE(w.window.frameGeometry().height(), screen.height());
    EXPECT_LE(w.window.width(), screen.width());
}

// The payment page draws the code of the chosen means; a means without one shows none.
TEST(Window, PaymentPageDrawsTheCodeOfTheChosenMeans)
{
    ProgramFolder folder;
    Window w(folder);
    const auto *tabs = w.window.findChild<QTabWidget *>("sstabPos");
    EXPECT_EQ(tabs->tabText(5), "Zahlung");
    QTreeWidget *means = w.list("lvZahlung");
    const auto *code = w.window.findChild<QLabel *>("imgQrCode");
    EXPECT_TRUE(means->isColumnHidden(PaymentColumn::Qr)) << "the code's text is drawn, not listed";
    w.convert(corpus("ubl/ubl-tc434-example1.xml"), 2);
    ASSERT_EQ(means->topLevelItemCount(), 2);
    const QString first = means->topLevelItem(0)->text(PaymentColumn::Qr);
    const QString second = means->topLevelItem(1)->text(PaymentColumn::Qr);
    ASSERT_NE(first, second);
    EXPECT_EQ(scanQrCode(code->pixmap().toImage()), first.toUtf8());
    means->setCurrentItem(means->topLevelItem(1));
    EXPECT_EQ(scanQrCode(code->pixmap().toImage()), second.toUtf8());
    EXPECT_LE(code->pixmap().width(), code->width()) << "never cut by its label";
    // The copy buttons copy what a banking program accepts from the chosen means, and only
    // what it has; a larger amount loses its thousands separator.
    QByteArray changed = readFile(corpus("ubl/ubl-tc434-example1.xml"));
    changed.replace("<cbc:ID>NL57 RABO 0107307510</cbc:ID>",
                    "<cbc:ID>NL57 RABO 0107307510</cbc:ID><cac:FinancialInstitutionBranch><cbc:ID>RABONL2U"
                    "</cbc:ID></cac:FinancialInstitutionBranch>");
    changed.replace(">250.33</cbc:PayableAmount>", ">12345.60</cbc:PayableAmount>");
    QTemporaryDir dir;
    w.convert(writeFile(dir, "bic.xml", changed), 5);
    w.window.resize(1366, 768);
    w.window.show();
    w.window.findChild<QTabWidget *>("sstabPos")->setCurrentIndex(5);
    QCoreApplication::processEvents();
    const QRect amount = means->visualRect(means->model()->index(0, PaymentColumn::Amount));
    EXPECT_LE(amount.right(), means->viewport()->width()) << "the amount in sight at 1366x768";
    const auto copied = [&](const char *button) {
        QGuiApplication::clipboard()->clear();
        if (w.window.findChild<QPushButton *>(button)->isEnabled())
            w.click(button);
        return QGuiApplication::clipboard()->text();
    };
    const char *const buttons[] = {"btnKopierenIban", "btnKopierenBic", "btnKopierenZweck",
                                   "btnKopierenBetrag"};
    QStringList fromFirst, fromSecond;
    for (const char *button : buttons)
        fromFirst << copied(button);
    means->setCurrentItem(means->topLevelItem(1));
    for (const char *button : buttons)
        fromSecond << copied(button);
    EXPECT_EQ(fromFirst,
              QStringList({"NL57RABO0107307510", "RABONL2U", "Deb. 10202 / Fact. 12115118", "12345,60"}));
    EXPECT_EQ(fromSecond, QStringList({"NL03INGB0004489902", "", "", "12345,60"}));
    // A payment to an account (42) has no code; a later invoice without means clears the list.
    w.convert(corpus("cii/01.20a-INVOICE_uncefact.xml"), 1);
    ASSERT_EQ(means->topLevelItemCount(), 1);
    EXPECT_TRUE(code->pixmap().isNull());
    w.convert(corpus("cii/EN16931_Einfach.cii.xml"), 1);
    EXPECT_EQ(means->topLevelItemCount(), 0);
    EXPECT_TRUE(code->pixmap().isNull());
    // A cash discount shows under the means with its amount and last day, and only then.
    const QLabel *discount = w.window.findChild<QLabel *>("lblSkonto");
    EXPECT_TRUE(discount->isHidden());
    w.convert(corpus("pdf/zugferd_2p1_EXTENDED_Warenrechnung.pdf"), 4);
    EXPECT_FALSE(discount->isHidden());
    EXPECT_EQ(discount->text(), "Skonto: 14 Tage, 2,00 % von 518,99 = 10,38, zahlbar bis 20.08.2018");
}

// The archive window lists the archived invoices newest first with earlier versions under
// them, filters as the user types, opens a stored original as if it came from disk (and
// says so in the title until another file is chosen), and saves an original elsewhere.
TEST(Window, ArchiveWindowFindsOpensAndSavesOriginals)
{
    ProgramFolder folder;
    const QString archive = folder.dir.filePath("DB/Invoices.mdb");
    ASSERT_TRUE(InitArchive(*ArchiveLocation::parse(archive, {}), {}));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
        db.setDatabaseName(archive);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(FillArchive(db));
    }
    QSqlDatabase::removeDatabase("fill");
    Window w(folder);
    w.command("btnArchiv")->trigger();
    auto *dialog = w.window.findChild<ArchiveDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    auto *tree = dialog->findChild<QTreeWidget *>("lvArchiv");
    const auto sellers = [tree] {
        QStringList shown;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            shown << tree->topLevelItem(i)->text(1) + QString(tree->topLevelItem(i)->childCount(), '+');
        return shown;
    };
    EXPECT_EQ(sellers(), QStringList({"Kleine KG", "Schmidt AG", "Müller GmbH+"}));
    EXPECT_EQ(tree->topLevelItem(2)->child(0)->text(0), "01.11.2026");

    const std::vector<std::pair<const char *, QString>> typed{
        {"txtArchivVerkaeufer", "LLER gm"}, {"txtArchivNummer", "r-1"},      {"txtArchivVon", "01.12.2026"},
        {"txtArchivBis", "2026-11-30"},     {"txtArchivBetragVon", "1.000"}, {"txtArchivBetragBis", "0,99"}};
    const QList<QStringList> expected{{"Müller GmbH+"}, {"Schmidt AG", "Müller GmbH+"},
                                      {"Schmidt AG"},   {"Kleine KG", "Müller GmbH+"},
                                      {"Schmidt AG"},   {"Kleine KG"}};
    for (std::size_t i = 0; i < typed.size(); ++i) {
        auto *edit = dialog->findChild<QLineEdit *>(typed[i].first);
        QTest::keyClicks(edit, typed[i].second);
        EXPECT_EQ(sellers(), expected[int(i)]) << typed[i].first;
        edit->clear();
    }
    auto *state = dialog->findChild<QComboBox *>("cboArchivStatus");
    state->setCurrentIndex(state->findText("mit Befunden"));
    EXPECT_EQ(sellers(), QStringList({"Schmidt AG"}));
    state->setCurrentIndex(0);

    tree->setCurrentItem(tree->topLevelItem(2));
    dialog->findChild<QPushButton *>("btnArchivOeffnen")->click();
    const QString opened = w.text("txtFile(0)");
    EXPECT_EQ(opened, UserTempFolder() + "/Archiv/2-mueller-r100-b.xml");
    EXPECT_EQ(readFile(opened), ArchivedDocuments()[1].bytes);
    EXPECT_EQ(w.text(controlKey(Rd::InvoiceNumber)), "RE-2026-0815");
    EXPECT_TRUE(w.window.windowTitle().endsWith("mueller-r100-b.xml (aus dem Archiv)"))
        << w.window.windowTitle().toStdString();
    w.field("txtFile(0)")->setText(sample("Rechnung-2026-0815.xml"));
    EXPECT_EQ(w.window.windowTitle(), w.state.AppTitle) << "another file is not from the archive";

    // The replaced version's original, bytes no text file holds; a folder is left as it is.
    QTemporaryDir out;
    QString target = out.filePath("saved.xml");
    dialog->chooseSavePath = [&](const QString &suggested) {
        EXPECT_EQ(suggested, "mueller-r100-a.xml");
        return target;
    };
    tree->setCurrentItem(tree->topLevelItem(2)->child(0));
    dialog->findChild<QPushButton *>("btnArchivSpeichern")->click();
    EXPECT_EQ(readFile(target), ArchivedDocuments()[0].bytes);
    target = out.path();
    dialog->findChild<QPushButton *>("btnArchivSpeichern")->click();
    ASSERT_FALSE(w.sink.messages().empty());
    EXPECT_TRUE(w.sink.messages().back().text.startsWith("Fehler: " + out.path()));
    EXPECT_TRUE(QFileInfo(out.path()).isDir());

    // The window speaks the user's language like the others.
    Window english(folder, MsgAnswer::No, "EN");
    english.command("btnArchiv")->trigger();
    dialog = english.window.findChild<ArchiveDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(english.command("btnArchiv")->text(), "Archive");
    EXPECT_EQ(dialog->windowTitle(), "Archive");
    EXPECT_EQ(dialog->findChild<QPushButton *>("btnArchivOeffnen")->text(), "Open");
    EXPECT_EQ(dialog->findChild<QLabel *>("lblArchivVerkaeufer")->text(), "Seller");
    EXPECT_EQ(dialog->findChild<QTreeWidget *>("lvArchiv")->headerItem()->text(1), "Seller");
}
