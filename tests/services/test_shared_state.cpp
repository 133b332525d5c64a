#include "TestSupport.h"

#include "localisation/TextsGateway.h"
#include "services/SettingsStore.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

// A message is empty while the texts database is closed and has a fallback text when the
// database lacks its number. (The language columns are checked by the command line's
// --lang tests.)
TEST(TextsDatabase, MessagesOfAClosedDatabaseOrAMissingNumber)
{
    SharedState state(PROGRAM_FOLDER);
    EXPECT_EQ(GetMeldung(state, 5), "") << "closed database: empty text";
    ASSERT_TRUE(state.OpenTextsDb()) << state.textsDbError().toStdString();
    EXPECT_FALSE(GetMeldung(state, 5).isEmpty());
    EXPECT_EQ(GetMeldung(state, 9999), "Not Entry in Database");
    // The reasons the core returns as codes: every row in every language, so that no
    // language shows an empty or missing text.
    for (const char *language : {"DE", "EN", "FR"}) {
        state.LanguageCode = language;
        for (int number = 130; number <= 159; ++number)
            EXPECT_FALSE(GetMeldung(state, number).isEmpty() ||
                         GetMeldung(state, number) == "Not Entry in Database")
                << language << " " << number;
    }
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
    EXPECT_EQ(GetMeldung(state, 5), "");
}

TEST(Settings, StoredValuesOfThisVersionAndABadFilterIndex)
{
    SharedState state(PROGRAM_FOLDER);
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
}
