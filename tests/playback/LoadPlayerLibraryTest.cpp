// Binding the player table: the real library, a missing one, and the safe stand-ins.
#include "LoadPlayerLibrary.h"
#include "MessageBox.h"
#include "Mp3Gen.h"
#include "TempDir.h"

#include <QStringList>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

class LoadPlayerLibraryTest : public testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxFunction([this](QWidget* owner, const QString& text, MessageBoxKind) {
            messages << text;
            ownerless = ownerless && owner == nullptr;
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxFunction({}); }

    QStringList messages;
    bool ownerless = true;
};

// Every entry in table order, as untyped addresses.
std::vector<void*> Entries(const PlayerApi& t) {
    std::vector<void*> entries;
#define TESMIRA_TEST_ENTRY(name) entries.push_back(reinterpret_cast<void*>(t.name));
    PLOVEX1_EXPORTS(TESMIRA_TEST_ENTRY)
#undef TESMIRA_TEST_ENTRY
    return entries;
}

} // namespace

TEST_F(LoadPlayerLibraryTest, MissingLibraryIsReportedOnceAndLeavesASafeTable) {
    TempDir dir;
    PlayerApi api;
    EXPECT_FALSE(LoadPlayerLibrary(dir.File("Plovex1.dll"), api));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.front(), QString::fromUtf8("Plovex.dll打开失败!"));
    EXPECT_TRUE(ownerless);

    for (void* entry : Entries(api)) {
        EXPECT_NE(entry, nullptr);
    }
    // The dialog's start-up calls and a source choice run through without a player.
    api.SetShowHWnd(nullptr);
    api.SetVideoShowMod(1);
    api.EnableHWDecode(0);
    api.EnableFade(0);
    api.SetVolume(50);
    api.SetFadeIn(0, 0);
    api.SetFadeOut(0, 0);
    EXPECT_EQ(api.Open("/tmp/whatever.mp3"), 0);
    EXPECT_EQ(api.IsOpend(), 0);
    EXPECT_EQ(api.GetLen(), 0);
    EXPECT_EQ(api.GetPos(), 0);
    api.SetPos(0);
    api.Play();
    api.Pause();
    api.Stop();
    api.GetState();
    api.SetRate(1.05);
    api.SetPitch(0.95);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(LoadPlayerLibraryTest, RealLibraryFillsEveryEntryWithItsExport) {
    PlayerApi api;
    ASSERT_TRUE(LoadPlayerLibrary(PLOVEX1_LIBRARY_PATH, api));
    EXPECT_TRUE(messages.isEmpty());

    // Released, so it is still loaded: look up what the table should hold.
    void* handle = dlopen(PLOVEX1_LIBRARY_PATH, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    const char* names[] = {
#define TESMIRA_TEST_NAME(name) #name,
        PLOVEX1_EXPORTS(TESMIRA_TEST_NAME)
#undef TESMIRA_TEST_NAME
    };
    const std::vector<void*> entries = Entries(api);
    ASSERT_EQ(entries.size(), std::size(names));
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_NE(entries[i], nullptr) << names[i];
        EXPECT_EQ(entries[i], dlsym(handle, names[i])) << names[i];
    }
    dlclose(handle); // drops only the reference taken above

    TempDir dir;
    mp3gen::ToneSpec params;
    params.seconds = 1.0;
    const std::string path = dir.File("tone.mp3");
    ASSERT_TRUE(mp3gen::WriteFileBytes(path, mp3gen::MakeMp3(params)));
    EXPECT_EQ(api.IsOpend(), 0);
    ASSERT_EQ(api.Open(path.c_str()), 1);
    EXPECT_EQ(api.IsOpend(), 1);
    EXPECT_GT(api.GetLen(), 900);
    api.Close();
}

TEST(PlayerApiTest, StandInsOnlyFillEmptyEntries) {
    PlayerApi api;
    api.GetLen = [] { return 1234; };
    FillMissingPlayerEntries(api);
    EXPECT_EQ(api.GetLen(), 1234);
    EXPECT_EQ(api.GetPos(), 0);
    EXPECT_DOUBLE_EQ(api.GetPitch(), 1.0);
}
