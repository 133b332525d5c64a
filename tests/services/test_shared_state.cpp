#include "TestSupport.h"

#include "localisation/TextsGateway.h"
#include "services/SettingsStore.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

TEST(TextsDatabase, MessagesAndDocumentTypesComeInTheCurrentLanguage)
{
    SharedState state(PROGRAM_FOLDER);
    EXPECT_EQ(GetMeldung(state, 5), "") << "closed database: empty text";
    ASSERT_TRUE(state.OpenTextsDb()) << state.textsDbError().toStdString();
    EXPECT_TRUE(state.TextsDbPath.endsWith("/DB/Daten.mdb"));
    state.LanguageCode = "DE";
    const QString de = GetMeldung(state, 5);
    state.LanguageCode = "EN";
    EXPECT_NE(GetMeldung(state, 5), de) << "the language chooses the column";
    EXPECT_FALSE(de.isEmpty());
    EXPECT_EQ(GetMeldung(state, 9999), "Not Entry in Database");
    const CodeNames types = TextsGateway(state).documentTypes();
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), std::make_pair(QString("71"), QString("Request for payment")));
    state.CloseTextsDb();
    EXPECT_FALSE(state.TextsDbOpen);
}

TEST(TextsDatabase, AMissingOrBrokenFileFailsWithAReason)
{
    QTemporaryDir dir;
    SharedState state(dir.path());
    EXPECT_FALSE(state.OpenTextsDb());
    EXPECT_FALSE(state.textsDbError().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("DB/Daten.mdb"))) << "opening must not create an empty database";
    state.TextsDbPath = writeFile(dir, "junk.mdb", QByteArray(4096, 'x'));
    EXPECT_FALSE(state.OpenTextsDb());
    EXPECT_FALSE(state.TextsDbOpen);
    EXPECT_EQ(GetMeldung(state, 5), "");
}

TEST(Settings, StoredValuesOfThisVersionAndABadFilterIndex)
{
    SharedState state(PROGRAM_FOLDER);
    EXPECT_EQ(state.AppTitle, "Tarvo Invorator " + state.AppVersion);
    const QString app = state.AppTitle + " settings-test";
    state.AppTitle = app;
    SettingsStore::Write(app, "Settings", "Language", "EN");
    SettingsStore::Write(app, "Settings", "FilterIndex", "4");
    state.readSettings();
    EXPECT_EQ(state.LanguageCode, "EN");
    EXPECT_EQ(state.FilterIndex, 4);
    for (const char *bad : {"300", "-1", "x"}) {
        SettingsStore::Write(app, "Settings", "FilterIndex", bad);
        state.readSettings();
        EXPECT_EQ(state.FilterIndex, 1) << bad;
    }
    EXPECT_EQ(SettingsStore::Read(app, "Settings", "Missing", "fallback"), "fallback");
}
