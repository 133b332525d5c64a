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
    for (int n : {2, 3, 4, 5, 9, 31, 36, 37, 38, 39, 40, 41, 42, 43, 45, 46, 47, 49, 50, 51}) {
        state.LanguageCode = "DE";
        const QString de = GetMeldung(state, n);
        state.LanguageCode = "EN";
        const QString en = GetMeldung(state, n);
        EXPECT_FALSE(de.isEmpty()) << n;
        EXPECT_FALSE(en.isEmpty()) << n;
        EXPECT_NE(de, en) << n;
    }
    EXPECT_EQ(GetMeldung(state, 9999), "Not Entry in Database");
    state.LanguageCode = "DE";
    const CodeNames types = TextsGateway(state).documentTypes();
    EXPECT_GE(types.size(), 50u);
    EXPECT_EQ(types.front().first, "71");
    for (const char *code : {"326", "380", "381", "384", "389", "751", "875", "876", "877"})
        EXPECT_TRUE(std::any_of(types.begin(), types.end(), [&](const auto &e) { return e.first == code; }))
            << code;
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
